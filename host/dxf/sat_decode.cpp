// Reading planar regions from SAT records: body, lumps, shells, faces on plane surfaces, loops
// of coedges whose edges lie on straight or circular curves.
#include <cmath>
#include <cstdlib>
#include <sstream>

#include "geom_util.h"
#include "groups.h"
#include "sat.h"

namespace gantrel::dxf {

namespace {

using gantrel::db::Ocs;

struct Record {
    std::string name;
    std::vector<std::string> data; // the tokens after the header part
};

class SatModel {
public:
    bool parse(const std::vector<std::string>& lines, std::string& why) {
        if (lines.size() < 4) {
            why = "too few lines";
            return false;
        }
        std::istringstream header(lines[0]);
        if (!(header >> m_version)) {
            why = "no version in the header";
            return false;
        }
        std::string text;
        for (std::size_t i = 3; i < lines.size(); ++i) {
            const std::string& l = lines[i];
            if (l.starts_with("End-of-ACIS-data") || l.starts_with("End-of-ASM-data") ||
                l.starts_with("Begin-of-ACIS-History-data"))
                break;
            text += l;
            text += ' ';
        }
        std::size_t start = 0;
        while (start < text.size()) {
            const std::size_t end = text.find('#', start);
            if (end == std::string::npos)
                break;
            std::istringstream tokens(text.substr(start, end - start));
            start = end + 1;
            std::vector<std::string> t;
            for (std::string tok; tokens >> tok;)
                t.push_back(tok);
            if (t.empty())
                continue;
            if (t[0].size() > 1 && t[0][0] == '-' &&
                std::isdigit(static_cast<unsigned char>(t[0][1])))
                t.erase(t.begin()); // a record number
            if (t.empty())
                continue;
            Record r;
            r.name = t[0];
            // attribute pointer; with version 7 an id; then a pattern pointer for topology
            // and geometry (not for transforms and attributes).
            std::size_t skip = 2;
            if (m_version >= 700) {
                skip = 3;
                if (r.name != "transform" && r.name.find("attrib") == std::string::npos)
                    skip = 4;
            }
            if (t.size() >= skip)
                r.data.assign(t.begin() + static_cast<std::ptrdiff_t>(skip), t.end());
            m_records.push_back(std::move(r));
        }
        if (m_records.empty()) {
            why = "no records";
            return false;
        }
        return true;
    }

    int version() const { return m_version; }
    std::size_t size() const { return m_records.size(); }
    const Record* at(long index) const {
        return index >= 0 && static_cast<std::size_t>(index) < m_records.size()
                   ? &m_records[static_cast<std::size_t>(index)]
                   : nullptr;
    }
    const Record& record(std::size_t i) const { return m_records[i]; }

private:
    int m_version = 0;
    std::vector<Record> m_records;
};

// A pointer token "$n": n, or -1 for a null or malformed pointer.
long pointer(const Record& r, std::size_t i) {
    if (i >= r.data.size() || r.data[i].size() < 2 || r.data[i][0] != '$')
        return -2;
    char* end = nullptr;
    const long v = std::strtol(r.data[i].c_str() + 1, &end, 10);
    return *end ? -2 : v;
}

bool number(const Record& r, std::size_t i, double& v) {
    return i < r.data.size() && parseReal(r.data[i], v);
}

bool vec(const Record& r, std::size_t i, ZcGeVector3d& v) {
    return number(r, i, v.x) && number(r, i + 1, v.y) && number(r, i + 2, v.z);
}

class RegionReader {
public:
    RegionReader(const SatModel& m, PlanarLoops& out, std::string& why)
        : m_model(m), m_out(out), m_why(why) {}

    bool read() {
        bool any = false;
        for (std::size_t i = 0; i < m_model.size(); ++i) {
            const Record& body = m_model.record(i);
            if (body.name != "body")
                continue;
            if (pointer(body, 2) >= 0 && !identityTransform(pointer(body, 2)))
                return fail("the body is transformed");
            for (long lump = pointer(body, 0); lump >= 0; lump = next(lump, "lump")) {
                for (long shell = pointerOf(lump, "lump", 1); shell >= 0;
                     shell = next(shell, "shell")) {
                    for (long face = pointerOf(shell, "shell", 2); face >= 0;
                         face = next(face, "face"))
                        if (!readFace(face))
                            return false;
                }
            }
            any = true;
        }
        if (!any || m_out.loops.empty())
            return fail("no faces");
        return true;
    }

private:
    bool fail(const std::string& why) {
        m_why = why;
        return false;
    }
    const Record* typed(long index, std::string_view name) const {
        const Record* r = m_model.at(index);
        return r && r->name == name ? r : nullptr;
    }
    long pointerOf(long index, std::string_view type, std::size_t field) const {
        const Record* r = typed(index, type);
        return r ? pointer(*r, field) : -2;
    }
    long next(long index, std::string_view type) {
        if (++m_steps > 1000000)
            return -2;
        return pointerOf(index, type, 0);
    }

    bool identityTransform(long index) const {
        const Record* r = typed(index, "transform");
        if (!r)
            return false;
        static constexpr double kIdentity[12] = {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0};
        for (std::size_t i = 0; i < 12; ++i) {
            double v;
            if (!number(*r, i, v) || std::abs(v - kIdentity[i]) > 1e-12)
                return false;
        }
        return true;
    }

    bool point(long vertex, ZcGePoint3d& p) const {
        const Record* v = typed(vertex, "vertex");
        if (!v)
            return false;
        // After the edge pointer some versions store a count; the point is the next pointer
        // that names a point record.
        for (std::size_t i = 1; i < v->data.size(); ++i) {
            const Record* pt = typed(pointer(*v, i), "point");
            if (pt) {
                ZcGeVector3d c;
                if (!vec(*pt, 0, c))
                    return false;
                p = ZcGePoint3d(c.x, c.y, c.z);
                return true;
            }
        }
        return false;
    }

    bool readFace(long index) {
        const Record* face = typed(index, "face");
        if (!face)
            return fail("a face is missing");
        const Record* surface = typed(pointer(*face, 4), "plane-surface");
        if (!surface)
            return fail("a face is not planar");
        ZcGeVector3d origin, normal;
        if (!vec(*surface, 0, origin) || !vec(*surface, 3, normal) || normal.isZeroLength())
            return fail("a plane surface without its normal");
        normal.normalize();
        if (m_out.loops.empty()) {
            m_out.normal = normal;
            m_ocs = gantrel::db::ocsOf(normal);
            m_out.elevation = m_ocs.toLocal(ZcGePoint3d(origin.x, origin.y, origin.z)).z;
        } else if (std::abs(std::abs(normal.dotProduct(m_out.normal)) - 1.0) > 1e-9) {
            return fail("the faces lie in different planes");
        }
        bool first = true;
        for (long loop = pointer(*face, 1); loop >= 0; loop = next(loop, "loop")) {
            ZcDbLoop out;
            out.flags = first ? 1 : 0;
            first = false;
            if (!readLoop(loop, out))
                return false;
            m_out.loops.push_back(std::move(out));
        }
        return true;
    }

    bool readLoop(long index, ZcDbLoop& out) {
        const long firstCoedge = pointerOf(index, "loop", 1);
        long coedge = firstCoedge;
        do {
            const Record* c = typed(coedge, "coedge");
            if (!c || ++m_steps > 1000000)
                return fail("a loop's coedges do not close");
            if (!readEdge(*c, out))
                return false;
            coedge = pointer(*c, 0);
        } while (coedge != firstCoedge && coedge >= 0);
        if (out.edges.empty())
            return fail("an empty loop");
        return true;
    }

    bool readEdge(const Record& coedge, ZcDbLoop& out) {
        const Record* edge = typed(pointer(coedge, 3), "edge");
        if (!edge || coedge.data.size() < 5)
            return fail("a coedge without its edge");
        const bool coedgeForward = coedge.data[4] == "forward";
        // Edge: start vertex, [start parameter], end vertex, [end parameter], coedge, curve.
        const bool params = m_model.version() >= 500;
        const std::size_t endVertexAt = params ? 2 : 1;
        const std::size_t curveAt = params ? 5 : 3;
        ZcGePoint3d start, end;
        if (!point(pointer(*edge, 0), start) || !point(pointer(*edge, endVertexAt), end))
            return fail("an edge without its vertices");
        const bool edgeForward =
            curveAt + 1 < edge->data.size() && edge->data[curveAt + 1] == "forward";
        if (!coedgeForward)
            std::swap(start, end);
        const Record* curve = m_model.at(pointer(*edge, curveAt));
        if (!curve)
            return fail("an edge without its curve");
        ZcDbLoopEdge e;
        const ZcGePoint3d s = m_ocs.toLocal(start), t = m_ocs.toLocal(end);
        if (!onPlane(s) || !onPlane(t))
            return fail("an edge leaves the plane");
        if (curve->name == "straight-curve") {
            e.kind = ZcDbLoopEdge::kLine;
            e.start = {s.x, s.y};
            e.end = {t.x, t.y};
        } else if (curve->name == "ellipse-curve") {
            ZcGeVector3d center, curveNormal, major;
            double ratio = 0.0;
            if (!vec(*curve, 0, center) || !vec(*curve, 3, curveNormal) || !vec(*curve, 6, major) ||
                !number(*curve, 9, ratio))
                return fail("an ellipse curve without its data");
            if (std::abs(ratio - 1.0) > 1e-9)
                return fail("an elliptic edge");
            const ZcGePoint3d c = m_ocs.toLocal(ZcGePoint3d(center.x, center.y, center.z));
            e.kind = ZcDbLoopEdge::kCircularArc;
            e.center = {c.x, c.y};
            e.radius = major.length();
            e.startAngle = std::atan2(s.y - c.y, s.x - c.x);
            e.endAngle = std::atan2(t.y - c.y, t.x - c.x);
            if (start.isEqualTo(end, ZcGeTol{1e-9 * (1.0 + e.radius), 1e-12}))
                e.endAngle = e.startAngle; // a full circle
            const bool alongCurve = edgeForward == coedgeForward;
            e.counterClockwise = alongCurve == (curveNormal.dotProduct(m_out.normal) > 0.0);
        } else {
            return fail("an edge on a " + curve->name);
        }
        out.edges.push_back(e);
        return true;
    }

    bool onPlane(const ZcGePoint3d& local) const {
        return std::abs(local.z - m_out.elevation) <=
               1e-9 * (1.0 + std::abs(local.x) + std::abs(local.y) + std::abs(m_out.elevation));
    }

    const SatModel& m_model;
    PlanarLoops& m_out;
    std::string& m_why;
    Ocs m_ocs = gantrel::db::ocsOf(ZcGeVector3d::kZAxis);
    long m_steps = 0;
};

} // namespace

bool satToLoops(const std::vector<std::string>& lines, PlanarLoops& out, std::string& why) {
    SatModel model;
    if (!model.parse(lines, why))
        return false;
    out = PlanarLoops{};
    RegionReader reader(model, out, why);
    return reader.read();
}

} // namespace gantrel::dxf
