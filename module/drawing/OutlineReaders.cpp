#include "drawing/OutlineReaders.h"

#include <cmath>
#include <numeric>

#include "drawing/BlockHandles.h"
#include "drawing/RegionCoordinatesReader.h"
#include "frame/Printer.h"

namespace gantrel {

namespace {

constexpr double kTouch = 1e-7;
constexpr double kTakeAtOnce = 1e-8;
constexpr double kCompareDivisions = 20.0;
// Block definitions nest; a drawing that references a block from inside itself must not recurse
// without end.
constexpr int kMaxBlockDepth = 32;

struct CurveEnds {
    ZcGePoint3d start, end;
};

bool ReadEnds(ZcDbObjectId id, CurveEnds& ends) {
    Curve curve(id);
    return curve.StartPoint(ends.start) == HandleStatus::kOk &&
           curve.EndPoint(ends.end) == HandleStatus::kOk;
}

bool Touch(const CurveEnds& a, const CurveEnds& b) {
    return a.start.distanceTo(b.start) < kTouch || a.start.distanceTo(b.end) < kTouch ||
           a.end.distanceTo(b.start) < kTouch || a.end.distanceTo(b.end) < kTouch;
}

int FindRoot(std::vector<int>& parent, int i) {
    while (parent[i] != i) {
        parent[i] = parent[parent[i]];
        i = parent[i];
    }
    return i;
}

enum class Mode { Boundary, Outline };

struct Candidate {
    bool found = false;
    Ids ids;
    double area = 0.0;
    ZcGePoint3d reference;
    Points points;
    bool isChain = false;
};

void Offer(Candidate& best, Candidate candidate) {
    if (!best.found || candidate.area > best.area) {
        candidate.found = true;
        best = std::move(candidate);
    }
}

Candidate Largest(const Ids& ids, Mode mode, double n, int depth) {
    Candidate best;
    // Regions.
    for (const ZcDbObjectId& id : ids) {
        if (!Entity(id).IsRegion()) {
            continue;
        }
        Candidate c;
        c.ids = {id};
        c.area = AreaReader({id}).Area();
        if (mode == Mode::Outline) {
            RegionCoordinatesReader(id).Read(c.points, n);
        }
        Offer(best, std::move(c));
    }
    // Closed chains of curves.
    Ids curves;
    for (const ZcDbObjectId& id : ids) {
        if (Entity(id).IsCurve()) {
            curves.push_back(id);
        }
    }
    for (const Ids& chain : BoundariesOfCurvesReader(curves).Read()) {
        const Ids ordered = OrderChain(chain);
        if (!IsClosedChain(ordered)) {
            continue;
        }
        Candidate c;
        c.ids = ordered;
        c.points = ChainPoints(ordered, kCompareDivisions);
        c.area = ShoelaceArea(c.points);
        c.isChain = true;
        Offer(best, std::move(c));
    }
    // Block references.
    if (depth < kMaxBlockDepth) {
        for (const ZcDbObjectId& id : ids) {
            if (!Entity(id).IsBlockReference()) {
                continue;
            }
            ZWBlockIns reference(id);
            Ids contents;
            if (ZWBlockDef(id).EntityIds(contents) != HandleStatus::kOk) {
                continue;
            }
            Candidate nested = Largest(contents, mode, kCompareDivisions, depth + 1);
            if (!nested.found) {
                continue;
            }
            Candidate c;
            c.ids = nested.ids;
            if (mode == Mode::Boundary) {
                const ZcGeScale3d scale = reference.ScaleFactors();
                c.area = nested.area * std::fabs(scale.sx * scale.sy);
                c.reference = reference.InsertionPoint();
            } else {
                const ZcGeMatrix3d transform = reference.BlockTransform();
                for (const ZcGePoint3d& p : nested.points) {
                    c.points.append(transform * p);
                }
                c.area = ShoelaceArea(c.points);
            }
            Offer(best, std::move(c));
        }
    }
    return best;
}

} // namespace

double AreaReader::Area() {
    double total = 0.0;
    for (const ZcDbObjectId& id : m_ids) {
        const Entity entity(id);
        double area = 0.0;
        int es = HandleStatus::kWrongClass;
        if (entity.IsRegion()) {
            es = ZWRegion(id).Area(area);
        } else if (entity.IsCurve()) {
            es = Curve(id).Area(area);
        } else if (entity.IsHatch()) {
            es = ZWHatch(id).Area(area);
        } else if (entity.IsBlockReference() && m_blocks != nullptr) {
            area = m_blocks->Area(id);
            es = HandleStatus::kOk;
        }
        if (es == HandleStatus::kOk && area > 0.0) {
            total += area;
        }
    }
    return total;
}

std::vector<Ids> BoundariesOfCurvesReader::Read() {
    // Closed lightweight polylines stand alone; every other curve joins the curves it touches.
    Ids linked;
    std::vector<CurveEnds> ends;
    std::vector<Ids> chains;
    std::vector<std::pair<int, int>> order; // (kind 0 alone / 1 linked, index) by first appearance
    for (const ZcDbObjectId& id : m_ids) {
        Curve curve(id);
        if (!curve.IsCurve()) {
            continue;
        }
        bool closed = false;
        if (curve.IsPolyline() && curve.IsClosed(closed) == HandleStatus::kOk && closed) {
            order.emplace_back(0, static_cast<int>(chains.size()));
            chains.push_back({id});
            continue;
        }
        CurveEnds e;
        if (!ReadEnds(id, e)) {
            continue;
        }
        order.emplace_back(1, static_cast<int>(linked.size()));
        linked.push_back(id);
        ends.push_back(e);
    }
    const int count = static_cast<int>(linked.size());
    std::vector<int> parent(static_cast<std::size_t>(count));
    std::iota(parent.begin(), parent.end(), 0);
    for (int i = 0; i < count; ++i) {
        for (int j = i + 1; j < count; ++j) {
            if (Touch(ends[i], ends[j])) {
                parent[FindRoot(parent, j)] = FindRoot(parent, i);
            }
        }
    }
    std::vector<Ids> groups(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        groups[FindRoot(parent, i)].push_back(linked[i]);
    }
    std::vector<Ids> result;
    for (const auto& [kind, index] : order) {
        if (kind == 0) {
            result.push_back(chains[index]);
        } else if (FindRoot(parent, index) == index) {
            result.push_back(groups[index]);
        }
    }
    return result;
}

Ids OrderChain(const Ids& chain) {
    if (chain.empty()) {
        return {};
    }
    Ids ordered{chain.front()};
    Ids remaining(chain.begin() + 1, chain.end());
    ZcGePoint3d current;
    if (const int es = Curve(chain.front()).EndPoint(current); es != HandleStatus::kOk) {
        throw HostStatusError{es};
    }
    while (!remaining.empty()) {
        std::size_t best = 0;
        double bestDistance = 0.0;
        for (std::size_t i = 0; i < remaining.size(); ++i) {
            const double d = current.distanceTo(Curve(remaining[i]).NearerEndpoint(current));
            if (i == 0 || d < bestDistance) {
                best = i;
                bestDistance = d;
            }
            if (d < kTakeAtOnce) {
                best = i;
                break;
            }
        }
        current = Curve(remaining[best]).FartherEndpoint(current);
        ordered.push_back(remaining[best]);
        remaining.erase(remaining.begin() + static_cast<std::ptrdiff_t>(best));
    }
    return ordered;
}

bool IsClosedChain(const Ids& ordered) {
    if (ordered.empty()) {
        return false;
    }
    if (ordered.size() == 1) {
        bool closed = false;
        return Curve(ordered.front()).IsClosed(closed) == HandleStatus::kOk && closed;
    }
    CurveEnds first, last;
    if (!ReadEnds(ordered.front(), first) || !ReadEnds(ordered.back(), last)) {
        return false;
    }
    if (ordered.size() == 2) {
        const bool same =
            first.start.distanceTo(last.start) < kTouch && first.end.distanceTo(last.end) < kTouch;
        const bool crossed =
            first.start.distanceTo(last.end) < kTouch && first.end.distanceTo(last.start) < kTouch;
        return same || crossed;
    }
    return Touch(first, last);
}

Points ChainPoints(const Ids& ordered, double n) {
    Points chain;
    for (const ZcDbObjectId& id : ordered) {
        Points piece;
        ReadCurveCoordinates(id, piece, n);
        JoinPiece(chain, piece);
    }
    return chain;
}

Boundary BoundaryReader::Read() {
    try {
        Candidate best = Largest(m_ids, Mode::Boundary, kCompareDivisions, 0);
        if (!best.found) {
            return {};
        }
        return {best.ids, best.area, best.reference};
    } catch (const HostStatusError& error) {
        PrintErrorStatus(error.status);
        return {};
    }
}

Points OutlineReader::Read() {
    try {
        Candidate best = Largest(m_ids, Mode::Outline, m_n, 0);
        if (!best.found) {
            return {};
        }
        if (best.isChain) {
            return ChainPoints(best.ids, m_n);
        }
        return best.points;
    } catch (const HostStatusError& error) {
        PrintErrorStatus(error.status);
        return {};
    }
}

} // namespace gantrel
