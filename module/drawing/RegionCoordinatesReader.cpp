#include "drawing/RegionCoordinatesReader.h"

#include <memory>

#include "drawing/ZWDrawer.h"

namespace gantrel {

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
    for (const Points& piece : pieces) {
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
