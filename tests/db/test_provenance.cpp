// Invariants of provenance, kept in memory for reading a command's result back:
// - a clone knows the handle of the root of its clone chain (a clone of a clone names the first
//   original); an object not made by cloning, or cloned from one without a handle, names none;
// - an entity's accumulated transform is the product of the transforms it took, the latest on
//   the left; a clone starts from its source's; a refused transform changes nothing;
// - every kind of entity still moves its own geometry through transformBy.
#include "DrawingBuild.h"
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "zcdball.h"

namespace {

using gantrel::testing::AppendToModelSpace;
using gantrel::testing::CloneIntoModelSpace;

constexpr double kDeg = kPi / 180.0;

Zcad::ErrorStatus transform(ZcDbObjectId id, const ZcGeMatrix3d& xform) {
    ZcDbEntity* entity = nullptr;
    EXPECT_EQ(zcdbOpenObject(entity, id, ZcDb::kForWrite), Zcad::eOk);
    const Zcad::ErrorStatus status = entity->transformBy(xform);
    entity->close();
    return status;
}

struct Provenance {
    ZcDbHandle origin;
    ZcGeMatrix3d accumulated;
};

Provenance provenanceOf(ZcDbObjectId id) {
    ZcDbEntity* entity = nullptr;
    EXPECT_EQ(zcdbOpenObject(entity, id, ZcDb::kForRead), Zcad::eOk);
    Provenance p{entity->originHandle(), entity->accumulatedTransform()};
    entity->close();
    return p;
}

void expectMatrixNear(const ZcGeMatrix3d& actual, const ZcGeMatrix3d& expected) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_NEAR(actual.entry[r][c], expected.entry[r][c], 1e-12) << r << "," << c;
}

ZcDbPolyline* square(double size) {
    auto* pl = new ZcDbPolyline;
    pl->addVertexAt(0, {0, 0});
    pl->addVertexAt(1, {size, 0}, 0.4);
    pl->addVertexAt(2, {size, size});
    pl->addVertexAt(3, {0, size});
    pl->setClosed(true);
    return pl;
}

TEST(Provenance, ClonesNameTheRootOfTheirChain) {
    ZcDbDatabase db;
    const ZcDbObjectId original = AppendToModelSpace(db, square(10));
    EXPECT_TRUE(provenanceOf(original).origin.isNull());

    const ZcDbObjectId first = CloneIntoModelSpace(db, original);
    const ZcDbObjectId second = CloneIntoModelSpace(db, first);
    const ZcDbObjectId third = CloneIntoModelSpace(db, second);
    for (const ZcDbObjectId& copy : {first, second, third})
        EXPECT_EQ(provenanceOf(copy).origin, original.handle());

    // A clone of an object outside any database has nothing to name.
    std::unique_ptr<ZcDbLine> loose(new ZcDbLine({0, 0, 0}, {1, 0, 0}));
    std::unique_ptr<ZcRxObject> looseCopy(loose->clone());
    EXPECT_TRUE(static_cast<ZcDbLine*>(looseCopy.get())->originHandle().isNull());
}

TEST(Provenance, TransformsAccumulateAndClonesInheritThem) {
    ZcDbDatabase db;
    const ZcDbObjectId original = AppendToModelSpace(db, square(10));
    const ZcDbObjectId piece = CloneIntoModelSpace(db, original);
    expectMatrixNear(provenanceOf(piece).accumulated, ZcGeMatrix3d());

    // Moved by (dx, dy), then turned about the moved origin: the piece's origin ends at
    // (dx, dy) and its x axis turned by the angle.
    const ZcGeVector3d move(120, 45, 0);
    const ZcGeMatrix3d shift = ZcGeMatrix3d::translation(move);
    const ZcGeMatrix3d turn =
        ZcGeMatrix3d::rotation(90 * kDeg, ZcGeVector3d::kZAxis, ZcGePoint3d(120, 45, 0));
    ASSERT_EQ(transform(piece, shift), Zcad::eOk);
    ASSERT_EQ(transform(piece, turn), Zcad::eOk);
    const ZcGeMatrix3d m = provenanceOf(piece).accumulated;
    expectMatrixNear(m, turn * shift);
    EXPECT_NEAR(std::atan2(m.entry[1][0], m.entry[0][0]), 90 * kDeg, 1e-12);
    EXPECT_NEAR(m.entry[0][3], 120, 1e-9);
    EXPECT_NEAR(m.entry[1][3], 45, 1e-9);

    // The copy of the moved piece starts where the piece is; moving it leaves the piece alone.
    const ZcDbObjectId copy = CloneIntoModelSpace(db, piece);
    expectMatrixNear(provenanceOf(copy).accumulated, turn * shift);
    ASSERT_EQ(transform(copy, shift), Zcad::eOk);
    expectMatrixNear(provenanceOf(copy).accumulated, shift * turn * shift);
    expectMatrixNear(provenanceOf(piece).accumulated, turn * shift);
    expectMatrixNear(provenanceOf(original).accumulated, ZcGeMatrix3d());
}

TEST(Provenance, RefusedTransformsAreNotAccumulated) {
    ZcDbDatabase db;
    const ZcDbObjectId circle =
        AppendToModelSpace(db, new ZcDbCircle({5, 5, 0}, ZcGeVector3d::kZAxis, 2));
    const ZcGeMatrix3d shift = ZcGeMatrix3d::translation({1, 2, 0});
    ASSERT_EQ(transform(circle, shift), Zcad::eOk);
    // Unequal scaling would make the circle an ellipse.
    EXPECT_EQ(transform(circle, ZcGeMatrix3d::scaling(ZcGeScale3d(2, 1, 1))), Zcad::eNotApplicable);
    expectMatrixNear(provenanceOf(circle).accumulated, shift);

    // Opened for read, nothing moves and nothing is accumulated.
    ZcDbEntity* entity = nullptr;
    ASSERT_EQ(zcdbOpenObject(entity, circle, ZcDb::kForRead), Zcad::eOk);
    EXPECT_NE(entity->transformBy(shift), Zcad::eOk);
    entity->close();
    expectMatrixNear(provenanceOf(circle).accumulated, shift);
}

TEST(Provenance, EveryKindStillMovesItsGeometry) {
    ZcDbDatabase db;
    std::vector<ZcDbObjectId> ids = {
        AppendToModelSpace(db, new ZcDbLine({0, 0, 0}, {3, 4, 0})),
        AppendToModelSpace(db, new ZcDbCircle({2, 2, 0}, ZcGeVector3d::kZAxis, 1.5)),
        AppendToModelSpace(db, new ZcDbArc({0, 0, 0}, 2.0, 0.0, 2.0)),
        AppendToModelSpace(db, square(4)),
        AppendToModelSpace(db, new ZcDbText({1, 1, 0}, L"PART", 2.5)),
        AppendToModelSpace(db, new ZcDbPoint({7, 8, 0})),
    };
    const ZcGeVector3d move(-30, 12.5, 0);
    for (const ZcDbObjectId& id : ids) {
        ZcDbEntity* entity = nullptr;
        ASSERT_EQ(zcdbOpenObject(entity, id, ZcDb::kForWrite), Zcad::eOk);
        SCOPED_TRACE(entity->isA()->name());
        ZcDbExtents before, after;
        ASSERT_EQ(entity->getGeomExtents(before), Zcad::eOk);
        ASSERT_EQ(entity->transformBy(ZcGeMatrix3d::translation(move)), Zcad::eOk);
        ASSERT_EQ(entity->getGeomExtents(after), Zcad::eOk);
        entity->close();
        EXPECT_NEAR(after.minPoint().x - before.minPoint().x, move.x, 1e-9);
        EXPECT_NEAR(after.minPoint().y - before.minPoint().y, move.y, 1e-9);
        EXPECT_NEAR(after.maxPoint().x - before.maxPoint().x, move.x, 1e-9);
        expectMatrixNear(provenanceOf(id).accumulated, ZcGeMatrix3d::translation(move));
    }
}

} // namespace
