// Writing planar regions as SAT version 700: one body, one lump and one shell; a face on a
// plane surface for each outer loop, holding the loops nested directly inside it. Outer loops
// run counter-clockwise about the normal, holes clockwise; consecutive edges share vertices.
#include <cmath>

#include "geom_util.h"
#include "group_writer.h"
#include "sat.h"

namespace gantrel::dxf {

namespace {

using gantrel::db::Ocs;

std::string num(double v) {
    return formatReal(v);
}

// A loop as a polygon through its vertices and points along its arcs.
std::vector<ZcGePoint2d> polygonOf(const ZcDbLoop& loop) {
    std::vector<ZcGePoint2d> out;
    for (const ZcDbLoopEdge& e : loop.edges) {
        if (e.kind == ZcDbLoopEdge::kLine) {
            out.push_back(e.start);
            continue;
        }
        double sweep = gantrel::db::sweepAngle(e.counterClockwise ? e.startAngle : e.endAngle,
                                               e.counterClockwise ? e.endAngle : e.startAngle);
        if (!e.counterClockwise)
            sweep = -sweep;
        for (int k = 0; k < 32; ++k) {
            const double a = e.startAngle + sweep * k / 32.0;
            out.push_back(
                {e.center.x + e.radius * std::cos(a), e.center.y + e.radius * std::sin(a)});
        }
    }
    return out;
}

double signedArea(const std::vector<ZcGePoint2d>& p) {
    double a = 0.0;
    for (std::size_t i = 0; i < p.size(); ++i) {
        const ZcGePoint2d& u = p[i];
        const ZcGePoint2d& v = p[(i + 1) % p.size()];
        a += u.x * v.y - v.x * u.y;
    }
    return a / 2.0;
}

bool inside(const std::vector<ZcGePoint2d>& poly, const ZcGePoint2d& q) {
    bool in = false;
    for (std::size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
        const ZcGePoint2d& a = poly[i];
        const ZcGePoint2d& b = poly[j];
        if ((a.y > q.y) != (b.y > q.y) && q.x < (b.x - a.x) * (q.y - a.y) / (b.y - a.y) + a.x)
            in = !in;
    }
    return in;
}

// A point well inside the loop's boundary's neighbourhood: the middle of its first edge.
ZcGePoint2d samplePoint(const std::vector<ZcGePoint2d>& poly) {
    const ZcGePoint2d& a = poly[0];
    const ZcGePoint2d& b = poly[poly.size() > 1 ? 1 : 0];
    return {(a.x + b.x) / 2, (a.y + b.y) / 2};
}

ZcDbLoopEdge reversed(const ZcDbLoopEdge& e) {
    ZcDbLoopEdge r = e;
    std::swap(r.start, r.end);
    std::swap(r.startAngle, r.endAngle);
    r.counterClockwise = !e.counterClockwise;
    return r;
}

ZcDbLoop reversed(const ZcDbLoop& loop) {
    ZcDbLoop r = loop;
    r.edges.clear();
    for (auto it = loop.edges.rbegin(); it != loop.edges.rend(); ++it)
        r.edges.push_back(reversed(*it));
    return r;
}

// Records with pointers as indices; written once every index is known.
class SatBuilder {
public:
    int reserve() {
        m_records.emplace_back();
        return static_cast<int>(m_records.size()) - 1;
    }
    void set(int index, std::string text) {
        m_records[static_cast<std::size_t>(index)] = std::move(text);
    }
    static std::string ptr(int index) { return "$" + std::to_string(index); }
    const std::vector<std::string>& records() const { return m_records; }

private:
    std::vector<std::string> m_records;
};

class RegionWriter {
public:
    explicit RegionWriter(const PlanarLoops& region)
        : m_region(region), m_ocs(gantrel::db::ocsOf(region.normal)) {}

    std::vector<std::string> write() {
        // Nesting: a loop inside an even number of others is outer, else a hole of the
        // innermost outer loop around it.
        const std::size_t n = m_region.loops.size();
        std::vector<std::vector<ZcGePoint2d>> polys;
        for (const ZcDbLoop& l : m_region.loops)
            polys.push_back(polygonOf(l));
        std::vector<int> depth(n, 0);
        std::vector<std::vector<std::size_t>> containers(n);
        for (std::size_t i = 0; i < n; ++i)
            for (std::size_t j = 0; j < n; ++j)
                if (i != j && polys[i].size() > 0 && polys[j].size() > 2 &&
                    inside(polys[j], samplePoint(polys[i]))) {
                    ++depth[i];
                    containers[i].push_back(j);
                }
        std::vector<std::vector<ZcDbLoop>> faces;
        std::vector<int> faceOf(n, -1);
        for (std::size_t i = 0; i < n; ++i) {
            if (depth[i] % 2 != 0)
                continue;
            faceOf[i] = static_cast<int>(faces.size());
            faces.push_back({oriented(i, polys[i], true)});
        }
        for (std::size_t i = 0; i < n; ++i) {
            if (depth[i] % 2 == 0)
                continue;
            for (std::size_t j : containers[i]) {
                if (depth[j] == depth[i] - 1 && faceOf[j] >= 0) {
                    faces[static_cast<std::size_t>(faceOf[j])].push_back(
                        oriented(i, polys[i], false));
                    break;
                }
            }
        }

        const int body = m_sat.reserve(), lump = m_sat.reserve(), shell = m_sat.reserve();
        m_shell = shell;
        std::vector<int> faceIds;
        for (std::size_t f = 0; f < faces.size(); ++f)
            faceIds.push_back(m_sat.reserve());
        m_sat.set(body, "body $-1 -1 $-1 " + SatBuilder::ptr(lump) + " $-1 $-1 #");
        m_sat.set(lump, "lump $-1 -1 $-1 $-1 " + SatBuilder::ptr(shell) + " " +
                            SatBuilder::ptr(body) + " #");
        m_sat.set(shell, "shell $-1 -1 $-1 $-1 $-1 " +
                             (faceIds.empty() ? std::string("$-1") : SatBuilder::ptr(faceIds[0])) +
                             " $-1 " + SatBuilder::ptr(lump) + " #");
        for (std::size_t f = 0; f < faces.size(); ++f)
            writeFace(faceIds[f], f + 1 < faces.size() ? faceIds[f + 1] : -1, faces[f]);

        std::vector<std::string> lines{"700 0 1 0 ",
                                       "@7 Gantrel @12 ACIS 32.0 NT @24 Thu Jan 01 00:00:00 2015 ",
                                       "1 9.9999999999999995e-007 1e-010 "};
        lines.insert(lines.end(), m_sat.records().begin(), m_sat.records().end());
        lines.push_back("End-of-ACIS-data ");
        return lines;
    }

private:
    ZcDbLoop oriented(std::size_t i, const std::vector<ZcGePoint2d>& poly, bool outer) const {
        const bool ccw = signedArea(poly) > 0.0;
        return ccw == outer ? m_region.loops[i] : reversed(m_region.loops[i]);
    }

    ZcGePoint3d world(double x, double y) const { return m_ocs.toWorld(x, y, m_region.elevation); }
    std::string vec(const ZcGePoint3d& p) const {
        return num(p.x) + " " + num(p.y) + " " + num(p.z);
    }
    std::string vec(const ZcGeVector3d& v) const {
        return num(v.x) + " " + num(v.y) + " " + num(v.z);
    }

    void writeFace(int face, int nextFace, const std::vector<ZcDbLoop>& loops) {
        const int surface = m_sat.reserve();
        std::vector<int> loopIds;
        for (std::size_t i = 0; i < loops.size(); ++i)
            loopIds.push_back(m_sat.reserve());
        m_sat.set(face, "face $-1 -1 $-1 " + SatBuilder::ptr(nextFace) + " " +
                            SatBuilder::ptr(loopIds[0]) + " " + SatBuilder::ptr(m_shell) + " $-1 " +
                            SatBuilder::ptr(surface) + " forward double out #");
        m_sat.set(surface, "plane-surface $-1 -1 $-1 " + vec(world(0, 0)) + " " +
                               vec(m_region.normal) + " " + vec(m_ocs.x) + " forward_v I I I I #");
        for (std::size_t i = 0; i < loops.size(); ++i)
            writeLoop(loopIds[i], i + 1 < loops.size() ? loopIds[i + 1] : -1, face, loops[i]);
    }

    ZcGePoint2d startOf(const ZcDbLoopEdge& e) const {
        if (e.kind == ZcDbLoopEdge::kLine)
            return e.start;
        return {e.center.x + e.radius * std::cos(e.startAngle),
                e.center.y + e.radius * std::sin(e.startAngle)};
    }

    void writeLoop(int loop, int nextLoop, int face, const ZcDbLoop& l) {
        const std::size_t n = l.edges.size();
        std::vector<int> coedges(n), edges(n), vertices(n), points(n), curves(n);
        for (std::size_t i = 0; i < n; ++i) {
            coedges[i] = m_sat.reserve();
            edges[i] = m_sat.reserve();
            vertices[i] = m_sat.reserve();
            points[i] = m_sat.reserve();
            curves[i] = m_sat.reserve();
        }
        m_sat.set(loop, "loop $-1 -1 $-1 " + SatBuilder::ptr(nextLoop) + " " +
                            SatBuilder::ptr(coedges[0]) + " " + SatBuilder::ptr(face) + " #");
        for (std::size_t i = 0; i < n; ++i) {
            const ZcDbLoopEdge& e = l.edges[i];
            // Vertex i is where edge i starts and edge i - 1 ends.
            const ZcGePoint2d s = startOf(e);
            const int from = vertices[i];
            const int to = vertices[(i + 1) % n];
            m_sat.set(points[i], "point $-1 -1 $-1 " + vec(world(s.x, s.y)) + " #");
            m_sat.set(vertices[i], "vertex $-1 -1 $-1 " + SatBuilder::ptr(edges[i]) + " " +
                                       SatBuilder::ptr(points[i]) + " #");
            m_sat.set(coedges[i],
                      "coedge $-1 -1 $-1 " + SatBuilder::ptr(coedges[(i + 1) % n]) + " " +
                          SatBuilder::ptr(coedges[(i + n - 1) % n]) + " $-1 " +
                          SatBuilder::ptr(edges[i]) +
                          (e.kind == ZcDbLoopEdge::kLine || e.counterClockwise ? " forward "
                                                                               : " reversed ") +
                          SatBuilder::ptr(loop) + " $-1 #");
            if (e.kind == ZcDbLoopEdge::kLine) {
                const ZcGePoint3d a = world(e.start.x, e.start.y), b = world(e.end.x, e.end.y);
                const double length = a.distanceTo(b);
                const ZcGeVector3d dir = length > 0 ? (b - a) / length : m_ocs.x;
                m_sat.set(edges[i], "edge $-1 -1 $-1 " + SatBuilder::ptr(from) + " 0 " +
                                        SatBuilder::ptr(to) + " " + num(length) + " " +
                                        SatBuilder::ptr(coedges[i]) + " " +
                                        SatBuilder::ptr(curves[i]) + " forward @7 unknown #");
                m_sat.set(curves[i],
                          "straight-curve $-1 -1 $-1 " + vec(a) + " " + vec(dir) + " I I #");
                continue;
            }
            // The curve runs counter-clockwise about the normal with the parameter equal to
            // the angle; a clockwise edge is that curve's edge traversed backwards.
            const double a0 = e.counterClockwise ? e.startAngle : e.endAngle;
            const double a1 = e.counterClockwise ? e.endAngle : e.startAngle;
            const double sweep = gantrel::db::sweepAngle(a0, a1);
            const int edgeStart = e.counterClockwise ? from : to;
            const int edgeEnd = e.counterClockwise ? to : from;
            m_sat.set(edges[i], "edge $-1 -1 $-1 " + SatBuilder::ptr(edgeStart) + " " + num(a0) +
                                    " " + SatBuilder::ptr(edgeEnd) + " " + num(a0 + sweep) + " " +
                                    SatBuilder::ptr(coedges[i]) + " " + SatBuilder::ptr(curves[i]) +
                                    " forward @7 unknown #");
            m_sat.set(curves[i], "ellipse-curve $-1 -1 $-1 " + vec(world(e.center.x, e.center.y)) +
                                     " " + vec(m_region.normal) + " " + vec(m_ocs.x * e.radius) +
                                     " 1 I I #");
        }
    }

    const PlanarLoops& m_region;
    Ocs m_ocs;
    SatBuilder m_sat;
    int m_shell = -1;
};

} // namespace

std::vector<std::string> loopsToSat(const PlanarLoops& region) {
    return RegionWriter(region).write();
}

} // namespace gantrel::dxf
