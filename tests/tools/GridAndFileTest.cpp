// The grid's lines and the coordinate file, on plain values: the counts without spacing to
// divide, the file's rounding, and a file that is written whole or not at all. The usual grids
// and files are checked end to end (ToolsRunTest.cpp).
#include "tools/CoordinateFile.h"
#include "tools/Grid_cmd.h"
#include "winhost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;
using gantrel::GridLine;
using gantrel::GridLines;

namespace {

ZcDbExtents Box(double x1, double y1, double x2, double y2) {
    ZcDbExtents box;
    box.addPoint({x1, y1, 0});
    box.addPoint({x2, y2, 0});
    return box;
}

std::string Show(const std::vector<GridLine>& lines) {
    std::ostringstream text;
    for (const GridLine& l : lines)
        text << l.start.x << ',' << l.start.y << '-' << l.end.x << ',' << l.end.y << ' ';
    return text.str();
}

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

TEST(GridLines, OneLineLiesAtTheMinimumEdgeAndNoneOrNegativeDrawNothing) {
    EXPECT_EQ(Show(GridLines(Box(5, 2, 35, 22), 1, 1)), "5,2-5,22 5,2-35,2 ");
    EXPECT_EQ(Show(GridLines(Box(0, 0, 30, 20), 2, 0)), "0,0-30,0 0,20-30,20 ");
    EXPECT_TRUE(GridLines(Box(0, 0, 30, 20), 0, 0).empty());
    EXPECT_TRUE(GridLines(Box(0, 0, 30, 20), -3, -1).empty());
    // A box of no width or height still gives finite coordinates.
    for (const GridLine& l : GridLines(Box(4, 4, 4, 4), 3, 1)) {
        for (double v : {l.start.x, l.start.y, l.end.x, l.end.y})
            EXPECT_TRUE(std::isfinite(v));
    }
}

TEST(CoordinateFile, FourDecimalsSemicolonsAndCarriageReturnLineFeed) {
    EXPECT_EQ(gantrel::CoordinateLines({{1, 2, 0}, {3.5, -4, 10}}),
              "1.0000;2.0000;0.0000\r\n3.5000;-4.0000;10.0000\r\n");
    EXPECT_EQ(gantrel::CoordinateLines({{-0.00004, 1e6 / 3, 2.00006}}),
              "-0.0000;333333.3333;2.0001\r\n");
    EXPECT_EQ(gantrel::CoordinateLines({}), "");
}

class WholeFile : public ::testing::Test {
protected:
    fs::path folder =
        fs::temp_directory_path() /
        ("gantrel-whole-file-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    WholeFile() { fs::create_directories(folder); }
    ~WholeFile() override { fs::remove_all(folder); }
    std::wstring Path(const fs::path& name) { return win::Widen((folder / name).string()); }
};

TEST_F(WholeFile, ReplacesAnExistingFileAndLeavesNothingBeside) {
    std::ofstream(folder / "p.csv") << "old text that is longer than the new one\n";
    ASSERT_TRUE(gantrel::WriteWholeFile(Path("p.csv"), "1;2;3\r\n"));
    EXPECT_EQ(ReadBytes(folder / "p.csv"), "1;2;3\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

TEST_F(WholeFile, AMissingFolderOrAFolderAsTargetFailsAndChangesNothing) {
    EXPECT_FALSE(gantrel::WriteWholeFile(Path("missing/p.csv"), "x"));
    fs::create_directory(folder / "taken.csv");
    EXPECT_FALSE(gantrel::WriteWholeFile(Path("taken.csv"), "x"));
    EXPECT_TRUE(fs::is_directory(folder / "taken.csv"));
    // Only the folder made above: no half-written file is left.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}
