#include "tools/SumSubLengths_cmd.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "drawing/Curve.h"
#include "drawing/UserInput.h"
#include "frame/Printer.h"
#include "frame/TextProvider.h"
#include "zcdbhost.h"
#include "zced.h"

namespace gantrel {

namespace {

constexpr unsigned kCurveText = 40102;
constexpr unsigned kFirstPointText = 40103;
constexpr unsigned kSecondPointText = 40403;
constexpr unsigned kLabelText = 40401;

} // namespace

void SumSubLengths_cmd::Run() {
    if (Start() != 0) {
        return;
    }
    const std::wstring label = m_texts->GetText(kLabelText);
    double sum = 0.0;
    std::vector<ZcDbObjectId> picked;
    for (;;) {
        const ZcDbObjectId id =
            PickEntityOfKind(L"\n" + m_texts->GetText(kCurveText), {ZcDbCurve::desc()});
        if (id.isNull()) {
            break;
        }
        Entity(id).Highlight(1);
        picked.push_back(id);

        ZcGePoint3d first;
        ZcGePoint3d second;
        if (GetPointFromUser(first, m_texts->GetText(kFirstPointText)) != RTNORM ||
            GetPointFromUser(second, m_texts->GetText(kSecondPointText), &first) != RTNORM) {
            continue;
        }
        // Each point is taken to the nearest point of the curve (not extended) and measured
        // along the curve from its start, so the piece follows the curve between them.
        Curve curve(id);
        double from = 0.0;
        double to = 0.0;
        if (curve.DistanceToClosestPoint(first, from) != 0 ||
            curve.DistanceToClosestPoint(second, to) != 0) {
            PrintErrorStatus(curve.Status());
            continue;
        }
        sum += std::fabs(to - from);
        wchar_t number[64];
        std::swprintf(number, 64, L"%0.4f", sum);
        PrintOnCommandLine(label + number, false);
    }
    for (const ZcDbObjectId id : picked) {
        Entity(id).Highlight(0);
    }
}

} // namespace gantrel
