#include "nest_script.h"

#include "nest_summary.h"

#include <fmt/format.h>

#include <cmath>

#include "winhost.h"
#include "zcdbents.h"

namespace gantrel::app {

namespace {

// Controls of the nesting settings dialog, and its OK button.
constexpr int kOk = 1;
constexpr int kRotationStep = 1002;
constexpr int kSpacing = 1003;
constexpr int kPopulation = 1004;
constexpr int kArcPrecision = 1012;
constexpr int kRotationAllowed = 1014;
constexpr int kMaxTime = 1015;
constexpr int kMutationRate = 1023;
constexpr int kGenerations = 1026;
constexpr int kImprove = 1028;

// The area of a closed polyline, or nothing for any other entity.
std::optional<double> closedPolylineArea(ZcDbObjectId id) {
    ZcDbCurve* curve = nullptr;
    if (zcdbOpenObject(curve, id, ZcDb::kForRead) != Zcad::eOk)
        return std::nullopt;
    std::optional<double> result;
    double area = 0.0;
    if ((curve->isKindOf(ZcDbPolyline::desc()) || curve->isKindOf(ZcDb2dPolyline::desc())) &&
        curve->isClosed() && curve->getArea(area) == Zcad::eOk)
        result = std::abs(area);
    curve->close();
    return result;
}

} // namespace

ZcDbObjectId largestClosedPolyline(ZcDbDatabase& db) {
    ZcDbObjectId best;
    double bestArea = -1.0;
    for (const ZcDbObjectId& id : modelSpaceIds(db)) {
        const std::optional<double> area = closedPolylineArea(id);
        // The first of equal areas, in drawing order.
        if (area && *area > bestArea) {
            best = id;
            bestArea = *area;
        }
    }
    return best;
}

std::vector<std::string> otherEntityHandles(ZcDbDatabase& db, ZcDbObjectId sheet) {
    std::vector<std::string> handles;
    for (const ZcDbObjectId& id : modelSpaceIds(db))
        if (id != sheet)
            handles.push_back(::win::Narrow(id.handle().text()));
    return handles;
}

std::vector<NestScriptLine> nestScript(const NestSettingsFlags& settings, const std::string& sheet,
                                       const std::vector<std::string>& parts) {
    std::vector<NestScriptLine> lines;
    if (settings.any()) {
        lines.push_back({"Plaxen:Settings", "the settings command Plaxen:Settings"});
        auto type = [&](int control, const std::string& value, const std::string& flag) {
            lines.push_back(
                {fmt::format("dlg set {} {}", control, value), fmt::format("{} {}", flag, value)});
        };
        if (settings.spacing)
            type(kSpacing, fmt::format("{}", *settings.spacing), "--spacing");
        if (settings.population)
            type(kPopulation, std::to_string(*settings.population), "--population");
        if (settings.rotationStep && std::abs(*settings.rotationStep) >= 1e-6) {
            // The step can be typed only once rotation is allowed.
            lines.push_back({fmt::format("dlg click {}", kRotationAllowed),
                             fmt::format("--rotation-step {}", *settings.rotationStep)});
            type(kRotationStep, fmt::format("{}", *settings.rotationStep), "--rotation-step");
        }
        if (settings.mutationRate)
            lines.push_back({fmt::format("dlg slide {} {}", kMutationRate, *settings.mutationRate),
                             fmt::format("--mutation-rate {}", *settings.mutationRate)});
        if (settings.arcPrecision)
            type(kArcPrecision, std::to_string(*settings.arcPrecision), "--arc-precision");
        if (settings.maxTime)
            type(kMaxTime, std::to_string(*settings.maxTime), "--max-time");
        if (settings.generations)
            type(kGenerations, std::to_string(*settings.generations), "--generations");
        if (settings.improve)
            lines.push_back({fmt::format("dlg click {}", kImprove), "--improve"});
        lines.push_back({fmt::format("dlg click {}", kOk), "OK in the settings dialog"});
    }
    lines.push_back({"Plaxen", "the nesting command Plaxen"});
    lines.push_back({"#" + sheet, "the sheet " + sheet});
    std::string selection;
    for (const std::string& part : parts)
        selection += (selection.empty() ? "#" : " #") + part;
    lines.push_back({selection, "the parts " + selection});
    return lines;
}

} // namespace gantrel::app
