#include "nesting/dwg/DwgParser.h"

#include "drawing/BlockHandles.h"
#include "drawing/Blocks.h"
#include "drawing/CoordinateReaders.h"
#include "drawing/RegionCoordinatesReader.h"
#include "drawing/ResBuf.h"
#include "drawing/ZWDrawer.h"
#include "frame/Printer.h"
#include "nesting/geometry/OutlineRepair.h"
#include "nesting/geometry/Predicates.h"
#include "nesting/geometry/Tolerances.h"
#include "nesting/settings/NestSettings.h"

#include "zcdball.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace gantrel {

namespace {

bool IsStringCode(int code) {
    return (code >= 1000 && code <= 1003) || code == 1005;
}

bool IsRealCode(int code) {
    return (code >= 1010 && code <= 1013) || (code >= 1020 && code <= 1023) ||
           (code >= 1030 && code <= 1033) || (code >= 1040 && code <= 1042);
}

constexpr int kShortCode = 1070;
constexpr int kLongCode = 1071;

// A value item read as a signed 16-bit integer. Only integer items carry one; a 32-bit integer
// counts when it fits, so that a value written with the wider code is not misread.
std::optional<int> IntegerOf(const resbuf& item) {
    if (item.restype == kShortCode) {
        return static_cast<int>(item.resval.rint);
    }
    if (item.restype == kLongCode &&
        item.resval.rlong >= std::numeric_limits<std::int16_t>::min() &&
        item.resval.rlong <= std::numeric_limits<std::int16_t>::max()) {
        return static_cast<int>(item.resval.rlong);
    }
    return std::nullopt;
}

// Points of the object, appended to an empty list by the reader of its kind; false for a kind
// without an outline.
bool ReadOutline(ZcDbObjectId id, double n, Points& points) {
    const Entity entity(id);
    if (entity.IsPolyline()) {
        PolylineCoordinatesReader_byParam_Simplified(id).Read(points, n);
    } else if (entity.IsSpline()) {
        ReadCurveByParam(id, points, n);
    } else if (entity.IsRegion()) {
        RegionCoordinatesReader(id).Read(points, n);
    } else if (entity.IsBlockReference()) {
        // The largest closed outline among the block's contents, placed where the reference
        // shows it.
        Ids contents;
        if (ZWBlockDef(id).EntityIds(contents) != HandleStatus::kOk) {
            return true;
        }
        const Points inBlock = OutlineReader(contents, n).Read();
        try {
            const ZcGeMatrix3d transform = ZWBlockIns(id).BlockTransform();
            for (const ZcGePoint3d& p : inBlock) {
                points.append(transform * p);
            }
        } catch (const HostStatusError& error) {
            PrintErrorStatus(error.status);
        }
    } else if (entity.IsCircle()) {
        ReadCircleCoordinates(id, points, n);
    } else if (entity.IsLine()) {
        ReadLineCoordinates(id, points);
    } else if (entity.IsArc()) {
        ReadArcCoordinates(id, points, n);
    } else if (entity.Is2dPolyline()) {
        try {
            for (const ZcGePoint3d& p : Polyline2D(id).VertexPositions()) {
                points.append(p);
            }
        } catch (const HostStatusError& error) {
            PrintErrorStatus(error.status);
        }
    } else if (entity.IsCurve()) {
        ReadCurveByParam(id, points, n);
    } else {
        return false;
    }
    return true;
}

// Tells the user that a point cannot be nested, with the host's listing of the object.
void ReportPoint(ZcDbObjectId id) {
    ZcDbEntity* entity = nullptr;
    if (zcdbOpenObject(entity, id, ZcDb::kForRead) != Zcad::eOk) {
        return;
    }
    PrintOnCommandLine(L"\nDwgParser::polygonify ", false);
    PrintOnCommandLine(L" is not implemented yet for this kind of entity: ", false);
    PrintOnCommandLine(entity->isA()->name(), false);
    // The host's listing, a field a line, printed on the command line the way its list
    // operation shows it there.
    const std::wstring listing = entity->listing();
    entity->close();
    std::size_t begin = 0;
    while (begin < listing.size()) {
        std::size_t end = listing.find(L'\n', begin);
        if (end == std::wstring::npos) {
            end = listing.size();
        }
        PrintOnCommandLine(listing.substr(begin, end - begin), true);
        begin = end + 1;
    }
}

// Leaves the copy without nesting data, so that a copy selected again later stands for one
// piece and never multiplies.
void ClearPlaxenData(ZcDbObjectId copy) {
    ZcDbDatabase* db = copy.database();
    if (db == nullptr || zcdbRegApp(db, kPlaxenApplication) != Zcad::eOk) {
        return;
    }
    ZcDbObject* object = nullptr;
    if (zcdbOpenObject(object, copy, ZcDb::kForWrite) != Zcad::eOk) {
        return;
    }
    ResBuf onlyName;
    onlyName.AddTyped(1001, kPlaxenApplication);
    object->setXData(onlyName.Head());
    object->close();
}

// The distance from p to the nearest edge of the closed outline.
double DistanceToOutline(const GePoints& outline, const GePoint& p) {
    double nearest = std::numeric_limits<double>::infinity();
    for (int i = 0; i < outline.Size(); ++i) {
        const GePoint& a = outline[i];
        const GePoint& b = outline[(i + 1) % outline.Size()];
        const Vector ab = b - a;
        const double length2 = Dot(ab, ab);
        const double t = length2 > 0.0 ? std::clamp(Dot(p - a, ab) / length2, 0.0, 1.0) : 0.0;
        nearest = std::min(nearest, Distance(p, GePoint(a.x + t * ab.x, a.y + t * ab.y)));
    }
    return nearest;
}

} // namespace

PlaxenData::PlaxenData(ZcDbObjectId id) {
    ZcDbObject* object = nullptr;
    if (id.isNull() || zcdbOpenObject(object, id, ZcDb::kForRead) != Zcad::eOk) {
        return;
    }
    resbuf* chain = object->xData(kPlaxenApplication);
    object->close();
    m_present = chain != nullptr;
    // The chain starts with the application's own name item.
    for (const resbuf* rb = chain != nullptr ? chain->rbnext : nullptr; rb != nullptr;
         rb = rb->rbnext) {
        m_items.Add({TextForm(*rb), IntegerOf(*rb)});
    }
    zcutRelRb(chain);
}

std::optional<int> PlaxenData::Value(const std::wstring& key) const {
    for (int i = 0; i + 1 < m_items.Size(); ++i) {
        if (SameNameNoCase(m_items[i].text, key)) {
            return m_items[i + 1].integer;
        }
    }
    return std::nullopt;
}

int PlaxenData::Count() const {
    return Value(kCountKey).value_or(1);
}

bool PlaxenData::Rotatable() const {
    const std::optional<int> value = Value(kRotableKey);
    if (!value) {
        return !m_present;
    }
    return *value != 0;
}

std::wstring PlaxenData::TextForm(const resbuf& item) {
    const int code = item.restype;
    wchar_t buffer[64] = {};
    if (IsStringCode(code)) {
        return item.resval.rstring != nullptr ? item.resval.rstring : L"";
    }
    if (IsRealCode(code)) {
        // A point's first coordinate shares its storage with a real value.
        std::swprintf(buffer, 64, L"%0.6f", item.resval.rreal);
        return buffer;
    }
    if (code == kShortCode) {
        std::swprintf(buffer, 64, L"%i", static_cast<int>(item.resval.rint));
        return buffer;
    }
    return {};
}

NestPolygon DwgParser::polygonify(ZcDbObjectId id, double arcPrecision) {
    NestPolygon polygon;
    if (ObjectId(id).IsValid() != HandleStatus::kOk) {
        return polygon;
    }
    const Entity entity(id);
    if (entity.IsAlignedDimension() || entity.IsText() || entity.IsMText()) {
        return polygon;
    }
    if (entity.IsPoint()) {
        ReportPoint(id);
        return polygon;
    }
    Points points;
    if (!ReadOutline(id, arcPrecision, points) || points.isEmpty()) {
        return polygon;
    }
    for (const ZcGePoint3d& p : points) {
        polygon.Add(GePoint(p.x, p.y));
    }
    // A closed curve read from its start to its end gives its first point again; the outline
    // closes by itself, and a repeated vertex would make the run refuse to grow the part by the
    // spacing.
    if (polygon.Size() > 3 && Coincident(polygon[0], polygon.Last())) {
        polygon.RemoveLast();
    }
    polygon.SetName(ObjectId(id).HandleString());
    return polygon;
}

void DwgParser::SetRange(const GePoint& corner, double reach, double integerScale) {
    m_hasRange = true;
    m_corner = corner;
    m_reach = reach;
    m_scale = integerScale;
}

std::wstring DwgParser::Fault(NestPolygon& outline) const {
    const RepairedOutline repaired = RepairOutline(outline, m_scale);
    if (repaired.fault != OutlineFault::None) {
        return OutlineFaultText(repaired.fault);
    }
    outline.Clear();
    outline.AddPoints(repaired.outline);
    if (m_hasRange) {
        for (const GePoint& p : outline) {
            if (std::hypot(p.x - m_corner.x, p.y - m_corner.y) > m_reach) {
                wchar_t reach[64] = {};
                std::swprintf(reach, 64, L"%g", m_reach);
                return std::wstring(L"it lies farther than ") + reach +
                       L" drawing units from the sheet, beyond the range of the nesting "
                       L"arithmetic";
            }
        }
    }
    return {};
}

void DwgParser::Parse(ZcDbObjectId id, double arcPrecision, Polygons& parts) {
    NestPolygon outline = polygonify(id, arcPrecision);
    if (outline.IsEmpty()) {
        return;
    }
    const std::wstring source = outline.Name();
    const int count = PlaxenData(id).Count();
    if (count < 1) {
        PrintOnCommandLine(L"Part " + source + L" is left out: its \"" + kCountKey + L"\" is " +
                               std::to_wstring(count) + L", below 1.",
                           true);
        return;
    }
    // A part that cannot be nested is told once; its pieces get working copies, so that they are
    // set down beside the sheet, but no outline, so that the run leaves them out.
    const std::wstring fault = Fault(outline);
    if (fault.empty()) {
        CoverCurves(id, arcPrecision, outline);
    } else {
        PrintOnCommandLine(L"Part " + source + L" is left out: " + fault + L".", true);
        outline.Clear();
    }
    ZcDbDatabase* db = WorkingDatabase();
    const ZcDbObjectId modelSpace = db != nullptr ? db->modelSpaceId() : ZcDbObjectId::kNull;
    for (int i = 0; i < PlaxenData(id).Count(); ++i) {
        ZcDbObjectId copy;
        // A piece without a working copy could be placed but never drawn.
        if (ZWDrawer().AddCopy(id, copy, modelSpace) != 0 || copy.isNull()) {
            continue;
        }
        ClearPlaxenData(copy);
        NestPolygon piece = outline.Clone();
        piece.SetName(ObjectId(copy).HandleString());
        piece.SetRotatable(PlaxenData(id).Rotatable());
        parts.Add(piece);
    }
}

void DwgParser::CoverCurves(ZcDbObjectId id, double arcPrecision, NestPolygon& outline) {
    // The outline's points lie on the object's curves, so each of its edges cuts across a
    // convex arc by up to the arc's sagitta: two parts whose outlines touch would overlap by
    // that much in the drawing. How far the object reaches outside the outline is measured on
    // a reading kFinerReading times finer, whose own cut is kFinerReading^2 times smaller, and
    // the outline grows by that reach, so that outlines apart mean objects apart.
    const NestPolygon finer = polygonify(id, arcPrecision * kFinerReading);
    double reach = 0.0;
    for (const GePoint& p : finer) {
        if (!Contains(outline, p)) {
            reach = std::max(reach, DistanceToOutline(outline, p));
        }
    }
    if (reach > kOffsetThreshold) {
        // Grown relative to its first point, so that where the part lies does not matter.
        const GePoint origin = outline[0];
        for (GePoint& p : outline) {
            p = GePoint(p.x - origin.x, p.y - origin.y);
        }
        const double cut = 1.0 / (kFinerReading * kFinerReading);
        NestSettings settings;
        settings.integerScale = static_cast<std::int32_t>(m_scale);
        outline.Grow(reach / (1.0 - cut), settings);
        for (GePoint& p : outline) {
            p = GePoint(p.x + origin.x, p.y + origin.y);
        }
    }
}

double NestBlockAreaReader::Area(ZcDbObjectId reference) {
    Ids contents;
    if (ZWBlockDef(reference).EntityIds(contents) != HandleStatus::kOk) {
        return 0.0;
    }
    const Boundary outline = BoundaryReader(contents).Read();
    const double area = AreaReader(outline.ids).Area();
    // The block's contents are measured in block units; the reference shows them scaled.
    const ZcGeScale3d scale = ZWBlockIns(reference).ScaleFactors();
    return area * std::fabs(scale.sx * scale.sy);
}

} // namespace gantrel
