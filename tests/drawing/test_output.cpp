// Writing to the drawing: adding entities, entity lists, blocks, names, progress and observers.
//
// Invariants checked here:
// - an added entity ends up in the space or record asked for (model space or the current space
//   by default) and the services close every record they open;
// - "Erase all" erases every live object of its list even past a failure, and reports each
//   failure with its three texts;
// - a generated block name is never taken by a block in any letter case;
// - observers are notified in attach order, null entries skipped, and detaching removes every
//   entry of the observer.
#include <cstdio>
#include <filesystem>

#include "DrawingTest.h"
#include "drawing/Blocks.h"
#include "drawing/Entity.h"
#include "drawing/EntityList.h"
#include "drawing/Observer.h"
#include "drawing/ZWDrawer.h"
#include "drawing/ZWProgressBar.h"
#include "winhost.h"
#include "zcdball.h"

using namespace gantrel;

namespace {

class OutputTest : public DrawingTest {
protected:
    std::vector<ZcDbObjectId> entitiesOf(ZcDbObjectId block) {
        ZcDbBlockTableRecord* record = nullptr;
        EXPECT_EQ(zcdbOpenObject(record, block, ZcDb::kForRead), Zcad::eOk);
        std::vector<ZcDbObjectId> ids = record ? record->entityIds() : std::vector<ZcDbObjectId>{};
        if (record) {
            record->close();
        }
        return ids;
    }
    ZcDbObjectId addAttributeDefinition(ZcDbObjectId block, const wchar_t* tag, const wchar_t* text,
                                        bool constant, bool invisible) {
        auto* def = new ZcDbAttributeDefinition({0, 0, 0}, text, tag, L"prompt");
        def->setConstant(constant);
        def->setInvisible(invisible);
        return add(def, block);
    }
};

using IdList = std::vector<ZcDbObjectId>;

class Recorder : public Observer {
public:
    Recorder(std::vector<std::string>& log, std::string name, int value)
        : m_log(log), m_name(std::move(name)), m_value(value) {}
    int Update() override { return note("update"); }
    int Start() override { return note("start"); }
    int Event() override { return note("event"); }
    int Finish() override { return note("finish"); }

private:
    int note(const char* what) {
        m_log.push_back(m_name + " " + what);
        return m_value;
    }
    std::vector<std::string>& m_log;
    std::string m_name;
    int m_value;
};

class UpdateOnly : public Observer {
public:
    int Update() override { return ++updates; }
    int updates = 0;
};

} // namespace

TEST_F(OutputTest, DrawerAddsToSpacesAndRecords) {
    ZWDrawer drawer;
    EXPECT_EQ(drawer.Add(nullptr), 20);
    EXPECT_EQ(out, "ZWDrawer::Add");
    EXPECT_EQ(drawer.AddToSpace(nullptr), 20);

    auto* first = new ZcDbLine({0, 0, 0}, {1, 0, 0});
    EXPECT_EQ(drawer.Add(first), 0);
    const ZcDbObjectId firstId = first->objectId();
    first->close();
    EXPECT_EQ(entitiesOf(db().modelSpaceId()), IdList{firstId});

    // A record given open for read is reopened for write and closed.
    const ZcDbObjectId block = newBlock(L"TARGET");
    ZcDbBlockTableRecord* record = nullptr;
    ASSERT_EQ(zcdbOpenObject(record, block, ZcDb::kForRead), Zcad::eOk);
    auto* second = new ZcDbCircle({0, 0, 0}, ZcGeVector3d::kZAxis, 1);
    EXPECT_EQ(drawer.Add(second, record), 0);
    const ZcDbObjectId secondId = second->objectId();
    second->close();
    EXPECT_EQ(entitiesOf(block), IdList{secondId});

    const ZcDbObjectId line = drawer.AddLine({0, 0, 0}, {3, 4, 0});
    EXPECT_TRUE(Entity(line).IsLine());
    EXPECT_EQ(entitiesOf(db().currentSpaceId()).back(), line);
    const ZcDbObjectId inBlock = drawer.AddLine({0, 0, 0}, {1, 1, 0}, block);
    EXPECT_EQ(entitiesOf(block), (IdList{secondId, inBlock}));

    auto* third = new ZcDbLine({0, 0, 0}, {1, 0, 0});
    EXPECT_EQ(drawer.AddToSpace(third, line), 34);
    delete third;
    EXPECT_TRUE(drawer.AddLine({0, 0, 0}, {1, 0, 0}, line).isNull());

    ZcDbObjectId copy;
    EXPECT_EQ(drawer.AddCopy(ZcDbObjectId::kNull, copy), 3);
    EXPECT_TRUE(copy.isNull());
    EXPECT_EQ(drawer.AddCopy(block, copy), Zcad::eNotThatKindOfClass);
    EXPECT_EQ(drawer.AddCopy(secondId, copy), 0);
    EXPECT_NE(copy, secondId);
    EXPECT_TRUE(Entity(copy).IsCircle());
    EXPECT_EQ(entitiesOf(db().currentSpaceId()).back(), copy);
}

TEST_F(OutputTest, EraseAllGoesOnPastAnErasedObject) {
    const ZcDbObjectId a = addLine(0, 0, 1, 0);
    const ZcDbObjectId b = addLine(0, 1, 1, 1);
    const ZcDbObjectId c = addLine(0, 2, 1, 2);
    erase(b);
    EXPECT_EQ(EraseAll({a, b, c}), 0);
    EXPECT_TRUE(a.isErased());
    EXPECT_TRUE(c.isErased());
    const std::string erasedText = win::Narrow(zcadErrorStatusText(Zcad::eWasErased));
    const std::size_t label = out.find("Entities::Erase");
    const std::size_t status = out.find(" es: " + erasedText);
    const std::size_t handle = out.find(handleOf(b), status);
    ASSERT_NE(label, std::string::npos) << out;
    ASSERT_NE(status, std::string::npos) << out;
    ASSERT_NE(handle, std::string::npos) << out;
    EXPECT_LT(label, status);
    // One failure, one report.
    EXPECT_EQ(out.find("Entities::Erase", label + 1), std::string::npos);
}

TEST_F(OutputTest, ColourOfAllAndFind) {
    const ZcDbObjectId a = addLine(0, 0, 1, 0);
    const ZcDbObjectId b = addLine(0, 1, 1, 1);
    const ZcDbObjectId gone = addLine(0, 2, 1, 2);
    erase(gone);
    SetColorOfAll({a, gone, b}, 3);
    for (const ZcDbObjectId& id : {a, b}) {
        ZcDbEntity* e = nullptr;
        ASSERT_EQ(zcdbOpenObject(e, id, ZcDb::kForRead), Zcad::eOk);
        EXPECT_EQ(e->colorIndex(), 3);
        e->close();
    }
    const IdList list{a, b, a, gone};
    EXPECT_EQ(Find(list, a), 0);
    EXPECT_EQ(Find(list, a, 1), 2);
    EXPECT_EQ(Find(list, a, 3), -1);
    EXPECT_EQ(Find(list, gone, 0), 3);
    EXPECT_EQ(Find(list, b, -1), -1);
    EXPECT_EQ(Find(list, ZcDbObjectId::kNull), -1);
    EXPECT_EQ(Find(list, a, 99), -1);
}

TEST_F(OutputTest, BlockNamesAndLookUp) {
    const ZcDbObjectId block = newBlock(L"DOOR");
    addAttributeDefinition(block, L"WIDTH", L"900", false, false);
    addLine(0, 0, 1, 0, block);
    addAttributeDefinition(block, L"MAKER", L"Acme", true, false);
    addAttributeDefinition(block, L"NOTE", L"", false, true);
    auto* ref = new ZcDbBlockReference({5, 5, 0}, block);
    const ZcDbObjectId refId = add(ref);
    ZcDbBlockTableRecord* record = nullptr;
    ASSERT_EQ(zcdbOpenObject(record, block, ZcDb::kForWrite), Zcad::eOk);
    record->setOrigin({1, 2, 0});
    record->close();

    std::vector<std::wstring> names, withLayouts;
    Blocks().ListNames(names, true);
    Blocks().ListNames(withLayouts, false);
    EXPECT_EQ(names, std::vector<std::wstring>{L"DOOR"});
    EXPECT_GT(withLayouts.size(), names.size());
    EXPECT_EQ(withLayouts.back(), L"DOOR");

    const BlockByName door(L"door");
    ASSERT_TRUE(door.Exists());
    EXPECT_EQ(door.Id(), block);
    EXPECT_EQ(door.Name(), L"DOOR");
    EXPECT_EQ(door.Origin(), ZcGePoint3d(1, 2, 0));
    using Defs = std::vector<std::pair<std::wstring, std::wstring>>;
    EXPECT_EQ(door.AttributeDefinitions(), (Defs{{L"WIDTH", L"900"}, {L"NOTE", L""}}));
    EXPECT_EQ(door.AttributeDefinitions(true),
              (Defs{{L"WIDTH", L"900"}, {L"MAKER", L"Acme"}, {L"NOTE", L""}}));
    EXPECT_EQ(door.References(), IdList{refId});

    EXPECT_FALSE(BlockByName(L"WINDOW").Exists());
    EXPECT_TRUE(out.empty());
    EXPECT_FALSE(BlockByName(L"/no/such/folder/WINDOW.dxf", true).Exists());
    EXPECT_EQ(out, "\nIt's not possible to load file: /no/such/folder/WINDOW.dxf\n");
    // A path whose file name is a block of the drawing gives that block.
    EXPECT_EQ(BlockByName(L"C:\\blocks\\Door.dwg", true).Id(), block);
}

TEST_F(OutputTest, BlocksLoadFromDrawingFiles) {
    // A drawing file with a circle and an invisible attribute definition in model space.
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("gantrel-drawing-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const std::wstring file = (folder / "Valve.dxf").wstring();
    {
        ZcDbDatabase side;
        ZcDbBlockTableRecord* model = nullptr;
        ASSERT_EQ(zcdbOpenObject(model, side.modelSpaceId(), ZcDb::kForWrite), Zcad::eOk);
        auto* circle = new ZcDbCircle({0, 0, 0}, ZcGeVector3d::kZAxis, 2);
        model->appendZcDbEntity(circle);
        circle->close();
        auto* def = new ZcDbAttributeDefinition({0, 0, 0}, L"x", L"Hidden", L"?");
        def->setInvisible(true);
        model->appendZcDbEntity(def);
        def->close();
        model->close();
        ASSERT_EQ(side.saveAs(file.c_str()), Zcad::eOk);
    }

    BlockLoader missing;
    EXPECT_EQ(missing.Status(), 374);
    EXPECT_EQ(missing.Load((folder / "None.dxf").wstring(), L"NONE"), 76);
    EXPECT_TRUE(BlockByName(L"NONE").Id().isNull());

    const BlockByName valve(file, true);
    ASSERT_TRUE(valve.Exists()) << out;
    EXPECT_EQ(valve.Name(), L"Valve");
    const std::vector<ZcDbObjectId> inside = entitiesOf(valve.Id());
    ASSERT_EQ(inside.size(), 2u);
    EXPECT_TRUE(Entity(inside[0]).IsCircle());
    ZcDbAttributeDefinition* def = nullptr;
    ASSERT_EQ(zcdbOpenObject(def, inside[1], ZcDb::kForRead), Zcad::eOk);
    EXPECT_TRUE(def->isInvisible());
    EXPECT_EQ(def->tag(), L"Hidden");
    def->close();

    // A block of that name exists now: loading again changes nothing.
    BlockLoader again;
    EXPECT_EQ(again.Load(file, L"valve"), 0);
    EXPECT_EQ(again.BlockId(), valve.Id());
    EXPECT_EQ(entitiesOf(valve.Id()).size(), 2u);
    std::filesystem::remove_all(folder);
}

TEST_F(OutputTest, GeneratedNamesSkipTakenNamesInAnyCase) {
    newBlock(L"Q_1");
    newBlock(L"q_2");
    PseudoAnonymousBlockNameGenerator generator(L"Q_", 1);
    EXPECT_EQ(generator.NextName(), L"Q_3");
    EXPECT_EQ(generator.NextName(), L"Q_4");
    newBlock(L"q_6");
    EXPECT_EQ(generator.NextName(), L"Q_5");
    EXPECT_EQ(generator.NextName(), L"Q_7");
    // Layout names never block a name.
    PseudoAnonymousBlockNameGenerator spaces(L"*Model_Space", 0);
    EXPECT_EQ(spaces.NextName(), L"*Model_Space0");
}

TEST_F(OutputTest, ProgressBarShowsAndRestoresTheStatusBar) {
    {
        ZWProgressBar bar(L"Nesting");
        bar.Start(40);
        EXPECT_TRUE(session.progress().active);
        EXPECT_EQ(session.progress().label, L"Nesting");
        EXPECT_EQ(session.progress().maxPos, 40);
        bar.SetPosition(7);
        EXPECT_EQ(session.progress().pos, 7);
        bar.Finish();
        EXPECT_FALSE(session.progress().active);
        EXPECT_EQ(session.progress().restores, 1);
    }
    // The destructor finishes again.
    EXPECT_EQ(session.progress().restores, 2);
    EXPECT_TRUE(out.find("error catched") == std::string::npos);
}

TEST(SubjectObserver, AttachOrderDetachAndBroadcasts) {
    std::vector<std::string> log;
    Recorder a(log, "a", 1), b(log, "b", 2);
    UpdateOnly quiet;
    Subject subject;
    EXPECT_EQ(subject.NotifyStart(), 0);
    EXPECT_EQ(subject.Attach(&a), 1);
    EXPECT_EQ(subject.Attach(nullptr), 2);
    EXPECT_EQ(subject.Attach(&b), 3);
    EXPECT_EQ(subject.Attach(&quiet), 4);
    EXPECT_EQ(subject.Attach(&a), 5);
    EXPECT_EQ(subject.NotifyStart(), 1); // the last one called is a
    subject.NotifyUpdate();
    subject.NotifyEvent();
    subject.NotifyFinish();
    EXPECT_EQ(log, (std::vector<std::string>{"a start", "b start", "a start", "a update",
                                             "b update", "a update", "a event", "b event",
                                             "a event", "a finish", "b finish", "a finish"}));
    EXPECT_EQ(quiet.updates, 1);
    subject.Detach(&a);
    EXPECT_EQ(subject.ObserverCount(), 3);
    log.clear();
    EXPECT_EQ(subject.NotifyStart(), 0); // the last one called is quiet, with the default
    EXPECT_EQ(log, std::vector<std::string>{"b start"});
    subject.Detach(&a); // no entry left: nothing changes
    EXPECT_EQ(subject.ObserverCount(), 3);
}
