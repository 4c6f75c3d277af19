// The saved fuzz corpus (tests/data/fuzz/dxf), read as an ordinary test so that it runs under
// the sanitizers: every file is read or refused with a message naming it and its line; a file
// read is written, and what is written reads again with nothing left to repair.
#include <filesystem>

#include "dxf_groups.h"
#include "test_support.h"

using namespace dxftest;
namespace fs = std::filesystem;

namespace {

TEST(FuzzCorpus, EveryFileIsReadOrRefusedCleanly) {
    const fs::path folder = dataPath("fuzz/dxf");
    ASSERT_TRUE(fs::exists(folder));
    std::size_t files = 0, read = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (!entry.is_regular_file())
            continue;
        ++files;
        const std::string name = entry.path().filename().string();
        const std::string text = readFile(entry.path().string());
        ZcDbDatabase db(false);
        const auto result = gantrel::dxf::readDxfText(db, text, name);
        if (!result.ok) {
            EXPECT_TRUE(result.message.starts_with(name + ":")) << result.message;
            continue;
        }
        ++read;
        const std::string written = save(db);
        ZcDbDatabase again(false);
        const auto second = gantrel::dxf::readDxfText(again, written, name + " (written)");
        EXPECT_TRUE(second.ok) << second.message;
        // Records kept raw stay raw: the only repairs left say so again.
        for (const std::string& repair : second.repairs)
            EXPECT_NE(repair.find("kept as"), std::string::npos) << repair;
    }
    EXPECT_GE(files, 24u);
    EXPECT_GT(read, 0u);
    EXPECT_LT(read, files);
}

} // namespace
