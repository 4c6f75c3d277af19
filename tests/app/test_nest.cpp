// `gantrel nest` end to end: the program is started as a user starts it, with the real module
// Gantrel.zrx, and judged by its exit status, its messages, its JSON summary and the files it
// leaves. Each run gets a folder of its own with the drawing in it.
#include "ProgramRun.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using gantrel::testing::Outcome;
using gantrel::testing::WriteFile;

std::string number(double value) {
    return std::to_string(value);
}

// A DXF entity section item: a lightweight polyline through the corners, closed or open.
std::string polyline(const std::string& handle, const std::vector<std::pair<double, double>>& at,
                     bool closed) {
    std::string text = "0\nLWPOLYLINE\n5\n" + handle + "\n8\n0\n90\n" + std::to_string(at.size()) +
                       "\n70\n" + (closed ? "1" : "0") + "\n";
    for (const auto& [x, y] : at)
        text += "10\n" + number(x) + "\n20\n" + number(y) + "\n";
    return text;
}

std::string rectangle(const std::string& handle, double x, double y, double w, double h) {
    return polyline(handle, {{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}}, true);
}

std::string circle(const std::string& handle, double x, double y, double r) {
    return "0\nCIRCLE\n5\n" + handle + "\n8\n0\n10\n" + number(x) + "\n20\n" + number(y) +
           "\n40\n" + number(r) + "\n";
}

std::string drawing(const std::string& entities) {
    return "0\nSECTION\n2\nENTITIES\n" + entities + "0\nENDSEC\n0\nEOF\n";
}

// A sheet of 100 x 50 (handle A0), two plates and a disc that fit (A1, A2, A3) and a bar longer
// than the sheet (A4), all drawn beside the sheet.
const std::string kNestJob = drawing(
    rectangle("A0", 0, 0, 100, 50) + rectangle("A1", 150, 0, 30, 20) +
    rectangle("A2", 150, 30, 20, 10) + circle("A3", 200, 10, 8) + rectangle("A4", 150, 60, 140, 5));

class NestTest : public ::testing::Test {
protected:
    NestTest() {
        dir = fs::temp_directory_path() /
              ("gantrel-nest-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        WriteFile(dir / "job.dxf", kNestJob);
        WriteFile(dir / "empty.reg", "Windows Registry Editor Version 5.00\n");
    }
    ~NestTest() override { fs::remove_all(dir); }

    Outcome run(std::vector<std::string> args, const std::string& module = GANTREL_MODULE_FILE) {
        args.insert(args.begin(), "nest");
        return gantrel::testing::RunProgram(GANTREL_PROGRAM, std::move(args),
                                            {"GANTREL_MODULE=" + module,
                                             "GANTREL_REGISTRY=" + (dir / "empty.reg").string(),
                                             "HOME=" + dir.string(), "PATH=/usr/bin:/bin"},
                                            dir);
    }

    // The files the run left besides the drawing, the registry and the captured streams.
    std::set<std::string> leftFiles() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir)) {
            const std::string name = entry.path().filename().string();
            if (name != "job.dxf" && name != "empty.reg" && name != "stdin.txt" &&
                name != "stdout.txt" && name != "stderr.txt")
                names.insert(name);
        }
        return names;
    }

    fs::path dir;
};

// The whole numbers and numbers of the summary by key, and its placement records.
struct Summary {
    std::map<std::string, double> numbers;
    std::vector<std::map<std::string, std::string>> placements;
    std::string violations;
};

Summary parseSummary(const std::string& json) {
    Summary s;
    const std::regex field(
        "\"(pieces|placed|unplaced|sheet_area|used_width|utilisation|arrangements|seconds)"
        "\": (-?[0-9.eE+-]+)");
    for (std::sregex_iterator it(json.begin(), json.end(), field), end; it != end; ++it)
        s.numbers[(*it)[1]] = std::stod((*it)[2]);
    const std::regex record("\\{\"handle\": \"([0-9A-F]+)\", \"source_handle\": \"([0-9A-F]+)\", "
                            "\"rotation\": (-?[0-9.eE+-]+), \"translation\": \\[(-?[0-9.eE+-]+), "
                            "(-?[0-9.eE+-]+)\\]\\}");
    for (std::sregex_iterator it(json.begin(), json.end(), record), end; it != end; ++it)
        s.placements.push_back({{"handle", (*it)[1]},
                                {"source", (*it)[2]},
                                {"rotation", (*it)[3]},
                                {"dx", (*it)[4]},
                                {"dy", (*it)[5]}});
    const std::size_t at = json.find("\"violations\": [");
    if (at != std::string::npos)
        s.violations = json.substr(at + 15, json.find(']', at) - at - 15);
    return s;
}

TEST_F(NestTest, BadCommandLinesAreRefusedBeforeAnythingRuns) {
    const std::vector<std::vector<std::string>> lines = {
        {"job.dxf", "--spacing", "501"},
        {"job.dxf", "--spacing", "wide"},
        {"job.dxf", "--population", "0"},
        {"job.dxf", "--rotation-step", "400"},
        {"job.dxf", "--mutation-rate", "80"},
        {"job.dxf", "--arc-precision", "1.5"},
        {"job.dxf", "--max-time", "0"},
        {"job.dxf", "--generations", "0"},
        {"job.dxf", "--seed", "-1"},
        {"job.dxf", "--sheet", "XYZ"},
        {"job.dxf", "--parts", "A1,G7"},
        {"job.dxf", "--svg", "out.png"},
        {"job.dxf", "--png", "out.svg"},
        {"job.dxf", "--frobnicate"},
        {"job.dxf", "other.dxf"},
    };
    for (const auto& args : lines) {
        SCOPED_TRACE(args.back());
        const Outcome o = run(args);
        EXPECT_EQ(o.status, 1) << o.err;
        EXPECT_FALSE(o.err.empty());
        EXPECT_TRUE(leftFiles().empty());
    }
}

TEST_F(NestTest, UnreadableDrawingIsNamedAndNothingIsWritten) {
    WriteFile(dir / "broken.dxf", "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\nnot-a-number\n");
    for (const std::string name : {"missing.dxf", "broken.dxf"}) {
        SCOPED_TRACE(name);
        const Outcome o = run({name, "--svg", "out.svg", "--png", "out.png"});
        EXPECT_EQ(o.status, 2) << o.err;
        EXPECT_NE(o.err.find(name), std::string::npos) << o.err;
        std::set<std::string> left = leftFiles();
        left.erase("broken.dxf");
        EXPECT_TRUE(left.empty());
    }
}

TEST_F(NestTest, DrawingWithoutClosedPolylineAsksForTheSheet) {
    WriteFile(dir / "open.dxf", drawing(polyline("B0", {{0, 0}, {100, 0}, {100, 50}}, false) +
                                        circle("B1", 10, 10, 5)));
    const Outcome o = run({"open.dxf"});
    EXPECT_EQ(o.status, 3);
    EXPECT_NE(o.err.find("no closed polyline"), std::string::npos) << o.err;
    EXPECT_NE(o.err.find("--sheet"), std::string::npos) << o.err;
    EXPECT_EQ(leftFiles(), std::set<std::string>{"open.dxf"});
}

TEST_F(NestTest, SheetHandleThatIsNotInTheDrawingIsReported) {
    const Outcome o = run({"job.dxf", "--sheet", "FFFF"});
    EXPECT_EQ(o.status, 3);
    EXPECT_NE(o.err.find("FFFF"), std::string::npos) << o.err;
    EXPECT_TRUE(leftFiles().empty());
}

TEST_F(NestTest, WithoutTheModuleTheCommandIsRefusedAndNothingIsWritten) {
    const Outcome o = run({"job.dxf", "--svg", "out.svg"}, (dir / "no-module.zrx").string());
    EXPECT_EQ(o.status, 3);
    EXPECT_NE(o.err.find("Plaxen"), std::string::npos) << o.err;
    EXPECT_TRUE(leftFiles().empty());
}

// The runs below need the "Plaxen" command of the module.

TEST_F(NestTest, NestsIntoTheDefaultOutputAndSummarisesTheDrawing) {
    const Outcome o = run({"job.dxf", "--seed", "5", "--json", "--svg", "job.svg"});
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(leftFiles(), (std::set<std::string>{"job-nested.dxf", "job.svg"}));
    // The transcript went to stderr; stdout holds the summary alone.
    EXPECT_NE(o.err.find("Command: Plaxen"), std::string::npos) << o.err;
    EXPECT_EQ(o.out.find("Command:"), std::string::npos) << o.out;
    ASSERT_EQ(std::count(o.out.begin(), o.out.end(), '\n'), 1) << o.out;

    const Summary s = parseSummary(o.out);
    for (const char* key : {"pieces", "placed", "unplaced", "sheet_area", "used_width",
                            "utilisation", "arrangements", "seconds"})
        EXPECT_EQ(s.numbers.count(key), 1u) << key << " missing in " << o.out;
    EXPECT_EQ(s.numbers.at("placed") + s.numbers.at("unplaced"), s.numbers.at("pieces"));
    EXPECT_EQ(static_cast<double>(s.placements.size()), s.numbers.at("placed"));
    EXPECT_EQ(s.violations, "");
    EXPECT_DOUBLE_EQ(s.numbers.at("sheet_area"), 5000.0);
    // The bar longer than the sheet cannot be placed; the others can.
    EXPECT_GE(s.numbers.at("unplaced"), 1.0);
    EXPECT_GT(s.numbers.at("utilisation"), 0.0);
    EXPECT_LE(s.numbers.at("utilisation"), 1.0);
    EXPECT_LE(s.numbers.at("used_width"), 100.0 + 1e-9);
    std::set<std::string> sources;
    for (const auto& p : s.placements) {
        sources.insert(p.at("source"));
        EXPECT_EQ(std::stod(p.at("rotation")), 0.0) << "rotation is not allowed by default";
    }
    EXPECT_EQ(sources, (std::set<std::string>{"A1", "A2", "A3"}));
}

TEST_F(NestTest, SettingsReachTheRunAndTheSeedRepeatsIt) {
    const std::vector<std::string> args = {
        "job.dxf",         "-o", "a.dxf",           "--seed", "11",           "--json",
        "--rotation-step", "90", "--spacing",       "2",      "--population", "4",
        "--generations",   "2",  "--mutation-rate", "60"};
    const Outcome first = run(args);
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_NE(first.err.find("Plaxen:Settings"), std::string::npos) << first.err;
    const Summary s = parseSummary(first.out);
    ASSERT_FALSE(s.placements.empty()) << first.out;
    for (const auto& p : s.placements) {
        const double turns = std::stod(p.at("rotation")) / 90.0;
        EXPECT_NEAR(turns, std::round(turns), 1e-9) << p.at("rotation");
    }
    EXPECT_GE(s.numbers.at("arrangements"), 1.0) << first.out;
    const Outcome second = run(args);
    ASSERT_EQ(second.status, 0) << second.err;
    EXPECT_EQ(parseSummary(second.out).placements, s.placements);
    EXPECT_EQ(parseSummary(second.out).numbers.at("arrangements"), s.numbers.at("arrangements"));
}

TEST_F(NestTest, RefusedAnswersStopTheRunAndWriteNothing) {
    // A disc as the sheet, then a part that is not in the drawing.
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"job.dxf", "--sheet", "A3"},
          std::vector<std::string>{"job.dxf", "--parts", "A1,BEEF"}}) {
        SCOPED_TRACE(args.back());
        const Outcome o = run(args);
        EXPECT_EQ(o.status, 3) << o.err;
        EXPECT_NE(o.err.find("refused"), std::string::npos) << o.err;
        EXPECT_TRUE(leftFiles().empty());
    }
}

TEST_F(NestTest, WithoutADrawingTheBundledExampleIsNested) {
    const Outcome o = run({"--seed", "3", "--json"});
    // The layout is checked against the true curves: circles, bulges, the spline cam, the
    // region with its hole and the blocks nest without touching one another.
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(leftFiles(), std::set<std::string>{"sheet-and-parts-nested.dxf"});
    const Summary s = parseSummary(o.out);
    ASSERT_EQ(s.numbers.count("pieces"), 1u) << o.out;
    EXPECT_EQ(s.numbers.at("placed") + s.numbers.at("unplaced"), s.numbers.at("pieces"));
    EXPECT_EQ(static_cast<double>(s.placements.size()), s.numbers.at("placed"));
    EXPECT_TRUE(s.violations.empty()) << s.violations;
}

} // namespace

namespace {

// Four plates that fill a 50 x 50 corner of the sheet exactly when they stand two by two.
const std::string kTilingJob =
    drawing(rectangle("B0", 0, 0, 100, 50) + rectangle("B1", 150, 0, 30, 25) +
            rectangle("B2", 150, 30, 20, 25) + rectangle("B3", 200, 0, 30, 25) +
            rectangle("B4", 200, 30, 20, 25));

TEST_F(NestTest, ImproveFindsTheTightestLayoutAndStopsThere) {
    WriteFile(dir / "tiles.dxf", kTilingJob);
    // The improving search ends as soon as the used width reaches its lower bound (area over
    // the sheet's height) instead of running to the one-minute limit.
    const Outcome o = run(
        {"tiles.dxf", "--improve", "--spacing", "0", "--max-time", "1", "--seed", "2", "--json"});
    ASSERT_EQ(o.status, 0) << o.err;
    const Summary s = parseSummary(o.out);
    EXPECT_EQ(s.numbers.at("placed"), 4);
    EXPECT_NEAR(s.numbers.at("used_width"), 50.0, 1e-6);
    EXPECT_TRUE(s.violations.empty()) << s.violations;
}

} // namespace
