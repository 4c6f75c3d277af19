// The drawing tools end to end: a drawing built in a host session is saved, `gantrel run` runs
// a script on it with the module and its language pack from the build, and the saved result is
// read back into the session by our DXF reader.
#pragma once

#include "DrawingTest.h"
#include "ProgramRun.h"

#include <filesystem>
#include <string>
#include <vector>

class ToolsRun : public DrawingTest {
protected:
    ToolsRun();

    // Saves the drawing as in.dxf, runs the script on it and reads out.dxf back as the
    // session's drawing. The program must end with status 0.
    gantrel::testing::Outcome Run(const std::string& script);

    // The model-space entities of the drawing read back, in drawing order, of one class.
    std::vector<ZcDbObjectId> ModelSpace(const ZcRxClass* cls);
    // The id of the object with the handle in the drawing read back; null when it is gone.
    ZcDbObjectId ByHandle(const std::string& handle);
    std::vector<ZcDbObjectId> BlockEntities(const wchar_t* block);

    gantrel::testing::TestFolder scratch{"tools"};
    const std::filesystem::path folder = scratch.path();
};

// "x1,y1-x2,y2" of a line, rounded to 1e-9.
std::string LineText(ZcDbObjectId id);
