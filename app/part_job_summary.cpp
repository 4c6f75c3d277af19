#include "part_job_summary.h"

#include <fmt/format.h>

namespace gantrel::app {

namespace {

int totalPieces(const PartJob& job) {
    int total = 0;
    for (const JobPart& part : job.parts)
        total += part.count;
    return total;
}

int placedOf(const JobOutcome& outcome, std::size_t part) {
    int placed = 0;
    for (const SheetResult& sheet : outcome.sheets)
        placed += sheet.placedByPart[part];
    return placed;
}

} // namespace

std::string jobReport(const PartJob& job, const JobOutcome& outcome) {
    std::string text;
    for (std::size_t s = 0; s < outcome.sheets.size(); ++s) {
        const NestSummary& summary = outcome.sheets[s].summary;
        text += fmt::format("Sheet {} ({}): {} piece{} placed, utilisation {:.1f}%\n", s + 1,
                            outcome.sheets[s].handle, summary.placed,
                            summary.placed == 1 ? "" : "s", 100.0 * summary.utilisation);
    }
    std::string unplaced;
    for (std::size_t i = 0; i < job.parts.size(); ++i) {
        const JobPart& part = job.parts[i];
        std::string where;
        for (std::size_t s = 0; s < outcome.sheets.size(); ++s)
            if (const int n = outcome.sheets[s].placedByPart[i]; n > 0)
                where += fmt::format("{}sheet {}: {}", where.empty() ? "" : ", ", s + 1, n);
        text += fmt::format("{}: {} of {} placed{}\n", part.name, placedOf(outcome, i), part.count,
                            where.empty() ? std::string() : " (" + where + ")");
        if (const int left = outcome.unplacedByPart[i]; left > 0)
            unplaced += fmt::format("{}{} ({})", unplaced.empty() ? "" : ", ", part.name, left);
    }
    text +=
        fmt::format("{} of {} pieces placed on {} sheet{}\n", outcome.placed(), totalPieces(job),
                    outcome.sheets.size(), outcome.sheets.size() == 1 ? "" : "s");
    if (!unplaced.empty())
        text += "Not placed on any sheet, set down beside the last: " + unplaced + "\n";
    return text;
}

std::string jobJson(const PartJob& job, const JobOutcome& outcome) {
    std::string out = "{\"sheets\": [";
    double seconds = 0.0;
    std::vector<std::string> violations;
    for (std::size_t s = 0; s < outcome.sheets.size(); ++s) {
        const SheetResult& sheet = outcome.sheets[s];
        // The sheet's own nesting summary, with its number and handle in front.
        out += fmt::format("{}{{\"sheet\": {}, \"handle\": {}, {}", s == 0 ? "" : ", ", s + 1,
                           jsonQuoted(sheet.handle), toJson(sheet.summary).substr(1));
        seconds += sheet.summary.seconds;
        for (const std::string& fault : sheet.summary.violations)
            violations.push_back(fmt::format("sheet {}: {}", s + 1, fault));
    }
    out += "], \"files\": [";
    std::string unplacedFiles;
    for (std::size_t i = 0; i < job.parts.size(); ++i) {
        const JobPart& part = job.parts[i];
        std::string perSheet;
        for (std::size_t s = 0; s < outcome.sheets.size(); ++s)
            perSheet += fmt::format("{}{}", s == 0 ? "" : ", ", outcome.sheets[s].placedByPart[i]);
        out += fmt::format("{}{{\"file\": {}, \"path\": {}, \"block\": {}, \"count\": {}, "
                           "\"placed\": {}, \"unplaced\": {}, \"per_sheet\": [{}]}}",
                           i == 0 ? "" : ", ", jsonQuoted(part.name), jsonQuoted(part.path),
                           jsonQuoted(part.block), part.count, placedOf(outcome, i),
                           outcome.unplacedByPart[i], perSheet);
        if (outcome.unplacedByPart[i] > 0)
            unplacedFiles += (unplacedFiles.empty() ? "" : ", ") + jsonQuoted(part.name);
    }
    out += fmt::format("], \"pieces\": {}, \"placed\": {}, \"unplaced\": {}, \"sheets_used\": {}, "
                       "\"unplaced_files\": [{}], \"seconds\": {}, \"violations\": [",
                       totalPieces(job), outcome.placed(), outcome.unplaced(),
                       outcome.sheets.size(), unplacedFiles, seconds);
    for (std::size_t i = 0; i < violations.size(); ++i)
        out += (i == 0 ? "" : ", ") + jsonQuoted(violations[i]);
    return out + "]}";
}

} // namespace gantrel::app
