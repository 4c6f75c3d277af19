#include "nesting/dwg/OutputObservers.h"

#include "drawing/Blocks.h"
#include "drawing/Entity.h"
#include "drawing/EntityList.h"
#include "drawing/OutlineReaders.h"
#include "drawing/ZWDrawer.h"
#include "frame/Printer.h"
#include "frame/TextProvider.h"
#include "nesting/dwg/DwgParser.h"
#include "nesting/dwg/PackTextFormat.h"

#include "zcdball.h"

#include <chrono>

namespace gantrel {

namespace {

constexpr double kPi = 3.141592653589793;
constexpr unsigned kPlacedCountText = 30312;
constexpr unsigned kLayoutWidthText = 30313;
constexpr unsigned kSheetUseText = 30314;

ZcDbObjectId ModelSpaceOf(ZcDbDatabase* db) {
    return db != nullptr ? db->modelSpaceId() : ZcDbObjectId::kNull;
}

bool NamedInResult(const Result& result, const std::wstring& handle) {
    for (const Positions& sheet : result.sheets) {
        for (const Position& position : sheet) {
            if (SameNameNoCase(position.name, handle)) {
                return true;
            }
        }
    }
    return false;
}

int PlacedCount(const Result& result) {
    int count = 0;
    for (const Positions& sheet : result.sheets) {
        count += sheet.Size();
    }
    return count;
}

std::wstring TwoDigits(std::int64_t value) {
    return std::wstring(value < 10 ? L"0" : L"") + std::to_wstring(value);
}

} // namespace

PlacementEvaluator::PlacementEvaluator(const Polygons& parts, ZcDbDatabase* db)
    : Nest_Observer(ModelSpaceOf(db), parts), m_db(db) {}

namespace {

// The move of a placed piece: by the position's translation, then turned about the moved
// origin.
ZcGeMatrix3d PlacementOf(const Position& position) {
    const ZcGeVector3d move(position.translation.x, position.translation.y, 0.0);
    return ZcGeMatrix3d::rotation(position.rotation * kPi / 180.0, ZcGeVector3d::kZAxis,
                                  ZcGePoint3d(move.x, move.y, 0.0)) *
           ZcGeMatrix3d::translation(move);
}

bool SetErased(ZcDbObjectId id, bool erased) {
    ZcDbObject* object = nullptr;
    if (zcdbOpenObject(object, id, ZcDb::kForWrite, true) != Zcad::eOk) {
        return false;
    }
    const bool done = object->erase(erased) == Zcad::eOk;
    object->close();
    return done;
}

} // namespace

int PlacementEvaluator::Update() {
    Redraw();
    return 0;
}

int PlacementEvaluator::Finish() {
    EraseDrawn();
    Place();
    return 0;
}

void PlacementEvaluator::EraseDrawn() {
    for (auto& [name, drawn] : m_drawn) {
        if (!drawn.erased) {
            SetErased(drawn.copy, true);
        }
    }
    m_drawn.clear();
    m_copies.clear();
}

void PlacementEvaluator::Redraw() {
    m_copies.clear();
    std::map<std::wstring, bool> placed;
    for (const Positions& sheet : m_result.sheets) {
        for (const Position& position : sheet) {
            const ZcGeMatrix3d placement = PlacementOf(position);
            auto found = m_drawn.find(position.name);
            if (found == m_drawn.end()) {
                const ZcDbObjectId piece = ObjectId(position.name.c_str()).Id();
                ZcDbObjectId copy;
                if (piece.isNull() || ZWDrawer().AddCopy(piece, copy, ModelSpaceOf(m_db)) != 0 ||
                    copy.isNull()) {
                    continue;
                }
                Entity(copy).TransformBy(placement);
                found = m_drawn.emplace(position.name, Drawn{copy, placement, false}).first;
            } else {
                Drawn& drawn = found->second;
                if (drawn.erased && !SetErased(drawn.copy, false)) {
                    continue;
                }
                drawn.erased = false;
                Entity(drawn.copy).TransformBy(placement * drawn.placement.inverse());
                drawn.placement = placement;
            }
            placed[position.name] = true;
            m_copies.push_back(found->second.copy);
        }
    }
    // Pieces this layout leaves out are hidden until a layout places them again.
    for (auto& [name, drawn] : m_drawn) {
        if (!drawn.erased && placed.count(name) == 0) {
            drawn.erased = SetErased(drawn.copy, true);
        }
    }
}

void PlacementEvaluator::Place() {
    EraseAll(m_copies);
    m_copies.clear();
    for (const Positions& sheet : m_result.sheets) {
        for (const Position& position : sheet) {
            const ZcDbObjectId piece = ObjectId(position.name.c_str()).Id();
            ZcDbObjectId copy;
            if (piece.isNull() || ZWDrawer().AddCopy(piece, copy, ModelSpaceOf(m_db)) != 0 ||
                copy.isNull()) {
                continue;
            }
            m_copies.push_back(copy);
            // The outline was turned about the origin and then moved; moving first and turning
            // about the moved origin puts the object in the same place.
            const ZcGeVector3d move(position.translation.x, position.translation.y, 0.0);
            Entity placed(copy);
            placed.TransformBy(ZcGeMatrix3d::translation(move));
            placed.TransformBy(ZcGeMatrix3d::rotation(position.rotation * kPi / 180.0,
                                                      ZcGeVector3d::kZAxis,
                                                      ZcGePoint3d(move.x, move.y, 0.0)));
        }
    }
}

NestStatusPrinter::NestStatusPrinter(const Polygons& parts, ZcDbObjectId sheet,
                                     const PlacementEvaluator& layout, Clock clock, Texts texts)
    : Nest_Observer(sheet, parts), m_layout(layout), m_clock(std::move(clock)),
      m_texts(std::move(texts)), m_start(m_clock()) {}

std::int64_t NestStatusPrinter::SystemClock() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

std::wstring NestStatusPrinter::PackText(unsigned id) {
    return GetPackText(id);
}

std::vector<ZcDbObjectId> NestStatusPrinter::PlacedPieces() const {
    std::vector<ZcDbObjectId> placed;
    for (const ZcDbObjectId& id : m_partIds) {
        if (!id.isNull() && NamedInResult(m_result, ObjectId(id).HandleString())) {
            placed.push_back(id);
        }
    }
    return placed;
}

int NestStatusPrinter::Finish() {
    std::int64_t elapsed = m_clock() - m_start;
    if (elapsed < 0) {
        elapsed = 0;
    }
    PrintOnCommandLine(m_label + L" h:" + TwoDigits(elapsed / 3600 % 24) + L", m:" +
                           TwoDigits(elapsed / 60 % 60) + L", s:" + TwoDigits(elapsed % 60),
                       true);

    const int parts = static_cast<int>(m_partIds.size());
    const int placed = PlacedCount(m_result);
    if (placed > 0) {
        PrintOnCommandLine(
            FormatPackText(m_texts(kPlacedCountText), {parts, placed, parts - placed}), true);
    }

    // The width of the layout as drawn on the sheet: how much of the sheet's length it uses.
    ZcDbExtents layout;
    for (const ZcDbObjectId& copy : m_layout.Copies()) {
        ZcDbExtents extents;
        if (Entity(copy).GetGeomExtents(extents) == 0 && !extents.isEmpty()) {
            layout.addExt(extents);
        }
    }
    const double width = layout.isEmpty() ? -1.0 : layout.maxPoint().x - layout.minPoint().x;
    PrintOnCommandLine(FormatPackText(m_texts(kLayoutWidthText), {width}), true);

    NestBlockAreaReader blocks(m_reference.database());
    const double used = AreaReader(PlacedPieces(), &blocks).Area();
    const double sheetArea = AreaReader({m_reference}, &blocks).Area();
    const double share = sheetArea > 0.0 ? 100.0 * used / sheetArea : 0.0;
    PrintOnCommandLine(FormatPackText(m_texts(kSheetUseText), {share}), true);
    return 0;
}

UnUsedPlacer::UnUsedPlacer(ZcDbObjectId sheet, const Polygons& parts)
    : Nest_Observer(sheet, parts) {
    ZcDbExtents extents;
    if (Entity(sheet).GetGeomExtents(extents) == 0 && !extents.isEmpty()) {
        m_anchor = ZcGePoint3d(extents.maxPoint().x, extents.minPoint().y, 0.0);
    }
}

int UnUsedPlacer::Finish() {
    const ZcDbObjectId space = ModelSpaceOf(m_reference.database());
    for (const ZcDbObjectId& piece : m_partIds) {
        if (piece.isNull() || NamedInResult(m_result, ObjectId(piece).HandleString())) {
            continue;
        }
        ZcDbObjectId copy;
        if (ZWDrawer().AddCopy(piece, copy, space) != 0 || copy.isNull()) {
            continue;
        }
        m_setDown.push_back(copy);
        Entity setDown(copy);
        ZcDbExtents extents;
        if (setDown.GetGeomExtents(extents) == 0 && !extents.isEmpty()) {
            setDown.TransformBy(ZcGeMatrix3d::translation(m_anchor - extents.minPoint()));
        }
    }
    return 0;
}

UsedEraser::UsedEraser(const Polygons& parts, ZcDbDatabase* db)
    : Nest_Observer(ModelSpaceOf(db), parts) {}

int UsedEraser::Finish() {
    std::vector<ZcDbObjectId> pieces;
    for (const ZcDbObjectId& id : m_partIds) {
        if (!id.isNull()) {
            pieces.push_back(id);
        }
    }
    return EraseAll(pieces);
}

} // namespace gantrel
