#include "tools/ExportCoordinates_cmd.h"

#include <optional>
#include <vector>

#include "drawing/UserInput.h"
#include "frame/Printer.h"
#include "frame/TextProvider.h"
#include "tools/CoordinateFile.h"
#include "winstandin.h"
#include "zcadstatus.h"

namespace gantrel {

namespace {

constexpr unsigned kPointText = 40210;

} // namespace

void ExportCoordinates_cmd::Run() {
    if (Start() != 0) {
        return;
    }
    const std::wstring prompt = m_texts->GetText(kPointText);
    std::vector<ZcGePoint3d> points;
    ZcGePoint3d point;
    while (GetPointFromUser(point, prompt) == RTNORM) {
        points.push_back(point);
        PrintPoint(point.x, point.y, point.z);
    }
    if (points.empty()) {
        return;
    }
    const std::string text = CoordinateLines(points);
    // A file that cannot be written is reported and the dialog offered again, so the picked
    // points are lost only when the user cancels it.
    for (;;) {
        const std::optional<std::wstring> path = AskCoordinateFilePath();
        if (!path) {
            return;
        }
        m_path = *path;
        if (WriteWholeFile(m_path, text)) {
            return;
        }
        const std::wstring message = m_path + L" is locked.";
        MessageBoxW(nullptr, message.c_str(), L"!", MB_OK);
        PrintErrorStatus(Zcad::eFileAccessErr);
    }
}

} // namespace gantrel
