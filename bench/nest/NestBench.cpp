// Nesting quality and speed on the ESICUP strip instances: the search, the no-fit polygons on
// the worker threads, the placer and the rating, as the nesting run drives them, with spacing 0.
//
// Modes: "a" evaluates the first generation with the other settings at their defaults (rotation
// off); "b" is the nesting run itself (Nest: preparation, search, no-fit polygons, placement)
// with the rotations each instance allows, breeding generations until its maximum calculation
// time of one minute, once per population size. One markdown table row per run goes to stdout, with
// the density the best published result reached (esicup_best.csv) beside ours.
//
// Mode "c" is the run with the improving search: the generations the settings ask for (1 by
// default, --generations), then the improving search until the minute is over.
//
// Usage: bench_nest [--mode a|b|c|abc] [--seconds S] [--populations 10,30] [--seed N]
//                   [--seeds 1,2,3] [--instances name,name,...] [--generations N]
//                   [--rule bottomleft|bottomleft-plain|leftmost] [--annealing on|off]
//                   [--shrinking on|off] [--exact-fill on|off] [--batch N] [--layouts DIR]
//
// --seconds S makes the minute of modes b and c last S seconds (the run's clock is scaled), for
// short trial runs; the table is made with the default 60. --rule, --annealing, --shrinking,
// --exact-fill and --batch set up the improving search (for the ablation). --layouts DIR writes
// every best layout's placed outlines to DIR/<instance>-<mode>-<population>-<seed>.txt (one outline
// a line: x y pairs; the sheet first) for check_layouts.py. Every best layout is also checked here
// with the polygon library; the check column says "ok" or what is wrong.
#include "../../tests/nesting/StripNesting.h"
#include "common/Random.h"
#include "nesting/improve/ImprovingSearch.h"
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

// How the improving search is set up in mode c.
struct ImproveSetup {
    int generations = 1;
    PlacementRule rule = PlacementRule::BottomLeft;
    bool annealing = true;
    bool shrinking = true;
    bool exactFill = true;
    bool overlap = true;
    int batch = 0; // 0: the search's default
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

// The nesting run, printing its messages on stderr; sets up the improving search.
class BenchNest : public Nest {
public:
    BenchNest(const NestSettings& settings, const ImproveSetup& setup)
        : Nest(settings), m_setup(setup) {}
    void Message(const std::wstring& text) override { std::fprintf(stderr, "%ls\n", text.c_str()); }
    void ConfigureImprovement(ImprovingSearch& search) override {
        search.SetRule(m_setup.rule);
        search.SetAnnealing(m_setup.annealing);
        search.SetShrinking(m_setup.shrinking);
        search.SetExactFill(m_setup.exactFill);
        search.SetOverlap(m_setup.overlap);
        if (m_setup.batch > 0) {
            search.SetBatchSize(m_setup.batch);
        }
    }

private:
    ImproveSetup m_setup;
};

// The nesting run for one minute, which lasts `seconds` seconds of wall-clock time: without the
// improving search, as many generations as the minute allows; with it, setup's generations and
// then the improving search.
Outcome RunNest(const testing::StripProblem& problem, NestSettings settings, double seconds,
                unsigned seed, const ImproveSetup* improve) {
    srand(seed);
    settings.generations = improve != nullptr ? improve->generations : 100000;
    settings.improve = improve != nullptr;
    settings.maxCalculationTime = 1;
    const auto start = std::chrono::steady_clock::now();
    const auto elapsed = [&start] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    ByDialogStopProvider neverStopped;
    BenchNest nest(settings, improve != nullptr ? *improve : ImproveSetup());
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

// The sheet and every placed outline, one a line of x y pairs in the instance's units.
void WriteLayout(const std::string& path, const testing::StripProblem& problem,
                 const Positions& placed) {
    std::ofstream out(path);
    // Every digit of the doubles: a rounded corner could make touching pieces overlap.
    out.precision(17);
    const auto line = [&out, &problem](const GePoints& points) {
        for (const GePoint& p : points) {
            out << p.x / problem.scale << ' ' << p.y / problem.scale << ' ';
        }
        out << '\n';
    };
    line(problem.sheet);
    for (const Position& position : placed) {
        line(testing::PlacedOutline(problem, position));
    }
}

void PrintRow(const std::string& mode, const testing::StripProblem& problem, int population,
              unsigned seed, const Outcome& outcome, const Best& best, const std::string& layouts) {
    const Positions none;
    const Positions& placed = outcome.best.IsEmpty() ? none : outcome.best.sheets[0];
    const std::string caseName =
        problem.name + "-" + mode + "-" + std::to_string(population) + "-" + std::to_string(seed);
    const std::string fault = testing::CheckLayout(problem, placed, "bench-" + caseName);
    if (!fault.empty()) {
        std::fprintf(stderr, "%s: %s\n", caseName.c_str(), fault.c_str());
    }
    if (!layouts.empty()) {
        WriteLayout(layouts + "/" + caseName + ".txt", problem, placed);
    }
    const double length = testing::UsedLength(problem, placed);
    const double density =
        length > 0.0 ? 100.0 * problem.totalArea / (problem.stripHeight * length) : 0.0;
    std::printf("| %s | %s | %d | %u | %.1f | %.2f | %d/%d | %d | %.1f | %.2f | %.1f | %s |\n",
                mode.c_str(), problem.name.c_str(), population, seed, density,
                length / problem.scale, placed.Size(), problem.parts.Size(), outcome.evaluated,
                outcome.seconds, outcome.seconds > 0.0 ? outcome.evaluated / outcome.seconds : 0.0,
                best.densityPct, fault.empty() ? "ok" : "FAULT");
    std::fflush(stdout);
}

int Main(int argc, char** argv) {
    std::string mode = "ab";
    double seconds = 60.0;
    std::vector<int> populations{10, 30};
    std::vector<unsigned> seeds{1};
    ImproveSetup setup;
    std::string layouts;
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
            seeds = {static_cast<unsigned>(std::stoul(value))};
        } else if (flag == "--seeds") {
            seeds.clear();
            for (const std::string& s : Split(value)) {
                seeds.push_back(static_cast<unsigned>(std::stoul(s)));
            }
        } else if (flag == "--generations") {
            setup.generations = std::stoi(value);
        } else if (flag == "--rule") {
            setup.rule = value == "leftmost"           ? PlacementRule::Leftmost
                         : value == "bottomleft-plain" ? PlacementRule::BottomLeftNoExactFits
                                                       : PlacementRule::BottomLeft;
        } else if (flag == "--annealing") {
            setup.annealing = value != "off";
        } else if (flag == "--shrinking") {
            setup.shrinking = value != "off";
        } else if (flag == "--exact-fill") {
            setup.exactFill = value != "off";
        } else if (flag == "--overlap") {
            setup.overlap = value != "off";
        } else if (flag == "--batch") {
            setup.batch = std::stoi(value);
        } else if (flag == "--layouts") {
            layouts = value;
        } else if (flag == "--instances") {
            instances = Split(value);
        } else {
            std::cerr << "unknown option " << flag << "\n";
            return 1;
        }
    }
    const std::map<std::string, Best> best = LoadBest();
    std::printf("| mode | instance | population | seed | density %% | length | placed | "
                "arrangements | seconds | arrangements/s | best published density %% | check |\n");
    std::printf("|---|---|---|---|---|---|---|---|---|---|---|---|\n");
    for (const std::string& name : instances) {
        const auto known = best.find(name);
        const Best published = known == best.end() ? Best() : known->second;
        for (unsigned seed : seeds) {
            if (mode.find('a') != std::string::npos) {
                const testing::StripProblem problem =
                    testing::MakeStripProblem(testing::LoadEsicup(name), false);
                NestSettings settings =
                    testing::StripSettings(problem, false, NestSettings().population);
                settings.rotationAllowed = NestSettings().rotationAllowed;
                Losowacz sizing(problem.parts, problem.sheet, settings);
                const Outcome outcome = Run(problem, settings, sizing.Count(), 1e9, seed);
                PrintRow("a", problem, settings.population, seed, outcome, published, layouts);
            }
            for (const char* runMode : {"b", "c"}) {
                if (mode.find(runMode) == std::string::npos) {
                    continue;
                }
                const testing::StripProblem problem =
                    testing::MakeStripProblem(testing::LoadEsicup(name), true);
                for (int population : populations) {
                    const NestSettings settings = testing::StripSettings(problem, true, population);
                    const bool improving = runMode[0] == 'c';
                    const Outcome outcome =
                        RunNest(problem, settings, seconds, seed, improving ? &setup : nullptr);
                    PrintRow(runMode, problem, population, seed, outcome, published, layouts);
                }
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
