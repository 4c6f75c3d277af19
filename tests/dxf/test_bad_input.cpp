// Files that cannot be read are refused with a message naming the file and the line, and leave
// the database as it was; files read leniently report each repair; an entity of an unknown
// kind is kept and written back. Saving writes a temporary file and renames it.
#include <filesystem>
#include <fstream>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>

#include "drawings.h"
#include "dxf_groups.h"
#include "raw_objects.h"
#include "test_support.h"

using namespace dxftest;
namespace fs = std::filesystem;

namespace {

const char* kMinimal = "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n10\n1\n20\n2\n30\n0\n11\n3\n21\n4\n"
                       "31\n0\n0\nENDSEC\n0\nEOF\n";

gantrel::dxf::ReadResult readText(const std::string& text, ZcDbDatabase& db) {
    return gantrel::dxf::readDxfText(db, text, "bad.dxf");
}

TEST(BadInput, TruncatedFileIsRefusedAtItsEnd) {
    const std::string full = save(ZcDbDatabase());
    for (std::size_t cut : {full.size() / 3, full.size() / 2, full.size() - 10}) {
        // Cut at a line end, so that each case is a file that simply stops.
        const std::size_t at = full.rfind('\n', cut) + 1;
        ZcDbDatabase db(false);
        const auto result = readText(full.substr(0, at), db);
        EXPECT_FALSE(result.ok);
        EXPECT_TRUE(result.message.starts_with("bad.dxf:")) << result.message;
        EXPECT_NE(result.message.find("truncated"), std::string::npos) << result.message;
        EXPECT_GT(result.line, 0u);
    }
}

TEST(BadInput, GroupCodeWithoutItsValueNamesTheLine) {
    ZcDbDatabase db(false);
    const auto result = readText("0\nSECTION\n2\nENTITIES\n0\nLINE\n10", db);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.line, 7u);
    EXPECT_EQ(result.message, "bad.dxf:7: the file ends after group code 10 (truncated)");
}

TEST(BadInput, BinaryAndDwgFilesAreRefused) {
    ZcDbDatabase db(false);
    const std::string binary = std::string("AutoCAD Binary DXF\r\n\x1a\0", 22) + "\x00\x00";
    auto result = readText(binary, db);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, "bad.dxf:1: this is a binary DXF file; only ASCII DXF is read");
    result = readText(std::string("AC1032\0\0\0\0\x01", 11), db);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.message.find("DWG"), std::string::npos);
}

TEST(BadInput, UnreadableNumberIsAnErrorOfItsLine) {
    std::string text = kMinimal;
    text.replace(text.find("20\n2\n"), 5, "20\n2,5\n");
    ZcDbDatabase db(false);
    const auto result = readText(text, db);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.line, 12u); // the value line of group 20
    EXPECT_EQ(result.message, "bad.dxf:12: group code 20: \"2,5\" is not a number");
}

TEST(BadInput, GarbageGroupCodeAndMissingSectionEnd) {
    ZcDbDatabase db(false);
    auto result = readText("0\nSECTION\n2\nENTITIES\nabc\nLINE\n", db);
    EXPECT_EQ(result.message, "bad.dxf:5: expected a group code, found \"abc\"");
    result = readText("0\nSECTION\n2\nENTITIES\n0\nSECTION\n2\nOBJECTS\n0\nENDSEC\n0\nEOF\n", db);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.line, 5u);
    EXPECT_NE(result.message.find("not closed by ENDSEC"), std::string::npos);
    result = readText("", db);
    EXPECT_FALSE(result.ok);
}

TEST(BadInput, RefusedFileLeavesTheDatabaseAsItWas) {
    ZcDbDatabase db;
    append(db, new ZcDbLine({0, 0, 0}, {1, 1, 0}));
    const std::string before = save(db);
    std::string text = kMinimal;
    text.resize(text.size() - 8); // without "0\nEOF\n" and more
    EXPECT_FALSE(readText(text, db).ok);
    EXPECT_EQ(save(db), before);
}

TEST(BadInput, UnknownEntityAndObjectAreKeptAndWrittenBack) {
    const std::string text =
        "0\nSECTION\n2\nENTITIES\n"
        "0\nACME_GADGET\n5\nA1\n100\nAcDbEntity\n8\nParts\n62\n5\n100\nAcmeGadget\n10\n1.5\n"
        "20\n2.5\n1\nwidget ż\n1001\nACME\n1000\nkept\n"
        "0\nENDSEC\n0\nSECTION\n2\nOBJECTS\n0\nDICTIONARY\n5\nC\n330\n0\n100\nAcDbDictionary\n"
        "3\nACME_STORE\n350\nA2\n0\nACME_STORE\n5\nA2\n330\nC\n100\nAcmeStore\n90\n42\n"
        "0\nENDSEC\n0\nEOF\n";
    ZcDbDatabase db(false);
    const auto result = readText(text, db);
    ASSERT_TRUE(result.ok) << result.message;
    const auto* gadget = objectByHandle<ZcDbRawEntity>(db, 0xA1);
    ASSERT_NE(gadget, nullptr);
    EXPECT_EQ(gadget->dxfName(), "ACME_GADGET");
    EXPECT_EQ(gadget->layer(), L"Parts");
    EXPECT_EQ(gadget->colorIndex(), 5);
    const auto written = parseGroups(save(db));
    const auto gadgets = recordsNamed(written, "ACME_GADGET");
    ASSERT_EQ(gadgets.size(), 1u);
    EXPECT_EQ(valueOf(*gadgets[0], 10), "1.5");
    EXPECT_EQ(valueOf(*gadgets[0], 1), "widget ż");
    EXPECT_EQ(valueOf(*gadgets[0], 1000), "kept");
    const auto stores = recordsNamed(written, "ACME_STORE");
    ASSERT_EQ(stores.size(), 1u);
    EXPECT_EQ(valueOf(*stores[0], 90), "42");
    // The layer and the application it names are repairs of the file, and reported.
    ASSERT_EQ(result.repairs.size(), 2u);
    EXPECT_NE(result.repairs[0].find("\"Parts\""), std::string::npos);
    EXPECT_NE(result.repairs[1].find("\"ACME\""), std::string::npos);
}

TEST(BadInput, StructuralFaultsAreRepairedAndReported) {
    // A reference to an undefined block, an ATTRIB on its own, a polyline without SEQEND, a
    // circle with a negative radius (kept raw) and a duplicate handle.
    const std::string text =
        "0\nSECTION\n2\nENTITIES\n"
        "0\nINSERT\n5\n10\n8\n0\n2\nNOWHERE\n10\n0\n20\n0\n30\n0\n"
        "0\nCIRCLE\n5\n12\n8\n0\n10\n0\n20\n0\n30\n0\n40\n-1\n"
        "0\nATTRIB\n5\n11\n8\n0\n10\n0\n20\n0\n30\n0\n40\n1\n1\nx\n2\nT\n70\n0\n"
        "0\nPOINT\n5\n12\n8\n0\n10\n0\n20\n0\n30\n0\n"
        "0\nPOLYLINE\n5\n13\n8\n0\n66\n1\n10\n0\n20\n0\n30\n0\n70\n0\n"
        "0\nVERTEX\n5\n14\n8\n0\n10\n1\n20\n1\n30\n0\n"
        "0\nENDSEC\n0\nEOF\n";
    ZcDbDatabase db(false);
    const auto result = readText(text, db);
    ASSERT_TRUE(result.ok) << result.message;
    std::string all;
    for (const std::string& r : result.repairs)
        all += r + "\n";
    EXPECT_NE(all.find("block \"NOWHERE\" is not defined"), std::string::npos) << all;
    EXPECT_NE(all.find("ATTRIB without the entity"), std::string::npos) << all;
    EXPECT_NE(all.find("CIRCLE kept as raw data"), std::string::npos) << all;
    EXPECT_NE(all.find("handle 12 is used twice"), std::string::npos) << all;
    EXPECT_NE(all.find("POLYLINE without SEQEND"), std::string::npos) << all;
    EXPECT_NE(all.find("bad.dxf:"), std::string::npos);
    // The raw circle is written back with its data.
    const auto written = parseGroups(save(db));
    const auto circles = recordsNamed(written, "CIRCLE");
    ASSERT_EQ(circles.size(), 1u);
    EXPECT_EQ(valueOf(*circles[0], 40), "-1");
}

TEST(BadInput, AGroupMemberOfNoObjectIsDroppedAndReported) {
    // Group "Parts" names lines 20 and 21 around handle 99, which nothing has.
    const std::string text = "0\nSECTION\n2\nENTITIES\n"
                             "0\nLINE\n5\n20\n8\n0\n10\n0\n20\n0\n30\n0\n11\n1\n21\n0\n31\n0\n"
                             "0\nLINE\n5\n21\n8\n0\n10\n0\n20\n1\n30\n0\n11\n1\n21\n1\n31\n0\n"
                             "0\nENDSEC\n0\nSECTION\n2\nOBJECTS\n"
                             "0\nDICTIONARY\n5\nC\n100\nAcDbDictionary\n3\nACAD_GROUP\n350\nD\n"
                             "0\nDICTIONARY\n5\nD\n330\nC\n100\nAcDbDictionary\n3\nParts\n350\nE\n"
                             "0\nGROUP\n5\nE\n330\nD\n100\nAcDbGroup\n300\nCut\n70\n0\n71\n1\n"
                             "340\n21\n340\n99\n340\n20\n"
                             "0\nENDSEC\n0\nEOF\n";
    ZcDbDatabase db(false);
    const auto result = readText(text, db);
    ASSERT_TRUE(result.ok) << result.message;
    ASSERT_EQ(result.repairs.size(), 1u);
    EXPECT_EQ(result.repairs[0], "bad.dxf:85: handle 99 refers to no object");
    ZcDbDictionary* groups = nullptr;
    ASSERT_EQ(db.getGroupDictionary(groups, ZcDb::kForRead), Zcad::eOk);
    ZcDbObject* obj = nullptr;
    ASSERT_EQ(groups->getAt(L"Parts", obj, ZcDb::kForRead), Zcad::eOk);
    groups->close();
    const ZcDbGroup* group = ZcDbGroup::cast(obj);
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->description(), L"Cut");
    std::vector<std::uint64_t> members;
    for (const ZcDbObjectId& id : group->allEntityIds())
        members.push_back(id.handle().value());
    obj->close();
    EXPECT_EQ(members, (std::vector<std::uint64_t>{0x21, 0x20}));
}

class FileOperations : public ::testing::Test {
protected:
    void SetUp() override {
        folder =
            fs::temp_directory_path() /
            ("gantrel-dxf-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override {
        fs::permissions(folder, fs::perms::owner_all);
        fs::remove_all(folder);
    }
    fs::path folder;
};

TEST_F(FileOperations, DrawingFilesUnderADwgNameAndBackslashPathsAreRead) {
    ZcDbDatabase db;
    append(db, new ZcDbLine({0, 0, 0}, {2, 0, 0}));
    const fs::path path = folder / "part.dwg";
    ASSERT_EQ(db.saveAs(path.wstring().c_str()), Zcad::eOk);
    ZcDbDatabase side(false);
    ASSERT_EQ(side.readDwgFile(path.wstring().c_str()), Zcad::eOk)
        << side.lastErrorMessage().size();
    EXPECT_EQ(entitiesOf<ZcDbLine>(side).size(), 1u);
    // A database with the default drawing is replaced by the file's content.
    ZcDbDatabase replaced;
    std::wstring windows = path.wstring();
    for (wchar_t& c : windows)
        if (c == L'/')
            c = L'\\';
    ASSERT_EQ(replaced.readDwgFile(windows.c_str()), Zcad::eOk);
    EXPECT_EQ(entitiesOf<ZcDbLine>(replaced).size(), 1u);
}

TEST_F(FileOperations, ReadFailuresHaveTheirStatusesAndMessages) {
    ZcDbDatabase db(false);
    const fs::path missing = folder / "missing.dxf";
    EXPECT_EQ(db.readDwgFile(missing.wstring().c_str()), Zcad::eFileNotFound);
    EXPECT_NE(db.lastErrorMessage().find(L"missing.dxf"), std::wstring::npos);
    const fs::path bad = folder / "bad.dxf";
    writeFile(bad.string(), "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\nx\n");
    EXPECT_EQ(db.readDwgFile(bad.wstring().c_str()), Zcad::eBadDxfSequence);
    EXPECT_EQ(db.lastErrorMessage(), bad.wstring() + L":8: group code 10: \"x\" is not a number");
}

TEST_F(FileOperations, FailedSaveLeavesTheOldFileWhole) {
    ZcDbDatabase db;
    append(db, new ZcDbCircle({0, 0, 0}, ZcGeVector3d::kZAxis, 1.0));
    const fs::path path = folder / "drawing.dxf";
    ASSERT_EQ(db.saveAs(path.wstring().c_str()), Zcad::eOk);
    const std::string before = readFile(path.string());
    append(db, new ZcDbCircle({5, 0, 0}, ZcGeVector3d::kZAxis, 1.0));
    // A folder that cannot be written to: the temporary file cannot be made.
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    if (::access(folder.c_str(), W_OK) == 0)
        GTEST_SKIP() << "running with rights that ignore folder permissions";
    EXPECT_EQ(db.saveAs(path.wstring().c_str()), Zcad::eFileAccessErr);
    EXPECT_NE(db.lastErrorMessage().find(L"drawing.dxf"), std::wstring::npos);
    fs::permissions(folder, fs::perms::owner_all);
    EXPECT_EQ(readFile(path.string()), before);
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(folder))
        ++files;
    EXPECT_EQ(files, 1u); // no temporary file left behind
}

TEST_F(FileOperations, SaveThatRunsOutOfRoomLeavesTheOldFileWhole) {
    ZcDbDatabase db;
    append(db, new ZcDbCircle({0, 0, 0}, ZcGeVector3d::kZAxis, 1.0));
    const fs::path path = folder / "drawing.dxf";
    ASSERT_EQ(db.saveAs(path.wstring().c_str()), Zcad::eOk);
    const std::string before = readFile(path.string());
    ASSERT_GT(before.size(), 4096u);
    append(db, new ZcDbCircle({5, 0, 0}, ZcGeVector3d::kZAxis, 1.0));
    // Files may grow to 4 KB only, for every user including root: the temporary file is made,
    // and writing it fails part of the way through, as on a full disk.
    rlimit limit{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit small{std::min<rlim_t>(4096, limit.rlim_max), limit.rlim_max};
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const Zcad::ErrorStatus saved = db.saveAs(path.wstring().c_str());
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(saved, Zcad::eFileAccessErr);
    EXPECT_NE(db.lastErrorMessage().find(L"drawing.dxf"), std::wstring::npos);
    EXPECT_EQ(readFile(path.string()), before);
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(folder))
        ++files;
    EXPECT_EQ(files, 1u); // no temporary file left behind
}

TEST_F(FileOperations, SaveThatFailsWhileWritingLeavesTheOldFileWhole) {
    ZcDbDatabase db;
    append(db, new ZcDbCircle({0, 0, 0}, ZcGeVector3d::kZAxis, 1.0));
    const fs::path path = folder / "drawing.dxf";
    ASSERT_EQ(db.saveAs(path.wstring().c_str()), Zcad::eOk);
    const std::string before = readFile(path.string());
    // A database without its tables cannot be written; the failure comes after the temporary
    // file was made.
    ZcDbDatabase empty(false);
    EXPECT_EQ(empty.saveAs(path.wstring().c_str()), Zcad::eFileAccessErr);
    EXPECT_NE(empty.lastErrorMessage().find(L"block table"), std::wstring::npos);
    EXPECT_EQ(readFile(path.string()), before);
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(folder))
        ++files;
    EXPECT_EQ(files, 1u);
}

TEST_F(FileOperations, SaveReplacesTheFileAndKeepsItsPermissions) {
    const fs::path path = folder / "drawing.dxf";
    writeFile(path.string(), "old");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ZcDbDatabase db;
    ASSERT_EQ(db.saveAs(path.wstring().c_str()), Zcad::eOk);
    EXPECT_TRUE(readFile(path.string()).starts_with("  0\nSECTION\n"));
    EXPECT_EQ(fs::status(path).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

} // namespace

TEST(BadInput, UndefinedLayersAndApplicationsAreMadeWhereverTheTablesStand) {
    // The tables come after the entities: "A" and "APPX" are defined there, "Ghost" and
    // "NOAPP" nowhere. Entities alternate layers, as the reader keeps the last one it knew.
    auto line = [](const std::string& handle, const std::string& layer, const std::string& app) {
        std::string r = "0\nLINE\n5\n" + handle + "\n8\n" + layer +
                        "\n10\n0\n20\n0\n30\n0\n11\n1\n21\n1\n31\n0\n";
        if (!app.empty())
            r += "1001\n" + app + "\n1000\nx\n";
        return r;
    };
    const std::string text = "0\nSECTION\n2\nENTITIES\n" + line("20", "A", "") +
                             line("21", "0", "") + line("22", "Ghost", "") +
                             line("23", "A", "APPX") + line("24", "Ghost", "NOAPP") +
                             line("25", "0", "NOAPP") +
                             "0\nENDSEC\n0\nSECTION\n2\nTABLES\n"
                             "0\nTABLE\n2\nLAYER\n0\nLAYER\n5\n30\n2\nA\n70\n0\n62\n1\n6\n"
                             "CONTINUOUS\n0\nENDTAB\n"
                             "0\nTABLE\n2\nAPPID\n0\nAPPID\n5\n31\n2\nAPPX\n70\n0\n0\nENDTAB\n"
                             "0\nENDSEC\n0\nEOF\n";
    ZcDbDatabase db(false);
    const auto result = readText(text, db);
    ASSERT_TRUE(result.ok) << result.message;
    std::vector<std::string> made;
    for (const std::string& r : result.repairs)
        if (r.find("it is made") != std::string::npos || r.find("registered") != std::string::npos)
            made.push_back(r);
    ASSERT_EQ(made.size(), 2u);
    EXPECT_NE(made[0].find("layer \"Ghost\""), std::string::npos);
    EXPECT_NE(made[1].find("application \"NOAPP\""), std::string::npos);
    ZcDbLayerTable* layers = nullptr;
    ASSERT_EQ(db.getLayerTable(layers, ZcDb::kForRead), Zcad::eOk);
    EXPECT_TRUE(layers->has(L"A"));
    EXPECT_TRUE(layers->has(L"Ghost"));
    layers->close();
}
