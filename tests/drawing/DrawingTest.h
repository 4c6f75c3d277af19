// A host session with an empty drawing, answers queued by the test and the transcript
// captured, and helpers that build entities through the module interface.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "session.h"

class DrawingTest : public ::testing::Test {
protected:
    DrawingTest();
    // Every object opened by a test must be closed again when the handle call returns.
    void TearDown() override;

    ZcDbDatabase& db() { return *session.database(); }
    int openObjects() { return db().openObjectCount(); }

    // Appends a new entity to a block table record (model space when null) and closes it.
    ZcDbObjectId add(ZcDbEntity* entity, ZcDbObjectId block = ZcDbObjectId::kNull);
    ZcDbObjectId addLine(double x1, double y1, double x2, double y2,
                         ZcDbObjectId block = ZcDbObjectId::kNull);
    ZcDbObjectId addArc(double cx, double cy, double r, double start, double end,
                        ZcDbObjectId block = ZcDbObjectId::kNull);
    ZcDbObjectId addCircle(double cx, double cy, double r,
                           ZcDbObjectId block = ZcDbObjectId::kNull);
    // A lightweight polyline from (x, y, bulge) triples.
    ZcDbObjectId addPolyline(const std::vector<std::array<double, 3>>& vertices, bool closed,
                             ZcDbObjectId block = ZcDbObjectId::kNull);
    ZcDbObjectId addRectangle(double x, double y, double w, double h,
                              ZcDbObjectId block = ZcDbObjectId::kNull);
    // A region bounded by one loop of line edges through the points.
    ZcDbObjectId addRegion(const std::vector<ZcGePoint2d>& corners,
                           ZcDbObjectId block = ZcDbObjectId::kNull);
    ZcDbObjectId newBlock(const wchar_t* name);
    ZcDbObjectId addReference(ZcDbObjectId block, const ZcGePoint3d& at,
                              const ZcGeScale3d& scale = ZcGeScale3d(), double rotation = 0.0);
    void erase(ZcDbObjectId id);
    std::string handleOf(ZcDbObjectId id) const;

    // Declared before the session, which prints while it ends.
    std::string out;
    gantrel::editor::QueueInput input{"answers"};
    gantrel::editor::HostSession session;
};
