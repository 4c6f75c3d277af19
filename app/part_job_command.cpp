#include "part_job_command.h"

#include <filesystem>
#include <iostream>

#include "crt_random.h"
#include "drawing_file.h"
#include "exit_status.h"
#include "part_job.h"
#include "part_job_run.h"
#include "part_job_summary.h"

namespace gantrel::app {

namespace {

// Reads the sheet and the part requests; false (with a message) on a bad command line.
bool readRequests(const PartJobOptions& options, SheetSpec& sheet,
                  std::vector<PartRequest>& parts) {
    std::string error;
    if (!parseSheetSpec(options.sheet, sheet, error)) {
        std::cerr << "gantrel: --sheet-size: " << error << '\n';
        return false;
    }
    if (options.parts.empty()) {
        std::cerr << "gantrel: --sheet-size needs at least one part drawing PART.dxf[=COUNT]\n";
        return false;
    }
    for (const std::string& text : options.parts) {
        PartRequest request;
        if (!parsePartRequest(text, request, error)) {
            std::cerr << "gantrel: " << error << '\n';
            return false;
        }
        parts.push_back(request);
    }
    return true;
}

// Whether the job drawing would be written over one of the drawings it is built from.
bool overwritesAnInput(const std::string& output, const SheetSpec& sheet,
                       const std::vector<PartRequest>& parts) {
    std::error_code ec;
    auto same = [&](const std::string& input) {
        return !input.empty() && std::filesystem::equivalent(output, input, ec);
    };
    if (same(sheet.file)) {
        std::cerr << "gantrel: the job drawing " << output
                  << " would overwrite the sheet drawing\n";
        return true;
    }
    for (const PartRequest& part : parts) {
        if (same(part.path)) {
            std::cerr << "gantrel: the job drawing " << output
                      << " would overwrite the part drawing " << part.path << '\n';
            return true;
        }
    }
    return false;
}

} // namespace

int runPartJob(const PartJobOptions& options) {
    SheetSpec sheetSpec;
    std::vector<PartRequest> requests;
    if (!readRequests(options, sheetSpec, requests))
        return kExitBadCommandLine;
    const std::string output = options.output.empty() ? kDefaultJobFile : options.output;
    if (overwritesAnInput(output, sheetSpec, requests))
        return kExitBadCommandLine;
    std::string error;
    std::optional<PartJob> job =
        buildPartJob(sheetSpec, requests,
                     options.units == "in" ? JobUnits::Inches : JobUnits::Millimetres, error);
    if (!job) {
        std::cerr << "gantrel: " << error << "; nothing was written\n";
        return kExitUnreadableInput;
    }
    int pieces = 0;
    for (const JobPart& part : job->parts)
        pieces += part.count;
    const int maxSheets = options.sheets.value_or(pieces);

    HostSetup setup;
    if (!setup.loadRegistry(options.host))
        return kExitUnreadableInput;

    int status = kExitDone;
    std::string json;
    {
        std::ostream& shown = options.json ? std::cerr : std::cout;
        editor::HostSession session;
        session.transcript().setSink([&](std::string_view text) { shown << text; });
        session.adoptDrawing(std::move(job->db), output);
        setup.loadModule(session);
        // After the module's own seeding at load, so that the given seed is the one used.
        if (options.seed)
            win::srand(*options.seed);

        const JobOutcome outcome = nestPartJob(session, *job, options.settings, maxSheets);
        shown.flush();
        if (!outcome.failure.empty()) {
            std::cerr << "gantrel: " << outcome.failure << "; nothing was written\n";
            status = kExitFailed;
        } else if (!outcome.unreadParts.empty()) {
            for (const std::string& name : outcome.unreadParts)
                std::cerr << "gantrel: " << name
                          << ": the nesting command found no closed outline in it\n";
            std::cerr << "gantrel: nothing was written\n";
            status = kExitUnreadableInput;
        } else {
            shown << jobReport(*job, outcome);
            shown.flush();
            // A faulty layout is still saved and drawn, so that it can be looked at.
            for (std::size_t s = 0; s < outcome.sheets.size(); ++s)
                for (const std::string& fault : outcome.sheets[s].summary.violations)
                    std::cerr << "gantrel: layout fault on sheet " << s + 1 << ": " << fault
                              << '\n';
            for (const SheetResult& sheet : outcome.sheets)
                if (!sheet.summary.violations.empty())
                    status = kExitFailed;
            if (!saveDrawingAndPictures(session, output, {options.svg, options.png}))
                status = kExitFailed;
            json = jobJson(*job, outcome);
        }
        // The modules hear of the end in the transcript, which then ends its last line.
        session.modules().unloadAll(session.commands());
        if (!session.transcript().atLineStart())
            session.transcript().write(std::string_view("\n"));
    }
    if (options.json && !json.empty())
        std::cout << json << std::endl;
    return status;
}

} // namespace gantrel::app
