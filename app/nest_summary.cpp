#include "nest_summary.h"

#include <fmt/format.h>

#include <cmath>

#include "nest_gaps.h"
#include "nest_outline.h"
#include "winhost.h"
#include "zcdbents.h"

namespace gantrel::app {

namespace {

// Runs read on the entity opened for read; false when it cannot be opened.
template <typename Read> bool readEntity(ZcDbObjectId id, Read read) {
    ZcDbEntity* entity = nullptr;
    if (zcdbOpenObject(entity, id, ZcDb::kForRead) != Zcad::eOk)
        return false;
    read(*entity);
    entity->close();
    return true;
}

std::string handleText(const ZcDbHandle& handle) {
    return handle.isNull() ? std::string() : ::win::Narrow(handle.text());
}

// Gaps are measured to this share of the sheet's size, and chords of curves other than arcs
// stay a tenth of it from the curve.
constexpr double kGapTolerance = 1e-6;
constexpr double kChordShare = 1e-7;

struct Piece {
    std::string handle;
    ZcDbExtents extents;
    bool hasExtents = false;
    Outline outline;
    GapShape curves;
    PlacementRecord record;
};

Piece readPiece(const ZcDbEntity& entity, double chordTolerance) {
    Piece piece;
    piece.handle = handleText(entity.handle());
    piece.hasExtents = entity.getGeomExtents(piece.extents) == Zcad::eOk;
    piece.outline = sampleOutline(entity);
    piece.curves = gapShape(entity, chordTolerance);
    // The accumulated transform maps the part as drawn onto the placed copy: its first column
    // is the turned x axis, its translation the image of the origin.
    const ZcGeMatrix3d& m = entity.accumulatedTransform();
    piece.record.handle = piece.handle;
    piece.record.source = handleText(entity.originHandle());
    piece.record.rotation = std::atan2(m.entry[1][0], m.entry[0][0]) * 180.0 / kPi;
    if (piece.record.rotation <= -180.0)
        piece.record.rotation += 360.0;
    // Adding zero turns a negative zero into zero.
    piece.record.rotation += 0.0;
    piece.record.dx = m.entry[0][3] + 0.0;
    piece.record.dy = m.entry[1][3] + 0.0;
    return piece;
}

// Numbers as JSON has them: round-trip precise, and null for what is not finite.
std::string number(double value) {
    return std::isfinite(value) ? fmt::format("{}", value) : std::string("null");
}

} // namespace

std::string jsonQuoted(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\')
            out += fmt::format("\\{}", c);
        else if (static_cast<unsigned char>(c) < 0x20)
            out += fmt::format("\\u{:04x}", static_cast<int>(c));
        else
            out += c;
    }
    return out + "\"";
}

std::vector<ZcDbObjectId> modelSpaceIds(ZcDbDatabase& db) {
    ZcDbBlockTableRecord* space = nullptr;
    if (zcdbOpenObject(space, db.modelSpaceId(), ZcDb::kForRead) != Zcad::eOk)
        return {};
    std::vector<ZcDbObjectId> ids = space->entityIds();
    space->close();
    return ids;
}

std::set<std::uint64_t> modelSpaceHandles(ZcDbDatabase& db) {
    std::set<std::uint64_t> handles;
    for (const ZcDbObjectId& id : modelSpaceIds(db))
        handles.insert(id.handle().value());
    return handles;
}

NestSummary summariseNesting(ZcDbDatabase& db, ZcDbObjectId sheet,
                             const std::set<std::uint64_t>& before, double spacing) {
    NestSummary summary;
    ZcDbExtents sheetExtents;
    Outline sheetOutline;
    GapShape sheetCurves;
    readEntity(sheet, [&](const ZcDbEntity& entity) {
        entity.getGeomExtents(sheetExtents);
        if (!sheetExtents.isEmpty())
            sheetCurves = gapShape(
                entity,
                kChordShare * std::max(sheetExtents.maxPoint().x - sheetExtents.minPoint().x,
                                       sheetExtents.maxPoint().y - sheetExtents.minPoint().y));
        sheetOutline = sampleOutline(entity);
        const auto* curve = ZcDbCurve::cast(&entity);
        if (curve == nullptr || curve->getArea(summary.sheetArea) != Zcad::eOk)
            summary.sheetArea = enclosedArea(sheetOutline);
    });
    // Where the pieces that did not fit are set down: the sheet's lower-right corner.
    const ZcGePoint3d anchor(sheetExtents.maxPoint().x, sheetExtents.minPoint().y, 0.0);
    const double size =
        sheetExtents.isEmpty()
            ? 1.0
            : std::max(1.0, (sheetExtents.maxPoint() - sheetExtents.minPoint()).length());
    const double sheetSize = sheetExtents.isEmpty()
                                 ? 1.0
                                 : std::max(sheetExtents.maxPoint().x - sheetExtents.minPoint().x,
                                            sheetExtents.maxPoint().y - sheetExtents.minPoint().y);
    std::vector<NamedGapShape> placedCurves;

    std::vector<NamedOutline> placedOutlines;
    double placedArea = 0.0;
    for (const ZcDbObjectId& id : modelSpaceIds(db)) {
        if (before.count(id.handle().value()) != 0)
            continue;
        Piece piece;
        if (!readEntity(id, [&](const ZcDbEntity& entity) {
                piece = readPiece(entity, kChordShare * sheetSize);
            })) {
            summary.violations.push_back(
                fmt::format("piece {} cannot be read", handleText(id.handle())));
            continue;
        }
        ++summary.pieces;
        const bool setDown =
            piece.hasExtents && std::hypot(piece.extents.minPoint().x - anchor.x,
                                           piece.extents.minPoint().y - anchor.y) <= 1e-6 * size;
        if (setDown) {
            ++summary.unplaced;
            continue;
        }
        ++summary.placed;
        if (piece.hasExtents) {
            const double width = piece.extents.maxPoint().x - sheetExtents.minPoint().x;
            summary.usedWidth = summary.hasUsedWidth ? std::max(summary.usedWidth, width) : width;
            summary.hasUsedWidth = true;
        }
        placedArea += enclosedArea(piece.outline);
        summary.placements.push_back(piece.record);
        placedCurves.push_back({piece.handle, std::move(piece.curves)});
        placedOutlines.push_back({piece.handle, std::move(piece.outline)});
    }
    summary.utilisation = summary.sheetArea > 0.0 ? placedArea / summary.sheetArea : 0.0;
    std::vector<std::string> faults = findPlacementFaults(sheetOutline, placedOutlines);
    summary.violations.insert(summary.violations.end(), faults.begin(), faults.end());
    summary.spacing = spacing;
    const std::vector<std::string> gaps =
        findGapFaults(sheetCurves, placedCurves, spacing, kGapTolerance * sheetSize);
    summary.violations.insert(summary.violations.end(), gaps.begin(), gaps.end());
    return summary;
}

std::string toJson(const NestSummary& s) {
    std::string out = "{";
    out += fmt::format("\"pieces\": {}, \"placed\": {}, \"unplaced\": {}, ", s.pieces, s.placed,
                       s.unplaced);
    out += fmt::format("\"sheet_area\": {}, \"used_width\": {}, \"utilisation\": {}, ",
                       number(s.sheetArea), s.hasUsedWidth ? number(s.usedWidth) : "null",
                       number(s.utilisation));
    out += fmt::format("\"spacing\": {}, \"arrangements\": {}, \"seconds\": {}, \"placements\": [",
                       number(s.spacing), s.arrangements, number(s.seconds));
    for (std::size_t i = 0; i < s.placements.size(); ++i) {
        const PlacementRecord& p = s.placements[i];
        out += fmt::format("{}{{\"handle\": {}, \"source_handle\": {}, \"rotation\": {}, "
                           "\"translation\": [{}, {}]}}",
                           i == 0 ? "" : ", ", jsonQuoted(p.handle),
                           p.source.empty() ? std::string("null") : jsonQuoted(p.source),
                           number(p.rotation), number(p.dx), number(p.dy));
    }
    out += "], \"violations\": [";
    for (std::size_t i = 0; i < s.violations.size(); ++i)
        out += (i == 0 ? "" : ", ") + jsonQuoted(s.violations[i]);
    return out + "]}";
}

} // namespace gantrel::app
