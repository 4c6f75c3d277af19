#include "nest_command.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <string_view>

#include "crt_random.h"
#include "drawing_file.h"
#include "exit_status.h"
#include "input.h"
#include "nest_summary.h"
#include "part_job_command.h"
#include "render.h"
#include "text_codec.h"

namespace fs = std::filesystem;

namespace gantrel::app {

namespace {

// How much of the transcript is kept for reading the host's reasons back.
constexpr std::size_t kTranscriptTail = 64 * 1024;
// What the module says of a part or sheet its integer arithmetic cannot take.
constexpr std::string_view kOutOfRange = "beyond the range of the nesting arithmetic";
constexpr std::string_view kTooLarge = "too large for the range of the nesting arithmetic";

// The drawing nested when none is given: share/gantrel/examples/ beside the program's folder.
fs::path bundledExample() {
    return (fs::path(programFolder()) / ".." / "share" / "gantrel" / "examples" /
            "sheet-and-parts.dxf")
        .lexically_normal();
}

bool isHandle(const std::string& text) {
    return !text.empty() && text.size() <= 16 &&
           text.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos;
}

std::string upper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

const CLI::Validator kHandle(
    [](std::string& value) -> std::string {
        return isHandle(value) ? std::string()
                               : "\"" + value + "\" is not a handle (1 to 16 hexadecimal digits)";
    },
    "HANDLE");

CLI::Validator pictureOf(gantrel::render::PictureFormat format, const char* extension) {
    return CLI::Validator(
        [format, extension](std::string& value) -> std::string {
            if (gantrel::render::pictureFormatOf(value) == format)
                return {};
            return std::string("the file name must end in ") + extension;
        },
        "FILE");
}

// The lines of the script until one of them is refused or a command fails (none after it is
// fed); notes when a command asks for more than the script answers.
class NestInput : public editor::InputSource {
public:
    NestInput(editor::ScriptInput& script, std::size_t lines, const editor::HostSession& session)
        : m_script(script), m_lines(lines), m_session(session) {}

    std::optional<editor::InputLine> next(const std::string& prompt) override {
        if (m_session.refusedLines() > 0 || m_session.failedCommands() > 0)
            return std::nullopt;
        if (static_cast<std::size_t>(m_script.lineNumber()) == m_lines) {
            if (m_session.commandActive())
                m_unanswered = true;
            return std::nullopt;
        }
        return m_script.next(prompt);
    }
    bool unanswered() const { return m_unanswered; }

private:
    editor::ScriptInput& m_script;
    std::size_t m_lines;
    const editor::HostSession& m_session;
    bool m_unanswered = false;
};

// The reason the host gave in the transcript for refusing the line at origin ("nest:N").
std::string refusalReason(const std::string& transcript, const std::string& origin) {
    const std::string mark = origin + ": ";
    const std::size_t at = transcript.rfind(mark);
    if (at == std::string::npos)
        return {};
    const std::size_t from = at + mark.size();
    return transcript.substr(from, transcript.find('\n', from) - from);
}

} // namespace

NestCommand::NestCommand(CLI::App& program)
    : Subcommand(program, "nest", "Nest the parts of a drawing on its sheet and save the result") {
    m_command->add_option("DRAWING", m_drawing,
                          "The drawing file (DXF); else the bundled example drawing. With "
                          "--sheet-size: the part drawings, PART.dxf or PART.dxf=COUNT");
    m_command->add_option("PARTS", m_moreParts, "More part drawings (with --sheet-size)");
    CLI::Option* sheetSize = m_command->add_option(
        "--sheet-size", m_sheetSize,
        "Nest part drawings on sheets of W x H drawing units (WxH), or on the largest closed "
        "polyline of a DXF file");
    m_command
        ->add_option("--sheets", m_sheets,
                     "Sheets to use at most (default: as many as the pieces need)")
        ->check(CLI::Range(1, 100000))
        ->needs(sheetSize);
    m_command->add_option("--units", m_units, "Units of the job drawing (default mm)")
        ->check(CLI::IsMember({"mm", "in"}))
        ->needs(sheetSize);
    m_command->add_option("-o,--output", m_output,
                          "The nested drawing (default: the drawing's name with -nested.dxf, in "
                          "the current folder)");
    m_command->add_option("--svg", m_svg, "Also draw the result to this SVG picture")
        ->check(pictureOf(gantrel::render::PictureFormat::Svg, ".svg"));
    m_command->add_option("--png", m_png, "Also draw the result to this PNG picture")
        ->check(pictureOf(gantrel::render::PictureFormat::Png, ".png"));
    m_command
        ->add_option("--sheet", m_sheet,
                     "Handle of the sheet polyline (default: the closed polyline of largest area)")
        ->check(kHandle)
        ->excludes(sheetSize);
    m_command
        ->add_option("--parts", m_parts,
                     "Handles of the parts, separated by commas (default: every other entity "
                     "of model space)")
        ->delimiter(',')
        ->check(kHandle)
        ->excludes(sheetSize);
    m_command->add_option("--spacing", m_settings.spacing, "Gap between parts, drawing units")
        ->check(CLI::Range(0.0, 500.0));
    m_command->add_option("--population", m_settings.population, "Arrangements per generation")
        ->check(CLI::Range(1, 10000));
    m_command
        ->add_option("--rotation-step", m_settings.rotationStep,
                     "Allow turning parts by this step in degrees (0: parts keep their angle)")
        ->check(CLI::Range(0.0, 360.0));
    m_command->add_option("--mutation-rate", m_settings.mutationRate, "Mutation rate, percent")
        ->check(CLI::Range(30, 70));
    m_command
        ->add_option("--arc-precision", m_settings.arcPrecision,
                     "Divisions of arcs and curves in the parts' outlines")
        ->check(CLI::Range(0, 100));
    m_command->add_option("--max-time", m_settings.maxTime, "Maximum calculation time, minutes")
        ->check(CLI::Range(1, 3000));
    m_command
        ->add_option("--generations", m_settings.generations,
                     "Generations the genetic search breeds")
        ->check(CLI::Range(1, 100000));
    m_command->add_flag("--improve", m_settings.improve,
                        "After the generations, keep improving the best layout until the maximum "
                        "time (--max-time)");
    m_command->add_option("--seed", m_seed, "Seed of the random generator (default: tick count)");
    m_command->add_flag("--json", m_json,
                        "Print a JSON summary on stdout (the transcript then goes to stderr)");
    m_host.addTo(*m_command);
}

int NestCommand::run() const {
    if (!m_sheetSize.empty()) {
        PartJobOptions job{m_sheetSize, {},         m_output, m_svg,  m_png, m_sheets,
                           m_units,     m_settings, m_seed,   m_json, m_host};
        if (!m_drawing.empty())
            job.parts.push_back(m_drawing);
        job.parts.insert(job.parts.end(), m_moreParts.begin(), m_moreParts.end());
        return runPartJob(job);
    }
    if (!m_moreParts.empty()) {
        std::cerr << "gantrel: nest takes one drawing; several part drawings need --sheet-size\n";
        return kExitBadCommandLine;
    }
    std::string drawing = m_drawing;
    if (drawing.empty()) {
        const fs::path example = bundledExample();
        std::error_code ec;
        if (!fs::is_regular_file(example, ec)) {
            std::cerr << "gantrel: no drawing given, and the bundled example drawing "
                      << example.string() << " is not installed\n";
            return kExitUnreadableInput;
        }
        drawing = example.string();
    }
    std::string error;
    std::unique_ptr<ZcDbDatabase> db = openDrawing(drawing, error);
    if (!db) {
        std::cerr << "gantrel: " << error << '\n';
        return kExitUnreadableInput;
    }

    ZcDbObjectId sheetId;
    std::string sheet = upper(m_sheet);
    if (sheet.empty()) {
        sheetId = largestClosedPolyline(*db);
        if (sheetId.isNull()) {
            std::cerr << "gantrel: " << drawing
                      << ": model space holds no closed polyline to nest on; name the sheet "
                         "with --sheet HANDLE\n";
            return kExitFailed;
        }
        sheet = ::win::Narrow(sheetId.handle().text());
    } else if (db->getZcDbObjectId(sheetId, false,
                                   ZcDbHandle(gantrel::dxf::utf8ToWide(sheet).c_str())) !=
                   Zcad::eOk ||
               sheetId.isNull()) {
        std::cerr << "gantrel: " << drawing << ": no object has the handle " << sheet
                  << " given with --sheet\n";
        return kExitFailed;
    }
    std::vector<std::string> parts;
    for (const std::string& part : m_parts)
        parts.push_back(upper(part));
    if (parts.empty())
        parts = otherEntityHandles(*db, sheetId);
    if (parts.empty()) {
        std::cerr << "gantrel: " << drawing << ": model space holds nothing to nest besides the "
                  << "sheet " << sheet << '\n';
        return kExitFailed;
    }
    const std::string output =
        m_output.empty() ? fs::path(drawing).stem().string() + "-nested.dxf" : m_output;

    HostSetup setup;
    if (!setup.loadRegistry(m_host))
        return kExitUnreadableInput;

    const std::vector<NestScriptLine> lines = nestScript(m_settings, sheet, parts);
    std::vector<std::string> texts;
    for (const NestScriptLine& line : lines)
        texts.push_back(line.text);
    editor::ScriptInput script("nest", texts);

    int status = kExitDone;
    NestSummary summary;
    bool finished = false;
    {
        // Declared before the session: the session prints into it until it ends.
        std::string transcript;
        std::ostream& shown = m_json ? std::cerr : std::cout;
        editor::HostSession session;
        bool outOfRange = false;
        session.transcript().setSink([&](std::string_view text) {
            shown << text;
            transcript.append(text);
            // Searched where the new text may have completed the phrase.
            const std::size_t from =
                transcript.size() - std::min(transcript.size(), text.size() + kTooLarge.size());
            outOfRange = outOfRange || transcript.find(kOutOfRange, from) != std::string::npos ||
                         transcript.find(kTooLarge, from) != std::string::npos;
            if (transcript.size() > 2 * kTranscriptTail)
                transcript.erase(0, transcript.size() - kTranscriptTail);
        });
        session.adoptDrawing(std::move(db), drawing);
        setup.loadModule(session);
        // After the module's own seeding at load, so that the given seed is the one used.
        if (m_seed)
            win::srand(*m_seed);

        const std::set<std::uint64_t> before = modelSpaceHandles(*session.database());
        NestInput input(script, lines.size(), session);
        const auto start = std::chrono::steady_clock::now();
        session.run(input);
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        // The command's last line ends before any message of ours.
        if (!session.transcript().atLineStart())
            session.transcript().write(std::string_view("\n"));
        shown.flush();

        const int at = script.lineNumber();
        const std::string& meaning = at > 0 ? lines[at - 1].meaning : lines.front().meaning;
        if (session.failedCommands() > 0) {
            std::cerr << "gantrel: a command failed inside the host after " << meaning
                      << "; nothing was written\n";
            status = kExitFailed;
        } else if (session.refusedLines() > 0) {
            const std::string why = refusalReason(transcript, "nest:" + std::to_string(at));
            std::cerr << "gantrel: the host refused " << meaning << (why.empty() ? "" : ": ") << why
                      << "; nothing was written\n";
            status = kExitFailed;
        } else if (input.unanswered()) {
            std::cerr << "gantrel: after " << meaning
                      << " the command asked for more than gantrel answers and was cancelled; "
                         "nothing was written\n";
            status = kExitFailed;
        } else {
            finished = true;
            summary = summariseNesting(*session.database(), sheetId, before,
                                       m_settings.spacingOrDefault());
            summary.seconds = elapsed.count();
            summary.arrangements = session.progress().steps;
            // A faulty layout is still saved and drawn, so that it can be looked at.
            for (const std::string& fault : summary.violations)
                std::cerr << "gantrel: layout fault: " << fault << '\n';
            if (!summary.violations.empty())
                status = kExitFailed;
            if (outOfRange) {
                std::cerr << "gantrel: a part or the sheet lies out of the range the nesting "
                             "can work in (see above); it was left out\n";
                status = kExitFailed;
            }
            if (!saveDrawingAndPictures(session, output, {m_svg, m_png}))
                status = kExitFailed;
        }
        // The modules hear of the end in the transcript, which then ends its last line.
        session.modules().unloadAll(session.commands());
        if (!session.transcript().atLineStart())
            session.transcript().write(std::string_view("\n"));
    }
    if (m_json && finished)
        std::cout << toJson(summary) << std::endl;
    return status;
}

} // namespace gantrel::app
