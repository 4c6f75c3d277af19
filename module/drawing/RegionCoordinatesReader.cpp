#include "drawing/RegionCoordinatesReader.h"

#include <cmath>
#include <memory>

#include "drawing/ZWDrawer.h"

namespace gantrel {

namespace {

// Ends closer than this meet.
constexpr double kMeet = 1e-4;

bool Meet(const Points& chain, const Points& piece) {
    const ZcGePoint3d& first = chain.first();
    const ZcGePoint3d& last = chain.last();
    for (const ZcGePoint3d& end : {piece.first(), piece.last()}) {
        if (end.distanceTo(first) < kMeet || end.distanceTo(last) < kMeet) {
            return true;
        }
    }
    return false;
}

} // namespace

std::vector<Points> RegionCoordinatesReader::OuterLoop(const std::vector<Points>& pieces) {
    // The pieces of a region with holes form several loops; joined all together they would make
    // one ring that runs through the holes. The pieces are gathered into loops of meeting ends,
    // and the loop enclosing the largest area is the region's outline.
    std::vector<Points> remaining;
    for (const Points& piece : pieces) {
        if (!piece.isEmpty()) {
            remaining.push_back(piece);
        }
    }
    std::vector<Points> best;
    double bestArea = -1.0;
    while (!remaining.empty()) {
        std::vector<Points> loop{remaining.front()};
        Points chain = remaining.front();
        remaining.erase(remaining.begin());
        for (bool grew = true; grew;) {
            grew = false;
            for (auto it = remaining.begin(); it != remaining.end(); ++it) {
                if (Meet(chain, *it)) {
                    JoinPiece(chain, *it);
                    loop.push_back(*it);
                    remaining.erase(it);
                    grew = true;
                    break;
                }
            }
        }
        const double area = std::fabs(ShoelaceArea(chain));
        if (area > bestArea) {
            bestArea = area;
            best = std::move(loop);
        }
    }
    return best;
}

RegionCoordinatesReader::~RegionCoordinatesReader() {
    DeletePieces();
}

void RegionCoordinatesReader::DeletePieces() {
    for (ZcDbEntity* piece : m_pieces) {
        delete piece;
    }
    m_pieces.clear();
}

int RegionCoordinatesReader::Read(Points& points, double n) {
    DeletePieces();
    if (const int es = Open(ZcDb::kForRead); es != HandleStatus::kOk) {
        return es;
    }
    std::unique_ptr<ZcRxObject> copy(m_object->clone());
    const ZcDbDatabase* db = m_object->database();
    const ZcDbObjectId modelSpace = db != nullptr ? db->modelSpaceId() : ZcDbObjectId::kNull;
    Close();
    const auto* region = ZcDbRegion::cast(copy.get());
    if (region == nullptr) {
        return SetStatus(HandleStatus::kCannotCast);
    }
    ZcDbVoidPtrArray exploded;
    if (const int es = region->explode(exploded); es != Zcad::eOk) {
        return SetStatus(es);
    }
    for (void* piece : exploded) {
        m_pieces.push_back(static_cast<ZcDbEntity*>(piece));
    }

    // Each piece is read through its own handle, so it joins the drawing while it is read.
    ZWDrawer drawer;
    std::vector<Points> pieces;
    for (ZcDbEntity*& piece : m_pieces) {
        if (drawer.AddToSpace(piece, modelSpace) != Zcad::eOk) {
            continue;
        }
        const ZcDbObjectId id = piece->objectId();
        piece->close();
        piece = nullptr; // owned by the drawing now
        Points read;
        ReadCurveCoordinates(id, read, n);
        Entity(id).Erase();
        pieces.push_back(read);
    }
    DeletePieces();

    Points chain;
    for (const Points& piece : OuterLoop(pieces)) {
        JoinPiece(chain, piece);
    }
    Points kept;
    for (const ZcGePoint3d& p : chain) {
        bool near = false;
        for (const ZcGePoint3d& q : kept) {
            if (p.distanceTo(q) < 1e-4) {
                near = true;
                break;
            }
        }
        if (!near) {
            kept.append(p);
        }
    }
    points.append(kept);
    return SetStatus(HandleStatus::kOk);
}

} // namespace gantrel
