// Helpers shared by the entity tests: points along curves and property checks that hold for
// every curve whatever its kind.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "zcdball.h"

namespace curve_checks {

inline ZcGePoint3d pointAt(const ZcDbCurve& c, double t) {
    ZcGePoint3d p;
    EXPECT_EQ(c.getPointAtParam(t, p), Zcad::eOk) << "param " << t;
    return p;
}

inline double startParam(const ZcDbCurve& c) {
    double t = 0.0;
    EXPECT_EQ(c.getStartParam(t), Zcad::eOk);
    return t;
}

inline double endParam(const ZcDbCurve& c) {
    double t = 0.0;
    EXPECT_EQ(c.getEndParam(t), Zcad::eOk);
    return t;
}

// n + 1 points evenly spread over the parameter range.
inline std::vector<ZcGePoint3d> samples(const ZcDbCurve& c, int n = 2000) {
    const double s = startParam(c), e = endParam(c);
    std::vector<ZcGePoint3d> out;
    for (int i = 0; i <= n; ++i)
        out.push_back(pointAt(c, s + (e - s) * i / n));
    return out;
}

inline ::testing::AssertionResult near(const ZcGePoint3d& a, const ZcGePoint3d& b,
                                       double tol = 1e-9) {
    if (a.distanceTo(b) <= tol)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "(" << a.x << ", " << a.y << ", " << a.z << ") vs (" << b.x << ", " << b.y << ", "
           << b.z << "), distance " << a.distanceTo(b);
}

// The box of many points along the curve: a lower bound of its true extents.
inline ZcDbExtents sampledBox(const ZcDbCurve& c, const ZcGeMatrix3d& xform = ZcGeMatrix3d()) {
    ZcDbExtents box;
    for (const ZcGePoint3d& p : samples(c, 4000))
        box.addPoint(xform * p);
    return box;
}

// Extents must hold every point of the curve and be no larger than the curve needs.
inline void expectTightExtents(const ZcDbExtents& ext, const ZcDbExtents& box, double tol) {
    ASSERT_FALSE(ext.isEmpty());
    EXPECT_LE(ext.minPoint().x, box.minPoint().x + 1e-9);
    EXPECT_LE(ext.minPoint().y, box.minPoint().y + 1e-9);
    EXPECT_GE(ext.maxPoint().x, box.maxPoint().x - 1e-9);
    EXPECT_GE(ext.maxPoint().y, box.maxPoint().y - 1e-9);
    EXPECT_TRUE(near(ext.minPoint(), box.minPoint(), tol));
    EXPECT_TRUE(near(ext.maxPoint(), box.maxPoint(), tol));
}

// Properties every curve answers consistently:
// - the point at the parameter found for a point on the curve is that point;
// - distances grow along the curve and the parameter at a distance inverts them;
// - the closest point to any query is on the curve and no farther than any sample.
inline void checkCurveProperties(const ZcDbCurve& c, double scale, unsigned seed = 7) {
    SCOPED_TRACE(c.isA()->name());
    const double s = startParam(c), e = endParam(c);
    const std::vector<ZcGePoint3d> dense = samples(c, 3000);
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::vector<double> params{s, e};
    for (int i = 0; i < 40; ++i)
        params.push_back(s + (e - s) * unit(rng));
    std::sort(params.begin(), params.end());
    double previousDist = 0.0;
    for (double t : params) {
        const ZcGePoint3d p = pointAt(c, t);
        double back = 0.0;
        ASSERT_EQ(c.getParamAtPoint(p, back), Zcad::eOk) << "t = " << t;
        EXPECT_TRUE(near(pointAt(c, back), p, 1e-7 * scale)) << "t = " << t << " back " << back;

        double dist = 0.0, again = 0.0;
        ASSERT_EQ(c.getDistAtParam(t, dist), Zcad::eOk);
        EXPECT_GE(dist, previousDist - 1e-9 * scale) << "distance shrinks at t = " << t;
        previousDist = dist;
        ASSERT_EQ(c.getParamAtDist(dist, again), Zcad::eOk);
        EXPECT_TRUE(near(pointAt(c, again), p, 1e-7 * scale)) << "dist " << dist;
    }
    // The length is the distance at the end, and the dense polygon approaches it from below.
    double polygon = 0.0;
    for (std::size_t i = 1; i < dense.size(); ++i)
        polygon += dense[i].distanceTo(dense[i - 1]);
    EXPECT_LE(polygon, previousDist + 1e-9 * scale);
    EXPECT_NEAR(polygon, previousDist, 1e-4 * scale);
    std::uniform_real_distribution<double> coord(-1.5 * scale, 1.5 * scale);
    for (int i = 0; i < 40; ++i) {
        const ZcGePoint3d q(coord(rng), coord(rng), 0.0);
        ZcGePoint3d closest;
        ASSERT_EQ(c.getClosestPointTo(q, closest), Zcad::eOk);
        double t = 0.0;
        EXPECT_EQ(c.getParamAtPoint(closest, t), Zcad::eOk) << "closest point off the curve";
        const double best = q.distanceTo(closest);
        for (const ZcGePoint3d& sample : dense)
            ASSERT_LE(best, q.distanceTo(sample) + 1e-9 * scale)
                << "query (" << q.x << ", " << q.y << ")";
    }
}

} // namespace curve_checks
