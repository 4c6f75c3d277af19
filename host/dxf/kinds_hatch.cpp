// Hatches: boundary paths (polyline paths, and edge paths of lines, circular and elliptic arcs
// and splines) in the object coordinates of the hatch's normal, and pattern data.
#include <cmath>

#include "angles.h"
#include "contexts.h"
#include "group_writer.h"
#include "kinds.h"
#include "zcdbregion.h"

namespace gantrel::dxf {

namespace {

struct HatchData {
    double elevation = 0.0;
    ZcGeVector3d normal = ZcGeVector3d::kZAxis;
    std::wstring pattern = L"SOLID";
    std::int16_t solid = 1;
    std::int16_t associative = 0;
    std::int16_t style = 0;
    double angle = 0.0, scale = 1.0;
    std::vector<ZcDbLoop> loops;
    std::vector<std::vector<double>> patternLines;
};

void loadHatch(const ZcDbHatch& h, HatchData& d, WriteContext&) {
    d.elevation = h.elevation();
    d.normal = h.normal();
    d.pattern = h.patternName();
    d.solid = h.isSolidFill() ? 1 : 0;
    d.associative = h.associative() ? 1 : 0;
    d.style = static_cast<std::int16_t>(h.hatchStyle());
    d.angle = h.patternAngle();
    d.scale = h.patternScale();
    d.loops = h.loops();
    d.patternLines = h.patternLines();
}

Zcad::ErrorStatus storeHatch(HatchData& d, ZcDbHatch& h, ReadContext&) {
    Zcad::ErrorStatus es = h.setPattern(d.pattern.c_str(), d.solid != 0);
    if (es == Zcad::eOk)
        es = h.setPatternAngle(d.angle);
    if (es == Zcad::eOk)
        es = h.setPatternScale(d.scale);
    if (es == Zcad::eOk)
        es = h.setAssociative(d.associative != 0);
    if (es == Zcad::eOk)
        es = d.style >= ZcDbHatch::kNormal && d.style <= ZcDbHatch::kIgnore
                 ? h.setHatchStyle(static_cast<ZcDbHatch::HatchStyle>(d.style))
                 : Zcad::eInvalidInput;
    if (es == Zcad::eOk)
        es = h.setElevation(d.elevation);
    if (es == Zcad::eOk)
        es = h.setNormal(d.normal);
    for (const ZcDbLoop& loop : d.loops)
        if (es == Zcad::eOk)
            es = h.appendLoop(loop);
    h.setPatternLines(std::move(d.patternLines));
    return es;
}

// Reads the groups of a hatch's structured data in their fixed order.
class PathReader {
public:
    PathReader(GroupCursor& cur, ReadContext& ctx) : m_cur(cur), m_ctx(ctx) {}

    const Group& expect(int code) {
        if (m_cur.done())
            throw RecordError(0, "HATCH: group " + std::to_string(code) + " missing at its end");
        const Group& g = m_cur.take();
        if (g.code != code)
            throw RecordError(g.line, "HATCH: expected group " + std::to_string(code) + ", found " +
                                          std::to_string(g.code));
        return g;
    }
    bool next(int code) const { return !m_cur.done() && m_cur.peek().code == code; }
    double real(int code) { return m_ctx.real(expect(code)); }
    std::int64_t integer(int code) { return m_ctx.integer(expect(code)); }
    // A count that must be sane for the groups that follow.
    std::size_t count(int code) {
        const Group& g = expect(code);
        const std::int64_t n = m_ctx.integer(g);
        if (n < 0 || static_cast<std::size_t>(n) > m_cur.all().size())
            throw RecordError(g.line, "HATCH: count " + std::to_string(n) + " of group " +
                                          std::to_string(code) + " does not fit the record");
        return static_cast<std::size_t>(n);
    }
    ZcGePoint2d point(int code) {
        const double x = real(code);
        return {x, real(code + 10)};
    }
    bool newFormat() const { return m_ctx.version >= "AC1024"; }

private:
    GroupCursor& m_cur;
    ReadContext& m_ctx;
};

ZcDbLoopEdge readEdge(PathReader& r) {
    ZcDbLoopEdge e;
    const std::int64_t type = r.integer(72);
    switch (type) {
    case ZcDbLoopEdge::kLine:
        e.kind = ZcDbLoopEdge::kLine;
        e.start = r.point(10);
        e.end = r.point(11);
        break;
    case ZcDbLoopEdge::kCircularArc:
    case ZcDbLoopEdge::kEllipticArc: {
        const bool elliptic = type == ZcDbLoopEdge::kEllipticArc;
        e.kind = elliptic ? ZcDbLoopEdge::kEllipticArc : ZcDbLoopEdge::kCircularArc;
        e.center = r.point(10);
        if (elliptic) {
            const ZcGePoint2d axis = r.point(11);
            e.majorAxis = {axis.x, axis.y};
        }
        e.radius = r.real(40);
        e.startAngle = degreesToRadians(r.real(50));
        e.endAngle = degreesToRadians(r.real(51));
        e.counterClockwise = r.integer(73) != 0;
        if (!e.counterClockwise) {
            // A clockwise edge stores the angles of its mirror image.
            e.startAngle = 2 * kPi - e.startAngle;
            e.endAngle = 2 * kPi - e.endAngle;
        }
        break;
    }
    case ZcDbLoopEdge::kSpline: {
        e.kind = ZcDbLoopEdge::kSpline;
        e.degree = static_cast<int>(r.integer(94));
        const bool rational = r.integer(73) != 0;
        r.integer(74);
        const std::size_t knots = r.count(95);
        const std::size_t controls = r.count(96);
        for (std::size_t i = 0; i < knots; ++i)
            e.knots.push_back(r.real(40));
        for (std::size_t i = 0; i < controls; ++i) {
            e.controlPoints.push_back(r.point(10));
            if (r.next(42))
                e.weights.push_back(r.real(42));
        }
        if (rational && e.weights.size() != controls)
            e.weights.assign(controls, 1.0);
        if (!rational)
            e.weights.clear();
        if (r.newFormat() && r.next(97)) {
            // Fit data of the edge: the control points already define it.
            const std::size_t fits = r.count(97);
            for (std::size_t i = 0; i < fits; ++i)
                r.point(11);
            if (r.next(12))
                r.point(12);
            if (r.next(13))
                r.point(13);
        }
        break;
    }
    default:
        throw RecordError(0, "HATCH: unknown boundary edge type " + std::to_string(type));
    }
    return e;
}

void readPaths(void* t, GroupCursor& cur, ReadContext& ctx) {
    auto& d = *static_cast<HatchData*>(t);
    PathReader r(cur, ctx);
    const std::size_t paths = r.count(91);
    for (std::size_t p = 0; p < paths; ++p) {
        ZcDbLoop loop;
        loop.flags = static_cast<std::int32_t>(r.integer(92));
        if (loop.isPolyline()) {
            const bool bulges = r.integer(72) != 0;
            loop.closed = r.integer(73) != 0;
            const std::size_t n = r.count(93);
            for (std::size_t i = 0; i < n; ++i) {
                loop.vertices.push_back(r.point(10));
                loop.bulges.push_back(bulges && r.next(42) ? r.real(42) : 0.0);
            }
        } else {
            const std::size_t n = r.count(93);
            for (std::size_t i = 0; i < n; ++i)
                loop.edges.push_back(readEdge(r));
        }
        // Handles of the boundary objects; the loop keeps its own geometry.
        if (r.next(97)) {
            const std::size_t sources = r.count(97);
            for (std::size_t i = 0; i < sources; ++i)
                ctx.handle(r.expect(330));
        }
        d.loops.push_back(std::move(loop));
    }
}

void writeEdge(const ZcDbLoopEdge& e, GroupWriter& w) {
    w.integer(72, e.kind);
    switch (e.kind) {
    case ZcDbLoopEdge::kLine:
        w.point2(10, e.start.x, e.start.y);
        w.point2(11, e.end.x, e.end.y);
        break;
    case ZcDbLoopEdge::kCircularArc:
    case ZcDbLoopEdge::kEllipticArc: {
        w.point2(10, e.center.x, e.center.y);
        if (e.kind == ZcDbLoopEdge::kEllipticArc)
            w.point2(11, e.majorAxis.x, e.majorAxis.y);
        w.real(40, e.radius);
        const double start = e.counterClockwise ? e.startAngle : 2 * kPi - e.startAngle;
        const double end = e.counterClockwise ? e.endAngle : 2 * kPi - e.endAngle;
        w.real(50, radiansToDegrees(start));
        w.real(51, radiansToDegrees(end));
        w.integer(73, e.counterClockwise ? 1 : 0);
        break;
    }
    case ZcDbLoopEdge::kSpline:
        w.integer(94, e.degree);
        w.integer(73, e.weights.empty() ? 0 : 1);
        w.integer(74, 0);
        w.integer(95, static_cast<std::int64_t>(e.knots.size()));
        w.integer(96, static_cast<std::int64_t>(e.controlPoints.size()));
        for (double k : e.knots)
            w.real(40, k);
        for (std::size_t i = 0; i < e.controlPoints.size(); ++i) {
            w.point2(10, e.controlPoints[i].x, e.controlPoints[i].y);
            if (i < e.weights.size())
                w.real(42, e.weights[i]);
        }
        w.integer(97, 0);
        break;
    }
}

void writePaths(const void* t, GroupWriter& w, WriteContext&) {
    const auto& d = *static_cast<const HatchData*>(t);
    w.integer(91, static_cast<std::int64_t>(d.loops.size()));
    for (const ZcDbLoop& loop : d.loops) {
        w.integer(92, loop.flags);
        if (loop.isPolyline()) {
            bool bulges = false;
            for (double b : loop.bulges)
                bulges = bulges || b != 0.0;
            w.integer(72, bulges ? 1 : 0);
            w.integer(73, loop.closed ? 1 : 0);
            w.integer(93, static_cast<std::int64_t>(loop.vertices.size()));
            for (std::size_t i = 0; i < loop.vertices.size(); ++i) {
                w.point2(10, loop.vertices[i].x, loop.vertices[i].y);
                if (bulges)
                    w.real(42, i < loop.bulges.size() ? loop.bulges[i] : 0.0);
            }
        } else {
            w.integer(93, static_cast<std::int64_t>(loop.edges.size()));
            for (const ZcDbLoopEdge& e : loop.edges)
                writeEdge(e, w);
        }
        w.integer(97, 0);
    }
}

// Pattern lines: angle, base point, offset, then the dash lengths.
void readPatternLines(void* t, GroupCursor& cur, ReadContext& ctx) {
    auto& d = *static_cast<HatchData*>(t);
    PathReader r(cur, ctx);
    const std::size_t lines = r.count(78);
    for (std::size_t i = 0; i < lines; ++i) {
        std::vector<double> line{r.real(53), r.real(43), r.real(44), r.real(45), r.real(46)};
        const std::size_t dashes = r.count(79);
        for (std::size_t k = 0; k < dashes; ++k)
            line.push_back(r.real(49));
        d.patternLines.push_back(std::move(line));
    }
}

void writePatternLines(const void* t, GroupWriter& w, WriteContext&) {
    const auto& d = *static_cast<const HatchData*>(t);
    if (d.solid || d.patternLines.empty())
        return;
    w.integer(78, static_cast<std::int64_t>(d.patternLines.size()));
    for (const auto& line : d.patternLines) {
        static constexpr int kCodes[] = {53, 43, 44, 45, 46};
        for (std::size_t k = 0; k < 5; ++k)
            w.real(kCodes[k], k < line.size() ? line[k] : 0.0);
        const std::size_t dashes = line.size() > 5 ? line.size() - 5 : 0;
        w.integer(79, static_cast<std::int64_t>(dashes));
        for (std::size_t k = 5; k < line.size(); ++k)
            w.real(49, line[k]);
    }
}

// Seed points say where the hatch was picked; they are not kept.
void readSeeds(void*, GroupCursor& cur, ReadContext& ctx) {
    PathReader r(cur, ctx);
    const std::size_t seeds = r.count(98);
    for (std::size_t i = 0; i < seeds; ++i)
        r.point(10);
}

void writeSeeds(const void*, GroupWriter& w, WriteContext&) {
    w.integer(98, 0);
}

const Subclass kHatch{
    "AcDbHatch",
    {
        custom(
            10, FieldKind::Point3, Presence::Always, {},
            [](const void* t, Value& v, WriteContext&) {
                v.point = ZcGePoint3d(0.0, 0.0, static_cast<const HatchData*>(t)->elevation);
            },
            [](void* t, const Value& v, ReadContext&) {
                static_cast<HatchData*>(t)->elevation = v.point.z;
                return Zcad::eOk;
            }),
        member<&HatchData::normal>(210, FieldKind::Vector3, Presence::Always, kZ),
        member<&HatchData::pattern>(2, FieldKind::Text, Presence::Always, L"SOLID"),
        member<&HatchData::solid>(70, FieldKind::Int16, Presence::Always, 1),
        member<&HatchData::associative>(71, FieldKind::Int16, Presence::Always, 0),
        sequence(91, {}, &readPaths, &writePaths),
        member<&HatchData::style>(75, FieldKind::Int16, Presence::Always, 0),
        unmodelled(76, FieldKind::Int16, 1),
        member<&HatchData::angle>(52, FieldKind::Angle, Presence::Optional, 0.0),
        member<&HatchData::scale>(41, FieldKind::Real, Presence::Optional, 1.0),
        unmodelled(77, FieldKind::Int16, 0, Presence::Optional),
        sequence(78, {}, &readPatternLines, &writePatternLines),
        unmodelled(47, FieldKind::Real, 0.0, Presence::Optional),
        sequence(98, {}, &readSeeds, &writeSeeds),
    }};

} // namespace

std::vector<const Kind*> hatchKinds() {
    static const Schema hatch("HATCH", {&entitySubclass(), &kHatch}, true);
    static const Kind kind = stagedKind<HatchData, ZcDbHatch, &loadHatch, &storeHatch>(hatch);
    return {&kind};
}

} // namespace gantrel::dxf
