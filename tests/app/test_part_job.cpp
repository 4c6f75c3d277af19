// `gantrel nest --sheet-size` end to end: part drawings of every kind written here, nested by the
// program with the real module, and the saved job drawing read back with our reader: every
// count honoured, no overlap and the spacing held on every sheet, the sources untouched.
#include "PartDrawings.h"
#include "ProgramRun.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <map>
#include <memory>
#include <regex>
#include <set>

#include "nest_outline.h"
#include "winhost.h"

namespace fs = std::filesystem;

namespace {

using namespace gantrel::testing;
using gantrel::app::findPlacementFaults;
using gantrel::app::NamedOutline;
using gantrel::app::Outline;
using gantrel::app::Point2;
using gantrel::app::sampleOutline;

// One part drawing's line of the JSON summary.
struct FileCounts {
    int count = 0, placed = 0, unplaced = 0;
    std::vector<int> perSheet;
};

struct JobSummary {
    std::map<std::string, FileCounts> files;
    int sheetsUsed = -1, placed = -1, unplaced = -1;
    std::string unplacedFiles;
};

JobSummary parseJob(const std::string& json) {
    JobSummary s;
    const std::regex file("\\{\"file\": \"([^\"]+)\", \"path\": \"[^\"]*\", \"block\": \"[^\"]*\", "
                          "\"count\": (\\d+), \"placed\": (\\d+), \"unplaced\": (\\d+), "
                          "\"per_sheet\": \\[([0-9, ]*)\\]\\}");
    for (std::sregex_iterator it(json.begin(), json.end(), file), end; it != end; ++it) {
        FileCounts counts{std::stoi((*it)[2]), std::stoi((*it)[3]), std::stoi((*it)[4]), {}};
        const std::string list = (*it)[5];
        const std::regex number("\\d+");
        for (std::sregex_iterator n(list.begin(), list.end(), number), e; n != e; ++n)
            counts.perSheet.push_back(std::stoi(n->str()));
        s.files[(*it)[1]] = counts;
    }
    std::smatch m;
    if (std::regex_search(json, m,
                          std::regex("\"placed\": (\\d+), \"unplaced\": (\\d+), \"sheets_used\": "
                                     "(\\d+), \"unplaced_files\": \\[([^\\]]*)\\]"))) {
        s.placed = std::stoi(m[1]);
        s.unplaced = std::stoi(m[2]);
        s.sheetsUsed = std::stoi(m[3]);
        s.unplacedFiles = m[4];
    }
    return s;
}

// The saved job drawing as our reader sees it.
struct JobDrawing {
    struct Piece {
        std::string handle, block;
        Outline outline;
        ZcDbExtents extents;
        int sheet = -1; // the sheet it lies on, or -1
        bool setDown = false;
    };
    std::unique_ptr<ZcDbDatabase> db;
    std::vector<Outline> sheets; // left to right
    std::vector<ZcDbExtents> sheetExtents;
    std::vector<Piece> pieces;
};

std::string blockName(ZcDbObjectId block) {
    ZcDbBlockTableRecord* record = nullptr;
    if (zcdbOpenObject(record, block, ZcDb::kForRead) != Zcad::eOk)
        return {};
    const std::string name = ::win::Narrow(record->name());
    record->close();
    return name;
}

JobDrawing readJob(const fs::path& path) {
    JobDrawing job;
    job.db = std::make_unique<ZcDbDatabase>(false, true);
    EXPECT_EQ(job.db->readDwgFile(gantrel::dxf::utf8ToWide(path.string()).c_str()), Zcad::eOk);
    ZcDbBlockTableRecord* model = nullptr;
    if (zcdbOpenObject(model, job.db->modelSpaceId(), ZcDb::kForRead) != Zcad::eOk)
        return job;
    const std::vector<ZcDbObjectId> ids = model->entityIds();
    model->close();
    std::vector<std::pair<ZcDbExtents, Outline>> sheets;
    for (const ZcDbObjectId& id : ids) {
        ZcDbEntity* entity = nullptr;
        if (zcdbOpenObject(entity, id, ZcDb::kForRead) != Zcad::eOk)
            continue;
        ZcDbExtents extents;
        entity->getGeomExtents(extents);
        if (const auto* reference = ZcDbBlockReference::cast(entity)) {
            JobDrawing::Piece piece;
            piece.handle = ::win::Narrow(entity->handle().text());
            piece.block = blockName(reference->blockTableRecord());
            piece.outline = sampleOutline(*entity);
            piece.extents = extents;
            job.pieces.push_back(std::move(piece));
        } else if (ZcDbPolyline::cast(entity) && entity->layer() == L"Sheet") {
            sheets.emplace_back(extents, sampleOutline(*entity));
        }
        entity->close();
    }
    std::sort(sheets.begin(), sheets.end(), [](const auto& a, const auto& b) {
        return a.first.minPoint().x < b.first.minPoint().x;
    });
    for (auto& [extents, outline] : sheets) {
        job.sheetExtents.push_back(extents);
        job.sheets.push_back(std::move(outline));
    }
    for (JobDrawing::Piece& piece : job.pieces) {
        for (std::size_t s = 0; s < job.sheetExtents.size(); ++s) {
            const ZcDbExtents& e = job.sheetExtents[s];
            const ZcGePoint3d& low = piece.extents.minPoint();
            if (std::hypot(low.x - e.maxPoint().x, low.y - e.minPoint().y) < 1e-6)
                piece.setDown = true;
            else if (low.x >= e.minPoint().x - 1e-6 && low.x < e.maxPoint().x)
                piece.sheet = static_cast<int>(s);
        }
    }
    return job;
}

double segmentDistance(const Point2& p, const Point2& a, const Point2& b) {
    const double ax = b.x - a.x, ay = b.y - a.y;
    const double length = ax * ax + ay * ay;
    const double t =
        length == 0.0 ? 0.0 : std::clamp(((p.x - a.x) * ax + (p.y - a.y) * ay) / length, 0.0, 1.0);
    return std::hypot(p.x - (a.x + t * ax), p.y - (a.y + t * ay));
}

// The least distance between two outlines that do not cross: every sampled point of one
// against the segments of the other's rings, both ways (exact for segments that do not cross);
// against the points of an outline without rings (a chain of loose curves).
double gapBetween(const Outline& a, const Outline& b) {
    double gap = std::numeric_limits<double>::infinity();
    auto oneWay = [&gap](const Outline& from, const Outline& to) {
        for (const Point2& p : from.points) {
            for (const auto& ring : to.rings)
                for (std::size_t i = 0; i < ring.size(); ++i)
                    gap = std::min(gap, segmentDistance(p, ring[i], ring[(i + 1) % ring.size()]));
            if (to.rings.empty())
                for (const Point2& q : to.points)
                    gap = std::min(gap, std::hypot(p.x - q.x, p.y - q.y));
        }
    };
    oneWay(a, b);
    oneWay(b, a);
    return gap;
}

// No overlap and nothing off the sheet on any sheet; every two pieces on a sheet at least
// spacing apart.
void expectSoundSheets(const JobDrawing& job, double spacing) {
    for (std::size_t s = 0; s < job.sheets.size(); ++s) {
        SCOPED_TRACE("sheet " + std::to_string(s + 1));
        std::vector<NamedOutline> placed;
        for (const JobDrawing::Piece& piece : job.pieces)
            if (piece.sheet == static_cast<int>(s) && !piece.setDown)
                placed.push_back({piece.handle + " (" + piece.block + ")", piece.outline});
        const std::vector<std::string> faults = findPlacementFaults(job.sheets[s], placed);
        EXPECT_TRUE(faults.empty()) << faults.front();
        for (std::size_t i = 0; i < placed.size(); ++i) {
            for (std::size_t j = i + 1; j < placed.size(); ++j) {
                const double gap = gapBetween(placed[i].outline, placed[j].outline);
                EXPECT_GE(gap, spacing - 1e-3) << placed[i].handle << " and " << placed[j].handle;
            }
        }
    }
}

class PartJobTest : public ::testing::Test {
protected:
    PartJobTest() : folder("gantrel-part-job") {
        WriteFile(folder / "empty.reg", "Windows Registry Editor Version 5.00\n");
    }

    Outcome nest(std::vector<std::string> args) {
        args.insert(args.begin(), "nest");
        return RunProgram(GANTREL_PROGRAM, std::move(args),
                          {"GANTREL_MODULE=" GANTREL_MODULE_FILE,
                           "GANTREL_REGISTRY=" + (folder / "empty.reg").string(),
                           "HOME=" + folder.path().string(), "PATH=/usr/bin:/bin"},
                          folder.path());
    }
    bool exists(const std::string& name) const { return fs::exists(folder / name); }

    TestFolder folder;
};

TEST_F(PartJobTest, EveryKindOfPartDrawingNestsWithItsCountOnSoundSheets) {
    WritePlate(folder / "plate.dxf", 40, 30);
    WritePart(folder / "rounded.dxf", [](ZcDbDatabase&, ZcDbBlockTableRecord& m) {
        const double b = 0.41421356237309503;
        AppendTo(m, ClosedPolyline({{{5, 0}, 0.0},
                                    {{45, 0}, b},
                                    {{50, 5}, 0.0},
                                    {{50, 25}, b},
                                    {{45, 30}, 0.0},
                                    {{5, 30}, b},
                                    {{0, 25}, 0.0},
                                    {{0, 5}, b}}));
    });
    WriteSlotOfLinesAndArcs(folder / "slot.dxf", 60, 10);
    WritePart(folder / "disc.dxf",
              [](ZcDbDatabase&, ZcDbBlockTableRecord& m) { AppendTo(m, Disc(0, 0, 15)); });
    WritePart(folder / "cam.dxf", [](ZcDbDatabase&, ZcDbBlockTableRecord& m) {
        ZcGePoint3dArray fit;
        for (const auto& [x, y] : {std::pair{0.0, 10.0},
                                   {20.0, 40.0},
                                   {45.0, 30.0},
                                   {40.0, 0.0},
                                   {15.0, -5.0},
                                   {0.0, 10.0}})
            fit.append({x, y, 0.0});
        AppendTo(m, new ZcDbSpline(fit));
    });
    WriteBlockPart(folder / "hub.dxf", L"HUB", 40, 30);
    WritePlateWithHolesAndText(folder / "holes.dxf", 60, 40);
    const std::map<std::string, int> counts = {
        {"plate.dxf", 3}, {"rounded.dxf", 2}, {"slot.dxf", 2}, {"disc.dxf", 3},
        {"cam.dxf", 2},   {"hub.dxf", 2},     {"holes.dxf", 2}};
    std::map<std::string, std::string> before;
    std::vector<std::string> args = {"--sheet-size", "160x100", "--spacing", "3",     "--seed", "2",
                                     "--json",       "-o",      "job.dxf",   "--svg", "job.svg"};
    for (const auto& [name, count] : counts) {
        before[name] = ReadFile(folder / name);
        args.push_back(name + "=" + std::to_string(count));
    }
    const Outcome o = nest(args);
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_TRUE(exists("job.svg"));
    for (const auto& [name, text] : before)
        EXPECT_EQ(ReadFile(folder / name), text) << name << " was changed";

    const JobSummary s = parseJob(o.out);
    ASSERT_EQ(s.files.size(), counts.size()) << o.out;
    EXPECT_EQ(s.unplaced, 0) << o.out;
    // The pieces take more than one sheet of this size.
    EXPECT_GE(s.sheetsUsed, 2) << o.out;
    const JobDrawing job = readJob(folder / "job.dxf");
    ASSERT_EQ(static_cast<int>(job.sheets.size()), s.sheetsUsed);
    std::map<std::string, std::vector<int>> drawn; // pieces of each block on each sheet
    for (const JobDrawing::Piece& piece : job.pieces) {
        EXPECT_FALSE(piece.setDown) << piece.handle;
        ASSERT_GE(piece.sheet, 0) << piece.handle << " lies on no sheet";
        drawn[piece.block].resize(job.sheets.size());
        ++drawn[piece.block][piece.sheet];
    }
    for (const auto& [name, count] : counts) {
        SCOPED_TRACE(name);
        const FileCounts& file = s.files.at(name);
        EXPECT_EQ(file.count, count);
        EXPECT_EQ(file.placed, count);
        EXPECT_EQ(file.perSheet, drawn[fs::path(name).stem().string()]);
    }
    expectSoundSheets(job, 3.0);
}

// Three plates each wider than half the sheet: one a sheet.
TEST_F(PartJobTest, PiecesLeftOverGoOnCopiesOfTheSheetToTheRight) {
    for (const char* name : {"a.dxf", "b.dxf", "c.dxf"})
        WritePlate(folder / name, 70, 40);
    const Outcome o = nest({"--sheet-size", "100x50", "a.dxf", "b.dxf", "c.dxf", "--json", "--seed",
                            "1", "-o", "three.dxf"});
    ASSERT_EQ(o.status, 0) << o.err;
    const JobSummary s = parseJob(o.out);
    EXPECT_EQ(s.sheetsUsed, 3) << o.out;
    EXPECT_EQ(s.placed, 3);
    EXPECT_EQ(s.unplaced, 0);
    EXPECT_NE(o.err.find("Sheet 3"), std::string::npos) << o.err;
    const JobDrawing job = readJob(folder / "three.dxf");
    ASSERT_EQ(job.sheets.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        // Each copy a tenth of the sheet's width to the right of the last.
        EXPECT_NEAR(job.sheetExtents[i].minPoint().x, 110.0 * static_cast<double>(i), 1e-9);
        EXPECT_NEAR(job.sheetExtents[i].maxPoint().y - job.sheetExtents[i].minPoint().y, 50.0,
                    1e-9);
    }
    std::vector<int> perSheet(3, 0);
    for (const JobDrawing::Piece& piece : job.pieces)
        if (piece.sheet >= 0 && !piece.setDown)
            ++perSheet[piece.sheet];
    EXPECT_EQ(perSheet, (std::vector<int>{1, 1, 1}));
    expectSoundSheets(job, 0.0);
}

// Three squares fit one sheet without spacing; with a wide spacing one a sheet, on every sheet.
TEST_F(PartJobTest, SettingsHoldOnEverySheet) {
    WritePlate(folder / "square.dxf", 45, 45);
    const Outcome close = nest(
        {"--sheet-size", "150x120", "square.dxf=3", "--json", "--seed", "1", "-o", "close.dxf"});
    ASSERT_EQ(close.status, 0) << close.err;
    EXPECT_EQ(parseJob(close.out).sheetsUsed, 1) << close.out;
    const Outcome apart = nest({"--sheet-size", "150x120", "square.dxf=3", "--spacing", "30",
                                "--json", "--seed", "1", "-o", "apart.dxf"});
    ASSERT_EQ(apart.status, 0) << apart.err;
    EXPECT_EQ(parseJob(apart.out).files.at("square.dxf").perSheet, (std::vector<int>{1, 1, 1}))
        << apart.out;
    expectSoundSheets(readJob(folder / "apart.dxf"), 30.0);
}

TEST_F(PartJobTest, SheetsLimitLeavesTheRestReportedAndSetDown) {
    WritePlate(folder / "a.dxf", 70, 40);
    WritePlate(folder / "b.dxf", 60, 45);
    const Outcome o = nest({"--sheet-size", "100x50", "a.dxf=2", "b.dxf", "--sheets", "1", "--json",
                            "--seed", "1", "-o", "one.dxf"});
    ASSERT_EQ(o.status, 0) << o.err;
    const JobSummary s = parseJob(o.out);
    EXPECT_EQ(s.sheetsUsed, 1);
    EXPECT_EQ(s.placed, 1);
    EXPECT_EQ(s.unplaced, 2);
    EXPECT_NE(o.err.find("Not placed on any sheet"), std::string::npos) << o.err;
    const JobDrawing job = readJob(folder / "one.dxf");
    ASSERT_EQ(job.sheets.size(), 1u);
    int setDown = 0;
    for (const JobDrawing::Piece& piece : job.pieces)
        setDown += piece.setDown ? 1 : 0;
    EXPECT_EQ(setDown, 2);
    EXPECT_EQ(job.pieces.size(), 3u);
}

TEST_F(PartJobTest, PartLargerThanTheSheetIsReportedAndNeverPlaced) {
    WritePlate(folder / "small.dxf", 30, 20);
    WritePlate(folder / "huge.dxf", 150, 20);
    const Outcome o = nest({"--sheet-size", "100x50", "small.dxf=3", "huge.dxf", "--json", "--seed",
                            "4", "-o", "big.dxf"});
    ASSERT_EQ(o.status, 0) << o.err;
    const JobSummary s = parseJob(o.out);
    EXPECT_EQ(s.sheetsUsed, 1) << "no sheet is added for a piece no sheet takes";
    EXPECT_EQ(s.files.at("small.dxf").placed, 3);
    EXPECT_EQ(s.files.at("huge.dxf").placed, 0);
    EXPECT_EQ(s.unplacedFiles, "\"huge.dxf\"");
    EXPECT_NE(o.err.find("huge.dxf (1)"), std::string::npos) << o.err;
    const JobDrawing job = readJob(folder / "big.dxf");
    int huge = 0;
    for (const JobDrawing::Piece& piece : job.pieces) {
        if (piece.block == "huge") {
            ++huge;
            EXPECT_TRUE(piece.setDown);
        }
    }
    EXPECT_EQ(huge, 1);
}

TEST_F(PartJobTest, SheetFromADrawingAndPartsInOtherUnits) {
    // A remnant in centimetres: 30 x 20 cm with a corner of 10 x 10 cm cut off diagonally.
    WritePart(
        folder / "remnant.dxf",
        [](ZcDbDatabase&, ZcDbBlockTableRecord& m) {
            AppendTo(m, ClosedPolyline({{{0, 0}, 0.0},
                                        {{30, 0}, 0.0},
                                        {{30, 10}, 0.0},
                                        {{20, 20}, 0.0},
                                        {{0, 20}, 0.0}}));
            AppendTo(m, Rectangle(2, 2, 3, 3)); // a smaller closed polyline is not the sheet
        },
        5);
    WritePlate(folder / "inch.dxf", 4, 2, 1); // 101.6 x 50.8 mm
    const Outcome o = nest({"--sheet-size", "remnant.dxf", "inch.dxf=3", "--json", "--seed", "1",
                            "-o", "rem.dxf", "--rotation-step", "90"});
    ASSERT_EQ(o.status, 0) << o.err;
    const JobDrawing job = readJob(folder / "rem.dxf");
    ASSERT_FALSE(job.sheets.empty());
    EXPECT_NEAR(gantrel::app::enclosedArea(job.sheets[0]), 55000.0, 1e-8 * 55000.0);
    ASSERT_FALSE(job.pieces.empty());
    for (const JobDrawing::Piece& piece : job.pieces)
        EXPECT_NEAR(gantrel::app::enclosedArea(piece.outline), 101.6 * 50.8, 1e-8 * 101.6 * 50.8);
    EXPECT_EQ(parseJob(o.out).placed, 3) << o.out;
    expectSoundSheets(job, 0.0);
}

TEST_F(PartJobTest, UnusablePartDrawingIsNamedAndNothingIsWritten) {
    WritePlate(folder / "good.dxf", 20, 10);
    WriteFile(folder / "notes.txt", "a shopping list, not a drawing\n");
    WritePart(folder / "open.dxf", [](ZcDbDatabase&, ZcDbBlockTableRecord& m) {
        AppendTo(m, new ZcDbLine({0, 0, 0}, {50, 0, 0}));
        AppendTo(m, new ZcDbLine({50, 0, 0}, {50, 30, 0}));
        AppendTo(m, new ZcDbArc({0, 30, 0}, 10, 0, kPi / 2));
        AppendTo(m, new ZcDbText({5, 5, 0}, L"NOT CLOSED", 3));
    });
    for (const std::string bad : {"missing.dxf", "notes.txt", "open.dxf"}) {
        SCOPED_TRACE(bad);
        const Outcome o = nest(
            {"--sheet-size", "100x50", "good.dxf=2", bad, "-o", "out.dxf", "--png", "out.png"});
        EXPECT_EQ(o.status, 2) << o.err;
        EXPECT_NE(o.err.find(bad), std::string::npos) << o.err;
        EXPECT_FALSE(exists("out.dxf"));
        EXPECT_FALSE(exists("out.png"));
    }
}

TEST_F(PartJobTest, BadJobCommandLinesAreRefusedBeforeAnythingRuns) {
    WritePlate(folder / "p.dxf", 20, 10);
    const std::vector<std::vector<std::string>> lines = {
        {"--sheet-size", "100x50", "p.dxf=0"},
        {"--sheet-size", "100x50", "p.dxf=many"},
        {"--sheet-size", "100x50", "p.dxf=40000"},
        {"--sheet-size", "100y50", "p.dxf"},
        {"--sheet-size", "0x50", "p.dxf"},
        {"--sheet-size", "100x50"},
        {"--sheet-size", "100x50", "p.dxf", "--sheets", "0"},
        {"--sheet-size", "100x50", "p.dxf", "--units", "cm"},
        {"--sheet-size", "100x50", "p.dxf", "--sheet", "A0"},
        {"p.dxf", "--sheets", "2"},
        {"p.dxf", "p.dxf"},
        {"--sheet-size", "100x50", "p.dxf", "-o", "p.dxf"},
    };
    for (const auto& args : lines) {
        SCOPED_TRACE(args.back());
        const Outcome o = nest(args);
        EXPECT_EQ(o.status, 1) << o.err;
        EXPECT_FALSE(o.err.empty());
        EXPECT_FALSE(exists("job-nested.dxf"));
    }
    // The part drawing named as the output is left as it was.
    const std::string part = ReadFile(folder / "p.dxf");
    EXPECT_EQ(nest({"--sheet-size", "100x50", "p.dxf=2", "-o", "./p.dxf"}).status, 1);
    EXPECT_EQ(ReadFile(folder / "p.dxf"), part);
}

} // namespace
