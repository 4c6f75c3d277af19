// Lightweight polylines, and 2-D polylines with their vertices.
#include "contexts.h"
#include "group_writer.h"
#include "kinds.h"
#include "zcdbents.h"

namespace gantrel::dxf {

namespace {

struct LwPolylineData {
    std::vector<ZcDbPolyline::Vertex> vertices;
    std::int16_t flags = 0; // closed 1, linetype generation 128
    double constantWidth = 0.0;
    double elevation = 0.0;
    ZcGeVector3d normal = ZcGeVector3d::kZAxis;
};

void loadLwPolyline(const ZcDbPolyline& p, LwPolylineData& d, WriteContext&) {
    d.vertices = p.vertices();
    d.flags = static_cast<std::int16_t>((p.isClosed() ? 1 : 0) | (p.hasPlinegen() ? 128 : 0));
    d.constantWidth = p.constantWidth();
    d.elevation = p.elevation();
    d.normal = p.normal();
}

Zcad::ErrorStatus storeLwPolyline(LwPolylineData& d, ZcDbPolyline& p, ReadContext&) {
    if (auto es = p.setVertices(std::move(d.vertices)); es != Zcad::eOk)
        return es;
    if (d.constantWidth != 0.0)
        if (auto es = p.setConstantWidth(d.constantWidth); es != Zcad::eOk)
            return es;
    p.setClosed(d.flags & 1);
    p.setPlinegen(d.flags & 128);
    p.setElevation(d.elevation);
    return p.setNormal(d.normal);
}

// Vertices: 10/20 start one, 40/41 widths, 42 bulge and 91 (an identifier) belong to it.
void readLwVertices(void* t, GroupCursor& cur, ReadContext& ctx) {
    auto& d = *static_cast<LwPolylineData*>(t);
    // Room for the vertices of the groups that follow, made once.
    std::size_t count = 0;
    for (const Group& g : cur.all().subspan(cur.position()))
        count += g.code == 10;
    d.vertices.reserve(d.vertices.size() + count);
    while (!cur.done()) {
        const Group& g = cur.peek();
        if (g.code == 10) {
            d.vertices.emplace_back();
            d.vertices.back().point.x = ctx.real(g);
        } else if (d.vertices.empty()) {
            break;
        } else if (g.code == 20) {
            d.vertices.back().point.y = ctx.real(g);
        } else if (g.code == 40) {
            d.vertices.back().startWidth = ctx.real(g);
        } else if (g.code == 41) {
            d.vertices.back().endWidth = ctx.real(g);
        } else if (g.code == 42) {
            d.vertices.back().bulge = ctx.real(g);
        } else if (g.code == 91 || g.code == 30) {
            ctx.integer(g);
        } else {
            break;
        }
        cur.take();
    }
}

void writeLwVertices(const void* t, GroupWriter& w, WriteContext&) {
    const auto& d = *static_cast<const LwPolylineData*>(t);
    for (const auto& v : d.vertices) {
        w.point2(10, v.point.x, v.point.y);
        // Widths equal to the constant width follow from group 43.
        if (v.startWidth != d.constantWidth || v.endWidth != d.constantWidth) {
            w.real(40, v.startWidth);
            w.real(41, v.endWidth);
        }
        if (v.bulge != 0.0)
            w.real(42, v.bulge);
    }
}

const Subclass kLwPolyline{
    "AcDbPolyline",
    {
        custom(
            90, FieldKind::Int32, Presence::Always, 0,
            [](const void* t, Value& v, WriteContext&) {
                v.integer = static_cast<std::int64_t>(
                    static_cast<const LwPolylineData*>(t)->vertices.size());
            },
            [](void*, const Value&, ReadContext&) { return Zcad::eOk; }),
        member<&LwPolylineData::flags>(70, FieldKind::Int16, Presence::Always, 0),
        member<&LwPolylineData::constantWidth>(43, FieldKind::Real, Presence::Optional, 0.0),
        member<&LwPolylineData::elevation>(38, FieldKind::Real, Presence::Optional, 0.0),
        unmodelled(39, FieldKind::Real, 0.0, Presence::Optional),
        sequence(10, {20, 40, 41, 42, 91}, &readLwVertices, &writeLwVertices),
        member<&LwPolylineData::normal>(210, FieldKind::Vector3, Presence::Optional, kZ),
    }};

// --- 2-D polylines ---------------------------------------------------------------------------

// The polyline's own flags and its closed flag make the DXF flags.
Field polylineFlags() {
    return custom(
        70, FieldKind::Int16, Presence::Always, 0,
        [](const void* t, Value& v, WriteContext&) {
            const auto& p = *static_cast<const ZcDb2dPolyline*>(t);
            v.integer = (p.polylineFlags() & ~1) | (p.isClosed() ? 1 : 0);
        },
        [](void* t, const Value& v, ReadContext&) {
            auto& p = *static_cast<ZcDb2dPolyline*>(t);
            p.setClosed(v.integer & 1);
            return p.setPolylineFlags(static_cast<std::int16_t>(v.integer & ~1));
        });
}

const Subclass kPolyline2d{
    "AcDb2dPolyline",
    {
        // "Entities follow": the vertices come after the polyline.
        custom(
            66, FieldKind::Int16, Presence::Always, 1,
            [](const void*, Value& v, WriteContext&) { v.integer = 1; },
            [](void*, const Value&, ReadContext&) { return Zcad::eOk; }),
        custom(
            10, FieldKind::Point3, Presence::Always, {},
            [](const void* t, Value& v, WriteContext&) {
                v.point = ZcGePoint3d(0.0, 0.0, static_cast<const ZcDb2dPolyline*>(t)->elevation());
            },
            [](void* t, const Value& v, ReadContext&) {
                return static_cast<ZcDb2dPolyline*>(t)->setElevation(v.point.z);
            }),
        unmodelled(39, FieldKind::Real, 0.0, Presence::Optional),
        polylineFlags(),
        unmodelled(40, FieldKind::Real, 0.0, Presence::Optional),
        unmodelled(41, FieldKind::Real, 0.0, Presence::Optional),
        unmodelled(71, FieldKind::Int16, 0, Presence::Optional),
        unmodelled(72, FieldKind::Int16, 0, Presence::Optional),
        unmodelled(73, FieldKind::Int16, 0, Presence::Optional),
        unmodelled(74, FieldKind::Int16, 0, Presence::Optional),
        unmodelled(75, FieldKind::Int16, 0, Presence::Optional),
        prop<&ZcDb2dPolyline::normal, &ZcDb2dPolyline::setNormal>(210, FieldKind::Vector3,
                                                                  Presence::Optional, kZ),
    }};

const Subclass kVertex{"AcDbVertex", {}};

Field vertexWidth(short code) {
    Field f = custom(
        code, FieldKind::Real, Presence::Optional, 0.0,
        [](const void* t, Value& v, WriteContext&) {
            v.real = static_cast<const ZcDb2dVertex*>(t)->startWidth();
        },
        [](void* t, const Value& v, ReadContext&) {
            auto& x = *static_cast<ZcDb2dVertex*>(t);
            return x.setWidths(v.real, x.endWidth());
        });
    if (code == 41) {
        f.get = [](const void* t, Value& v, WriteContext&) {
            v.real = static_cast<const ZcDb2dVertex*>(t)->endWidth();
        };
        f.set = [](void* t, const Value& v, ReadContext&) {
            auto& x = *static_cast<ZcDb2dVertex*>(t);
            return x.setWidths(x.startWidth(), v.real);
        };
    }
    return f;
}

const Subclass kVertex2d{
    "AcDb2dVertex",
    {
        prop<&ZcDb2dVertex::position, &ZcDb2dVertex::setPosition>(10, FieldKind::Point3),
        vertexWidth(40),
        vertexWidth(41),
        prop<&ZcDb2dVertex::bulge, &ZcDb2dVertex::setBulge>(42, FieldKind::Real, Presence::Optional,
                                                            0.0),
        prop<&ZcDb2dVertex::vertexFlags, &ZcDb2dVertex::setVertexFlags>(70, FieldKind::Int16,
                                                                        Presence::Always, 0),
        unmodelled(50, FieldKind::Real, 0.0, Presence::Optional),
        unmodelled(91, FieldKind::Int32, 0, Presence::Optional),
    }};

} // namespace

std::vector<const Kind*> polylineKinds() {
    static const Schema lw("LWPOLYLINE", {&entitySubclass(), &kLwPolyline}, true);
    static const Schema polyline("POLYLINE", {&entitySubclass(), &kPolyline2d}, true);
    static const Schema vertex("VERTEX", {&entitySubclass(), &kVertex, &kVertex2d}, true);
    static const Kind lwKind =
        stagedKind<LwPolylineData, ZcDbPolyline, &loadLwPolyline, &storeLwPolyline>(lw);
    static const Kind polylineKind = directKind<ZcDb2dPolyline>(polyline);
    static const Kind vertexKind = directKind<ZcDb2dVertex>(vertex);
    return {&lwKind, &polylineKind, &vertexKind};
}

} // namespace gantrel::dxf
