#include "nesting/geometry/RegionArithmetic.h"

#include "nesting/geometry/ClipperConversion.h"

#include <cmath>

namespace gantrel {

static_assert(kRegionRange == kClipperRange / 4.0);

namespace {

ClipperLib::Path ToClipper(const IntegerPath& path) {
    ClipperLib::Path out;
    out.reserve(path.size());
    for (const IntegerPoint& p : path) {
        out.emplace_back(p.x, p.y);
    }
    return out;
}

IntegerPath FromClipper(const ClipperLib::Path& path) {
    IntegerPath out;
    out.reserve(path.size());
    for (const ClipperLib::IntPoint& p : path) {
        out.push_back({p.X, p.Y});
    }
    return out;
}

IntegerPaths FromClipper(const ClipperLib::Paths& paths) {
    IntegerPaths out;
    out.reserve(paths.size());
    for (const ClipperLib::Path& path : paths) {
        out.push_back(FromClipper(path));
    }
    return out;
}

} // namespace

IntegerPath ToIntegerLoop(const GePoints& points, double scale) {
    return FromClipper(ToIntegerPath(points, scale, kRegionRange));
}

GePoints FromIntegerLoop(const IntegerPath& path, double scale) {
    return FromIntegerPath(ToClipper(path), scale);
}

double LoopArea(const IntegerPath& path) {
    return ClipperLib::Area(ToClipper(path));
}

IntegerPath CleanLoop(const IntegerPath& path, double distance) {
    ClipperLib::Path out;
    ClipperLib::CleanPolygon(ToClipper(path), out, distance);
    return FromClipper(out);
}

void CleanLoops(IntegerPaths& paths, double distance) {
    for (IntegerPath& path : paths) {
        path = CleanLoop(path, distance);
    }
}

bool OpenRegion(const IntegerPaths& paths, double distance, IntegerPaths& out) {
    // Corners down to about a tenth of a degree come back as sharp as they were.
    constexpr double kMiterLimit = 1000.0;
    out.clear();
    try {
        ClipperLib::ClipperOffset shrink(kMiterLimit);
        for (const IntegerPath& path : paths) {
            // A loop thinner on average than twice distance would vanish anyway; dropped first,
            // since a degenerate sliver may mislead the offset about which loops are holes.
            double perimeter = 0.0;
            for (std::size_t i = 0; i < path.size(); ++i) {
                const IntegerPoint& a = path[i];
                const IntegerPoint& b = path[(i + 1) % path.size()];
                perimeter +=
                    std::hypot(static_cast<double>(b.x - a.x), static_cast<double>(b.y - a.y));
            }
            if (path.size() < 3 || std::fabs(LoopArea(path)) <= distance * perimeter) {
                continue;
            }
            shrink.AddPath(ToClipper(path), ClipperLib::jtMiter, ClipperLib::etClosedPolygon);
        }
        ClipperLib::Paths inner;
        shrink.Execute(inner, -distance);
        ClipperLib::ClipperOffset grow(kMiterLimit);
        grow.AddPaths(inner, ClipperLib::jtMiter, ClipperLib::etClosedPolygon);
        ClipperLib::Paths opened;
        grow.Execute(opened, distance);
        out = FromClipper(opened);
        return true;
    } catch (const ClipperLib::clipperException&) {
        return false;
    }
}

struct RegionClipper::Impl {
    ClipperLib::Clipper clipper;
    bool failed = false;

    void Add(const IntegerPath& path, ClipperLib::PolyType type) {
        try {
            clipper.AddPath(ToClipper(path), type, true);
        } catch (const ClipperLib::clipperException&) {
            failed = true;
        }
    }

    bool Execute(ClipperLib::ClipType type, IntegerPaths& out) {
        out.clear();
        if (failed) {
            return false;
        }
        try {
            ClipperLib::Paths solution;
            if (!clipper.Execute(type, solution, ClipperLib::pftNonZero, ClipperLib::pftNonZero)) {
                return false;
            }
            out = FromClipper(solution);
            return true;
        } catch (const ClipperLib::clipperException&) {
            return false;
        }
    }
};

RegionClipper::RegionClipper() : m_impl(std::make_unique<Impl>()) {}
RegionClipper::~RegionClipper() = default;

void RegionClipper::AddSubject(const IntegerPath& path) {
    m_impl->Add(path, ClipperLib::ptSubject);
}

void RegionClipper::AddSubjects(const IntegerPaths& paths) {
    for (const IntegerPath& path : paths) {
        AddSubject(path);
    }
}

void RegionClipper::AddClips(const IntegerPaths& paths) {
    for (const IntegerPath& path : paths) {
        m_impl->Add(path, ClipperLib::ptClip);
    }
}

bool RegionClipper::Union(IntegerPaths& out) {
    return m_impl->Execute(ClipperLib::ctUnion, out);
}

bool RegionClipper::Difference(IntegerPaths& out) {
    return m_impl->Execute(ClipperLib::ctDifference, out);
}

} // namespace gantrel
