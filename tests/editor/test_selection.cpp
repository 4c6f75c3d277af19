// Selection modes and picks against the drawing of drawing_fixture.h.
#include <algorithm>

#include "drawing_fixture.h"
#include "zced.h"

namespace {

class SelectionTest : public SessionTest {
protected:
    // The ids of a selection, or the status when it made no set.
    std::vector<ZcDbObjectId> select(const wchar_t* mode, const zds_real* a = nullptr,
                                     const zds_real* b = nullptr, const resbuf* filter = nullptr) {
        zds_name ss;
        status = zcedSSGet(mode, a, b, filter, ss);
        std::vector<ZcDbObjectId> ids;
        if (status != RTNORM)
            return ids;
        std::int32_t n = 0;
        EXPECT_EQ(zcedSSLength(ss, &n), RTNORM);
        for (std::int32_t i = 0; i < n; ++i) {
            zds_name e;
            EXPECT_EQ(zcedSSName(ss, i, e), RTNORM);
            ids.push_back(idOf(e));
        }
        EXPECT_EQ(zcedSSFree(ss), RTNORM);
        EXPECT_EQ(zcedSSFree(ss), RTERROR); // a set is freed once
        return ids;
    }
    int status = 0;
};

using Ids = std::vector<ZcDbObjectId>;

} // namespace

TEST_F(SelectionTest, WindowTakesWhollyInsideCrossingTakesTouching) {
    zds_real a[3] = {-1, -1, 0}, b[3] = {19, 4, 0};
    // The circle (18..22, 3..7) is only partly inside; its arc passes through (18.27, 4).
    EXPECT_EQ(select(L"W", a, b), Ids{drawing.line});
    EXPECT_EQ(select(L"C", a, b), (Ids{drawing.line, drawing.circle}));
    // A box inside the circle but clear of its curve crosses nothing.
    zds_real c[3] = {19.5, 4.5, 0}, d[3] = {20.5, 5.5, 0};
    EXPECT_TRUE(select(L"_C", c, d).empty());
    EXPECT_EQ(status, RTERROR);
    // Crossing the reference selects it through the entities of its blocks.
    zds_real e[3] = {105.5, 4, 0}, f[3] = {106, 6, 0};
    EXPECT_EQ(select(L"C", e, f), Ids{drawing.outerRef});
    EXPECT_EQ(select(L"W", nullptr, nullptr), Ids{});
    EXPECT_EQ(status, RTERROR);
}

TEST_F(SelectionTest, AllLastAndFilters) {
    EXPECT_EQ(select(L"X"), (Ids{drawing.line, drawing.circle, drawing.square, drawing.outerRef}));
    EXPECT_EQ(select(L"L"), Ids{drawing.outerRef});
    resbuf* circles = zcutBuildList(RTDXF0, L"CIRCLE,LINE", 0);
    EXPECT_EQ(select(L"X", nullptr, nullptr, circles), (Ids{drawing.line, drawing.circle}));
    zcutRelRb(circles);
    resbuf* none = zcutBuildList(8, L"NoSuchLayer", 0);
    EXPECT_TRUE(select(L"X", nullptr, nullptr, none).empty());
    EXPECT_EQ(status, RTERROR);
    zcutRelRb(none);
}

TEST_F(SelectionTest, SingleAndInteractiveReadOneLine) {
    input.push("20,7.5 " + handleOf(drawing.square) + " 20,7.5").push("all");
    EXPECT_EQ(select(L":S"), (Ids{drawing.circle, drawing.square}));
    EXPECT_EQ(select(nullptr),
              (Ids{drawing.line, drawing.circle, drawing.square, drawing.outerRef}));
    input.pushCancel();
    EXPECT_TRUE(select(L":S").empty());
    EXPECT_EQ(status, RTCAN);
    input.push("");
    EXPECT_TRUE(select(nullptr).empty());
    EXPECT_EQ(status, RTERROR);
    // A pick far from everything adds nothing.
    input.push("500,500");
    EXPECT_TRUE(select(nullptr).empty());
}

TEST_F(SelectionTest, PickPointIsReportedForPicks) {
    input.push("35,10.5 last");
    zds_name ss;
    ASSERT_EQ(zcedSSGet(nullptr, nullptr, nullptr, nullptr, ss), RTNORM);
    resbuf* info = nullptr;
    ASSERT_EQ(zcedSSNameX(&info, ss, 0), RTNORM);
    const resbuf* point = info;
    while (point && point->restype != RT3DPOINT)
        point = point->rbnext;
    ASSERT_NE(point, nullptr);
    EXPECT_EQ(point->resval.rpoint[0], 35);
    EXPECT_EQ(point->resval.rpoint[1], 10.5);
    zcutRelRb(info);
    ASSERT_EQ(zcedSSNameX(&info, ss, 1), RTNORM); // "last" carries no point
    for (const resbuf* rb = info; rb; rb = rb->rbnext)
        EXPECT_NE(rb->restype, RT3DPOINT);
    zcutRelRb(info);
    zcedSSFree(ss);
}

TEST_F(SelectionTest, ImpliedSelectionComesFromTheScriptAndServesOneCommand) {
    EXPECT_TRUE(select(L"I").empty());
    EXPECT_EQ(status, RTERROR);
    gantrel::editor::ScriptInput script("s.scr", {"select " + handleOf(drawing.circle) + " last"});
    session.run(script);
    EXPECT_EQ(select(L"I"), (Ids{drawing.circle, drawing.outerRef}));
    resbuf *gset = nullptr, *pset = nullptr;
    ASSERT_EQ(zcedSSGetFirst(&gset, &pset), RTNORM);
    ASSERT_NE(pset, nullptr);
    EXPECT_EQ(pset->restype, RTPICKS);
    std::int32_t n = 0;
    EXPECT_EQ(zcedSSLength(pset->resval.rlname, &n), RTNORM);
    EXPECT_EQ(n, 2);
    zcutRelRb(pset);
    // Running a command uses it up.
    session.commands().addCommand(L"T", L"Nothing", L"Nothing", 0, [] {});
    EXPECT_TRUE(session.runCommand(L"nothing"));
    EXPECT_TRUE(select(L"I").empty());
}

TEST_F(SelectionTest, PicksFindTheNearestWithinThePickBox) {
    zds_name e;
    zds_point p;
    input.push("9,1").push("9,4");
    EXPECT_EQ(zcedEntSel(L"Pick: ", e, p), RTNORM);
    EXPECT_EQ(idOf(e), drawing.line);
    EXPECT_EQ(zcedEntSel(L"Pick: ", e, p), RTERROR); // 4 units away: outside the box of 3
    EXPECT_TRUE(transcriptHas("Nothing found at 9,4."));
    resbuf box{};
    box.restype = RTREAL;
    box.resval.rreal = 5;
    EXPECT_EQ(zcedSetVar(L"PICKBOX", &box), RTNORM);
    input.push("9,4");
    EXPECT_EQ(zcedEntSel(L"Pick: ", e, p), RTNORM);
    EXPECT_EQ(idOf(e), drawing.line);
    // An entity inside a block is no answer to a plain pick by handle.
    input.push(handleOf(drawing.innerLine)).push(handleOf(drawing.circle));
    EXPECT_EQ(zcedEntSel(L"Pick: ", e, p), RTNORM);
    EXPECT_EQ(idOf(e), drawing.circle);
    EXPECT_TRUE(transcriptHas("does not lie in model or paper space"));
}

TEST_F(SelectionTest, NestedPickGoesThroughReferences) {
    zds_name e;
    zds_matrix xform;
    resbuf* containers = nullptr;
    zds_point p = {106, 6.2, 0}; // near the inner circle (centre 106,6 radius 0.5)
    ASSERT_EQ(zcedNEntSelP(nullptr, e, p, 1, xform, &containers), RTNORM);
    EXPECT_EQ(idOf(e), drawing.innerCircle);
    EXPECT_EQ(xform[0][3], 105);
    EXPECT_EQ(xform[1][3], 5);
    ASSERT_NE(containers, nullptr);
    EXPECT_EQ(idOf(containers->resval.rlname), drawing.innerRef);
    ASSERT_NE(containers->rbnext, nullptr);
    EXPECT_EQ(idOf(containers->rbnext->resval.rlname), drawing.outerRef);
    EXPECT_EQ(containers->rbnext->rbnext, nullptr);
    zcutRelRb(containers);
    // The outer block's own line: one container.
    zds_point q = {100.2, 2, 0};
    ASSERT_EQ(zcedNEntSelP(nullptr, e, q, 1, xform, &containers), RTNORM);
    EXPECT_EQ(idOf(e), drawing.outerLine);
    ASSERT_NE(containers, nullptr);
    EXPECT_EQ(containers->rbnext, nullptr);
    zcutRelRb(containers);
    // An entity of model space has no containers.
    zds_point r = {20, 7.1, 0};
    ASSERT_EQ(zcedNEntSelP(nullptr, e, r, 1, xform, &containers), RTNORM);
    EXPECT_EQ(idOf(e), drawing.circle);
    EXPECT_EQ(containers, nullptr);
}
