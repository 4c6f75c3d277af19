// Selection, prompts, system variables and result-buffer chains.
//
// Invariants checked here:
// - an EntitySelector keeps "PICKSTYLE" at 0 while it lives and restores the earlier value when
//   it ends, whether the selection was made or cancelled;
// - a cancelled selection gives an empty list (180 from Select);
// - prompts are shown exactly as the host receives them ("\n" + prompt, ":<default>", ": ");
// - a ResBuf chain is released once, as a whole, when its owner ends (checked under ASan);
//   an owner that never appended releases nothing.
#include "DrawingTest.h"
#include "drawing/ResBuf.h"
#include "drawing/UserInput.h"
#include "zcdball.h"
#include "zcdbhost.h"
#include "zced.h"

using namespace gantrel;

namespace {

class InputTest : public DrawingTest {
protected:
    InputTest() {
        line = addLine(0, 0, 10, 0);
        circle = addCircle(20, 5, 2);
        square = addRectangle(30, 0, 10, 10);
    }
    std::string hash(ZcDbObjectId id) const { return "#" + handleOf(id); }
    int pickStyle() const { return ZWVariable(L"PICKSTYLE").GetInt(); }

    ZcDbObjectId line, circle, square;
};

using IdList = std::vector<ZcDbObjectId>;

} // namespace

TEST_F(InputTest, SelectorSetsPickStyleToZeroAndRestoresIt) {
    ASSERT_TRUE(SetIntVariable(L"PICKSTYLE", 3));
    {
        EntitySelector selector(EntitySelector::Interactive);
        EXPECT_EQ(selector.SavedPickStyle(), 3);
        EXPECT_EQ(pickStyle(), 0);
        input.pushCancel();
        EXPECT_EQ(selector.Select(), kSelectionCancelled);
        EXPECT_TRUE(selector.Ids().empty());
        EXPECT_EQ(pickStyle(), 0);
    }
    EXPECT_EQ(pickStyle(), 3);
    input.pushCancel();
    EXPECT_TRUE(SelectEntities().empty());
    input.pushCancel();
    EXPECT_TRUE(SelectIds(L"Select parts").empty());
    EXPECT_EQ(pickStyle(), 3);
    EXPECT_EQ(session.selectionSetCount(), 0u);
}

TEST_F(InputTest, SelectionModesAndPickPoint) {
    {
        EntitySelector all(EntitySelector::All);
        EXPECT_EQ(all.Select(), 0);
        EXPECT_EQ(all.Ids(), (IdList{line, circle, square}));
        EXPECT_EQ(all.PickPoint(), ZcGePoint3d::kOrigin);
    }
    {
        EntitySelector last(EntitySelector::Last);
        EXPECT_EQ(last.Select(), 0);
        EXPECT_EQ(last.Ids(), IdList{square});
    }
    input.push("20,7");
    EntitySelector picked(EntitySelector::Interactive);
    EXPECT_EQ(picked.Select(), 0);
    EXPECT_EQ(picked.Ids(), IdList{circle});
    EXPECT_EQ(picked.PickPoint(), ZcGePoint3d(20, 7, 0));

    session.impliedSelection() = {square, line};
    EXPECT_EQ(SelectImplied(), (IdList{square, line}));
    input.push(hash(circle) + " " + hash(line));
    EXPECT_EQ(SelectIds(L"ignored"), (IdList{circle, line}));
    // An empty answer is no selection: an empty list, not a cancel.
    input.push("");
    EXPECT_TRUE(SelectEntities().empty());
    // Every host selection set was freed.
    EXPECT_EQ(session.selectionSetCount(), 0u);
    EXPECT_EQ(std::string(EntitySelector::ModeString(EntitySelector::Single) ? "S" : ""), "S");
    EXPECT_EQ(EntitySelector::ModeString(EntitySelector::Interactive), nullptr);
    EXPECT_EQ(std::wstring(EntitySelector::ModeString(EntitySelector::Window)), L"W");
}

TEST_F(InputTest, UserInputPicksAndIntegers) {
    ZWUserInput pick(L"Pick a curve");
    EXPECT_EQ(pick.Status(), RTNIL);
    EXPECT_EQ(pick.GetPrompt(), L"\nPick a curve");
    input.push(hash(circle));
    EXPECT_EQ(pick.PickEntity(), RTENAME);
    EXPECT_EQ(pick.Picked(), circle);
    EXPECT_EQ(pick.Status(), RTENAME);
    input.pushCancel();
    EXPECT_EQ(pick.PickEntity(), RTCAN);
    EXPECT_TRUE(out.find("\nPick a curve") != std::string::npos);

    ZWUserInput count(L"Number of rows");
    int value = -1;
    input.push("");
    EXPECT_EQ(count.GetInt(value, 5), RTNORM);
    EXPECT_EQ(value, 5);
    EXPECT_TRUE(out.find("Number of rows:<5>") != std::string::npos);
    ZWUserInput other(L"Columns");
    input.push("12");
    EXPECT_EQ(other.GetInt(value, 3), RTNORM);
    EXPECT_EQ(value, 12);
    input.pushCancel();
    EXPECT_EQ(ZWUserInput(L"Rows").GetInt(value, 3), RTCAN);
    EXPECT_EQ(value, 12);
}

TEST_F(InputTest, PickPolylineAsksUntilAPolylineOrEsc) {
    input.push(hash(line)).push(hash(circle)).push(hash(square));
    EXPECT_EQ(PickPolyline(L"\nSheet: "), square);
    EXPECT_EQ(input.pending(), 0u);
    auto* polyline2d = new ZcDb2dPolyline;
    polyline2d->appendVertex(new ZcDb2dVertex({0, 0, 0}));
    polyline2d->appendVertex(new ZcDb2dVertex({1, 5, 0}));
    const ZcDbObjectId old = add(polyline2d);
    input.push(hash(old));
    EXPECT_EQ(PickPolyline(L"\nSheet: "), old);
    input.push(hash(line)).pushCancel();
    EXPECT_TRUE(PickPolyline(L"\nSheet: ").isNull());
}

TEST_F(InputTest, PointsAndCorners) {
    ZcGePoint3d p;
    input.push("3,4");
    EXPECT_EQ(GetPointFromUser(p, L"First corner"), RTNORM);
    EXPECT_EQ(p, ZcGePoint3d(3, 4, 0));
    EXPECT_TRUE(out.find("\nFirst corner: ") != std::string::npos);
    // Enter and Esc alike answer RTERROR and leave the point.
    input.push("");
    EXPECT_EQ(GetPointFromUser(p, L"Next"), RTERROR);
    input.pushCancel();
    EXPECT_EQ(GetPointFromUser(p, L"Next"), RTERROR);
    EXPECT_EQ(p, ZcGePoint3d(3, 4, 0));
    const ZcGePoint3d base(1, 1, 0);
    input.push("7,8,9");
    EXPECT_EQ(GetCornerFromUser(p, L"Other corner", &base, false), RTNORM);
    EXPECT_EQ(p, ZcGePoint3d(7, 8, 9));
    EXPECT_EQ(GetCornerFromUser(p, L"Other corner"), RTERROR); // a corner needs its base
    EXPECT_EQ(UserToWorld(WorldToUser({1, 2, 3})), ZcGePoint3d(1, 2, 3));
}

TEST_F(InputTest, VariablesAndQuietCommands) {
    ASSERT_TRUE(SetIntVariable(L"CMDECHO", 1));
    const int regens = session.regenCount();
    EXPECT_EQ(RunQuietly(L"_REGEN"), RTNORM);
    EXPECT_EQ(session.regenCount(), regens + 1);
    EXPECT_EQ(ZWVariable(L"cmdecho").GetInt(), 1);
    EXPECT_FALSE(SetIntVariable(L"NOSUCHVARIABLE", 1));
    EXPECT_EQ(ZWVariable(L"NOSUCHVARIABLE").GetInt(), 0);
    EXPECT_EQ(GetRealVariable(L"NOSUCHVARIABLE"), 0.0);
    db().setHeaderVar(L"DIMSCALE", 2.5);
    EXPECT_EQ(GetRealVariable(L"DIMSCALE"), 2.5);
}

TEST_F(InputTest, FilterByTypeKeepsLiveObjectsOfTheClass) {
    const ZcDbObjectId arc = addArc(0, 0, 1, 0, 1);
    const ZcDbObjectId gone = addLine(5, 5, 6, 6);
    erase(gone);
    IdList curves;
    FilterByType({line, circle, gone, db().modelSpaceId(), arc}).Filter(ZcDbCurve::desc(), curves);
    EXPECT_EQ(curves, (IdList{line, circle, arc}));
    IdList lines{square};
    FilterByType({line, gone, arc}).Filter(ZcDbLine::desc(), lines);
    EXPECT_EQ(lines, (IdList{square, line}));
}

TEST_F(InputTest, ResultBufferChainInAppendOrder) {
    ResBuf empty;
    EXPECT_EQ(empty.Head(), nullptr);

    std::wstring text = L"LINE";
    ResBuf chain;
    chain.BeginOr();
    chain.AddTyped(0, text.c_str());
    chain.AddString(L"abc");
    chain.EndOr();
    chain.AddReal(2.5);
    chain.AddShort(70000); // kept as 16 bits
    chain.AddPoint({1, 2, 3});
    chain.AddEntity(circle);
    chain.BeginNot();
    chain.EndNot();
    chain.BeginAnd();
    chain.EndAnd();
    chain.AddSelection({line, ZcDbObjectId::kNull, square});
    text = L"changed"; // the chain keeps its own copy

    std::vector<short> types;
    for (const resbuf* rb = chain.Head(); rb != nullptr; rb = rb->rbnext) {
        types.push_back(rb->restype);
    }
    EXPECT_EQ(types, (std::vector<short>{-4, 0, RTSTR, -4, RTREAL, RTSHORT, RTPOINT, RTENAME, -4,
                                         -4, -4, -4, RTPICKS}));
    const resbuf* rb = chain.Head();
    EXPECT_EQ(std::wstring(rb->resval.rstring), L"<OR");
    rb = rb->rbnext;
    EXPECT_EQ(std::wstring(rb->resval.rstring), L"LINE");
    rb = rb->rbnext->rbnext;
    EXPECT_EQ(std::wstring(rb->resval.rstring), L"OR>");
    rb = rb->rbnext->rbnext;
    EXPECT_EQ(rb->resval.rint, static_cast<short>(70000 & 0xFFFF));
    rb = rb->rbnext;
    EXPECT_EQ(rb->resval.rpoint[2], 3.0);
    rb = rb->rbnext;
    ZcDbObjectId named;
    EXPECT_EQ(zcdbGetObjectId(named, rb->resval.rlname), Zcad::eOk);
    EXPECT_EQ(named, circle);
    EXPECT_EQ(std::wstring(rb->rbnext->resval.rstring), L"<NOT");
    EXPECT_EQ(chain.Tail()->restype, RTPICKS);
    std::int32_t length = 0;
    EXPECT_EQ(zcedSSLength(chain.Tail()->resval.rlname, &length), RTNORM);
    EXPECT_EQ(length, 2);
    zcedSSFree(chain.Tail()->resval.rlname);
}
