// A session with a drawing of known entities, answers queued by the test and the transcript
// captured.
//
// Model space, in drawing order:
//   line    (0,0)-(10,0)
//   circle  centre (20,5), radius 2
//   square  closed polyline (30,0) (40,0) (40,10) (30,10)
//   outerRef  reference of OUTER at (100,0)
// OUTER holds outerLine (0,0)-(0,3) and innerRef, a reference of INNER at (5,5);
// INNER holds innerLine (0,0)-(2,0) and innerCircle centre (1,1) radius 0.5.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "session.h"

struct TestDrawing {
    ZcDbObjectId line, circle, square, outerRef, outerLine, innerRef, innerLine, innerCircle;
};

// Builds the drawing in db.
TestDrawing buildTestDrawing(ZcDbDatabase& db);
// "#HANDLE" of an object.
std::string handleOf(ZcDbObjectId id);
// The object of an entity name, or the null id.
ZcDbObjectId idOf(const zds_name name);

class SessionTest : public ::testing::Test {
protected:
    SessionTest();
    // The transcript lines (split at "\n"), empty lines left out.
    std::vector<std::string> lines() const;
    bool transcriptHas(const std::string& text) const {
        return out.find(text) != std::string::npos;
    }

    // Declared before the session, which prints while it unloads its modules.
    std::string out;
    gantrel::editor::QueueInput input{"answers"};
    gantrel::editor::HostSession session;
    TestDrawing drawing;
};
