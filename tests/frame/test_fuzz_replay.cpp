// The saved fuzz corpus of the help-map and settings parsers (tests/data/fuzz/frame), read as an
// ordinary test so that it runs under the sanitizers too.
#include "frame_fuzz_checks.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

TEST(FrameFuzzCorpus, EveryFileKeepsTheParsersInvariants) {
    const fs::path folder = fs::path(GANTREL_TEST_DATA) / "fuzz" / "frame";
    ASSERT_TRUE(fs::exists(folder));
    std::size_t files = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (!entry.is_regular_file() || entry.path().filename() == "README.md") {
            continue;
        }
        ++files;
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), {});
        EXPECT_EQ(framefuzz::CheckAll(bytes), "") << entry.path().filename();
    }
    EXPECT_GE(files, 10u);
}

} // namespace
