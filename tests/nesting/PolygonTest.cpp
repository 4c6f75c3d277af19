// Polygons: copies, text forms and transformations.
#include "nesting/geometry/Predicates.h"

#include <gtest/gtest.h>

namespace gantrel {

namespace {

NestPolygon Square(double x, double y, double size) {
    return NestPolygon{{x, y}, {x + size, y}, {x + size, y + size}, {x, y + size}};
}

void ExpectNear(const GePoint& p, double x, double y) {
    EXPECT_NEAR(p.x, x, 1e-12);
    EXPECT_NEAR(p.y, y, 1e-12);
}

} // namespace

TEST(NestPolygon, NewPolygonDefaults) {
    const NestPolygon p;
    EXPECT_EQ(p.Size(), 0);
    EXPECT_TRUE(p.Name().empty());
    EXPECT_EQ(p.Rotation(), 0.0);
    EXPECT_EQ(p.Holes(), nullptr);
    EXPECT_TRUE(p.Rotatable());
    EXPECT_EQ(p.PositionX(), 0.0);
}

TEST(NestPolygon, CopyOwnsItsOwnHoles) {
    NestPolygon outer = Square(0, 0, 10);
    outer.SetName(L"P");
    outer.SetRotation(90);
    outer.AddHole(Square(2, 2, 1));
    NestPolygon copy = outer.Clone();
    (*copy.Holes())[0][0].x = 5;
    EXPECT_EQ((*outer.Holes())[0][0].x, 2.0);
    EXPECT_EQ(copy.Name(), L"P");
    EXPECT_EQ(copy.Rotation(), 90.0);
    NestPolygon assigned;
    assigned = outer;
    EXPECT_EQ(assigned.HoleCount(), 1);
    EXPECT_NE(assigned.Holes(), outer.Holes());
}

TEST(NestPolygon, TextForms) {
    NestPolygon p{{1, 2.5}, {-0.00004, 3}};
    p.SetName(L"A1");
    EXPECT_EQ(p.GePoints::ToString(), L"  1.0000 2.5000  -0.0000 3.0000");
    EXPECT_EQ(p.ToString(), L"A1 :      1.0000 2.5000  -0.0000 3.0000");
}

TEST(Transformations, TranslatedDropsNameAndRotationAndMovesHoles) {
    NestPolygon p = Square(0, 0, 4);
    p.SetName(L"P");
    p.SetRotation(45);
    p.AddHole(Square(1, 1, 1));
    const NestPolygon t = p.Translated(Vector(2, -1));
    EXPECT_TRUE(t.Name().empty());
    EXPECT_EQ(t.Rotation(), 0.0);
    ExpectNear(t[2], 6, 3);
    ExpectNear((*t.Holes())[0][0], 3, 0);
    ExpectNear(p[2], 4, 4); // the source is unchanged
}

TEST(Transformations, RotatedUsesOnlyTheOwnRotation) {
    NestPolygon p = Square(1, 0, 1);
    p.SetName(L"P");
    p.SetRotation(90);
    NestPolygon hole = Square(1.2, 0.2, 0.1);
    hole.SetRotation(180);
    p.AddHole(hole);
    const NestPolygon r = p.Rotated();
    EXPECT_EQ(r.Name(), L"P");
    EXPECT_EQ(r.Rotation(), 0.0);
    ExpectNear(r[0], 0, 1);
    ExpectNear(r[1], 0, 2);
    // The hole turns by its own rotation.
    ExpectNear((*r.Holes())[0][0], -1.2, -0.2);
    // A polygon without rotation stays where it is.
    const NestPolygon unrotated = Square(1, 0, 1).Rotated();
    ExpectNear(unrotated[2], 2, 1);
}

TEST(Transformations, RotatedAboutACentre) {
    NestPolygon p = Square(0, 0, 2);
    p.SetName(L"P");
    p.AddHole(Square(0.5, 0.5, 0.5));
    const NestPolygon r = p.RotatedAbout(180, GePoint(1, 1));
    EXPECT_EQ(r.Name(), L"P");
    ExpectNear(r[0], 2, 2);
    ExpectNear((*r.Holes())[0][0], 1.5, 1.5);
    EXPECT_NEAR(SignedArea(r), SignedArea(p), 1e-12);
}

} // namespace gantrel
