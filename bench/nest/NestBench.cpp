// Nesting quality and speed on the ESICUP strip instances: the search, the no-fit polygons on
// the worker threads, the placer and the rating, as the nesting run drives them, with spacing 0.
//
// Modes: "a" evaluates the first generation with the other settings at their defaults (rotation
// off); "b" is the nesting run itself (Nest: preparation, search, no-fit polygons, placement)
// with the rotations each instance allows, breeding generations until its maximum calculation
// time of one minute, once per population size. One markdown table row per run goes to stdout, with
// the density the best published result reached (esicup_best.csv) beside ours.
//
// Usage: bench_nest [--mode a|b|ab] [--seconds S] [--populations 10,30] [--seed N]
//                   [--instances name,name,...]
//
// --seconds S makes the minute of mode b last S seconds (the run's clock is scaled), for short
// trial runs; the table is made with the default 60.
#include "../../tests/nesting/StripNesting.h"
#include "common/Random.h"
#include "nesting/run/ByDialogStopProvider.h"
#include "nesting/run/Nest.h"
#include "nesting/search/ArrangementStep.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace gantrel {
namespace {

struct Best {
    double densityPct = 0.0; // best published density, percent
    double length = 0.0;     // its strip length
};

std::map<std::string, Best> LoadBest() {
    std::map<std::string, Best> best;
    std::ifstream in(std::string(GANTREL_BENCH_DIR) + "/esicup_best.csv");
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        std::vector<std::string> cells;
        std::stringstream row(line);
        std::string cell;
        while (std::getline(row, cell, ',')) {
            cells.push_back(cell);
        }
        cells.resize(8);
        Best b;
        // The best of the historic and the published record.
        const auto number = [](const std::string& s) { return s.empty() ? 0.0 : std::stod(s); };
        b.densityPct = std::max(number(cells[5]), number(cells[7]));
        b.length = number(cells[7]) > 0.0 ? number(cells[6]) : number(cells[4]);
        best[cells[0]] = b;
    }
    return best;
}

std::vector<std::string> Split(const std::string& text) {
    std::vector<std::string> parts;
    std::stringstream in(text);
    std::string part;
    while (std::getline(in, part, ',')) {
        if (!part.empty()) {
            parts.push_back(part);
        }
    }
    return parts;
}

struct Outcome {
    int evaluated = 0;
    double seconds = 0.0;
    Result best;
};

// Evaluates arrangements until limit arrangements or the time limit, whichever comes first.
Outcome Run(const testing::StripProblem& problem, const NestSettings& settings, int limit,
            double seconds, unsigned seed) {
    srand(seed);
    const auto start = std::chrono::steady_clock::now();
    const auto elapsed = [&start] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    NfpCache cache;
    Losowacz search(problem.parts, problem.sheet, settings);
    Results results;
    Outcome outcome;
    while (outcome.evaluated < limit && elapsed() < seconds) {
        StepOutcome step =
            EvaluateNextArrangement(search, problem.sheet, settings, cache, false, nullptr);
        if (!step.evaluated) {
            break;
        }
        results.Add(std::move(step.result));
        ++outcome.evaluated;
    }
    outcome.seconds = elapsed();
    outcome.best = results.Best();
    return outcome;
}

// The nesting run, printing its messages on stderr.
class BenchNest : public Nest {
public:
    using Nest::Nest;
    void Message(const std::wstring& text) override { std::fprintf(stderr, "%ls\n", text.c_str()); }
};

// The nesting run with as many generations as its one-minute limit allows; the minute lasts
// `seconds` seconds of wall-clock time.
Outcome RunNest(const testing::StripProblem& problem, NestSettings settings, double seconds,
                unsigned seed) {
    srand(seed);
    settings.generations = 100000;
    settings.maxCalculationTime = 1;
    const auto start = std::chrono::steady_clock::now();
    const auto elapsed = [&start] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    ByDialogStopProvider neverStopped;
    BenchNest nest(settings);
    nest.SetClock([&elapsed, seconds] { return elapsed() * 60.0 / seconds; });
    nest.SetSheet(problem.sheet);
    nest.SetParts(problem.parts);
    nest.SetStopProvider(&neverStopped);
    nest.Prepare();
    nest.Run();
    Outcome outcome;
    outcome.seconds = elapsed();
    outcome.evaluated = nest.EvaluatedCount();
    outcome.best = nest.Best();
    return outcome;
}

void PrintRow(const std::string& mode, const testing::StripProblem& problem, int population,
              const Outcome& outcome, const Best& best) {
    const Positions none;
    const Positions& placed = outcome.best.IsEmpty() ? none : outcome.best.sheets[0];
    const double length = testing::UsedLength(problem, placed);
    const double density =
        length > 0.0 ? 100.0 * problem.totalArea / (problem.stripHeight * length) : 0.0;
    std::printf("| %s | %s | %d | %.1f | %.2f | %d/%d | %d | %.1f | %.2f | %.1f |\n", mode.c_str(),
                problem.name.c_str(), population, density, length / problem.scale, placed.Size(),
                problem.parts.Size(), outcome.evaluated, outcome.seconds,
                outcome.seconds > 0.0 ? outcome.evaluated / outcome.seconds : 0.0, best.densityPct);
    std::fflush(stdout);
}

int Main(int argc, char** argv) {
    std::string mode = "ab";
    double seconds = 60.0;
    std::vector<int> populations{10, 30};
    unsigned seed = 1;
    std::vector<std::string> instances = testing::AllEsicupNames();
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string flag = argv[i];
        const std::string value = argv[i + 1];
        if (flag == "--mode") {
            mode = value;
        } else if (flag == "--seconds") {
            seconds = std::stod(value);
        } else if (flag == "--populations") {
            populations.clear();
            for (const std::string& p : Split(value)) {
                populations.push_back(std::stoi(p));
            }
        } else if (flag == "--seed") {
            seed = static_cast<unsigned>(std::stoul(value));
        } else if (flag == "--instances") {
            instances = Split(value);
        } else {
            std::cerr << "unknown option " << flag << "\n";
            return 1;
        }
    }
    const std::map<std::string, Best> best = LoadBest();
    std::printf("| mode | instance | population | density %% | length | placed | arrangements | "
                "seconds | arrangements/s | best published density %% |\n");
    std::printf("|---|---|---|---|---|---|---|---|---|---|\n");
    for (const std::string& name : instances) {
        const auto known = best.find(name);
        const Best published = known == best.end() ? Best() : known->second;
        if (mode.find('a') != std::string::npos) {
            const testing::StripProblem problem =
                testing::MakeStripProblem(testing::LoadEsicup(name), false);
            NestSettings settings =
                testing::StripSettings(problem, false, NestSettings().population);
            settings.rotationAllowed = NestSettings().rotationAllowed;
            Losowacz sizing(problem.parts, problem.sheet, settings);
            const Outcome outcome = Run(problem, settings, sizing.Count(), 1e9, seed);
            PrintRow("a", problem, settings.population, outcome, published);
        }
        if (mode.find('b') != std::string::npos) {
            const testing::StripProblem problem =
                testing::MakeStripProblem(testing::LoadEsicup(name), true);
            for (int population : populations) {
                const NestSettings settings = testing::StripSettings(problem, true, population);
                const Outcome outcome = RunNest(problem, settings, seconds, seed);
                PrintRow("b", problem, population, outcome, published);
            }
        }
    }
    return 0;
}

} // namespace
} // namespace gantrel

int main(int argc, char** argv) {
    return gantrel::Main(argc, argv);
}
