#include "scene.h"

#include <algorithm>
#include <cstdlib>
#include <variant>

#include "aci_colors.h"
#include "block_content.h"
#include "database_impl.h"
#include "draw.h"

namespace gantrel::render {

namespace {

constexpr int kByBlock = 0;
constexpr int kByLayer = 256;

} // namespace

SceneWalker::SceneWalker(const ZcDbDatabase& db) : m_db(db) {}

ZcDbObjectId SceneWalker::spaceOrModel(ZcDbObjectId space) const {
    return space.isNull() ? m_db.modelSpaceId() : space;
}

const SceneWalker::LayerInfo& SceneWalker::layer(const std::wstring& name) const {
    if (auto it = m_layers.find(name); it != m_layers.end())
        return it->second;
    LayerInfo info;
    const auto* table = ZcDbAccess::objectAs<ZcDbLayerTable>(m_db.layerTableId());
    ZcDbObjectId id;
    if (table && table->getIdAt(name.c_str(), id) == Zcad::eOk) {
        if (const auto* record = ZcDbAccess::objectAs<ZcDbLayerTableRecord>(id)) {
            // A negative colour marks a layer that is off.
            info.color = std::abs(record->colorIndex());
            info.visible = !record->isOff() && !record->isFrozen() && record->colorIndex() >= 0;
        }
    }
    return m_layers.emplace(name, info).first->second;
}

std::wstring SceneWalker::effectiveLayer(const ZcDbEntity& entity, const Level& level) const {
    // Entities of a block on layer "0" take the layer of the reference that draws them.
    if (entity.layer() == L"0" && !level.byBlockLayer.empty())
        return level.byBlockLayer;
    return entity.layer();
}

bool SceneWalker::isVisible(const ZcDbEntity& entity, const Level& level) const {
    return !entity.isErased() && layer(effectiveLayer(entity, level)).visible;
}

int SceneWalker::colorIndex(const ZcDbEntity& entity, const Level& level) const {
    const int color = entity.colorIndex();
    if (color == kByBlock)
        return level.byBlockColor;
    if (color == kByLayer || color < 0 || color > kByLayer)
        return layer(effectiveLayer(entity, level)).color;
    return color;
}

Style SceneWalker::styleOf(const ZcDbEntity& entity, const Level& level) const {
    return {aciOnWhite(colorIndex(entity, level)), level.highlighted || entity.isHighlighted()};
}

SceneWalker::Level SceneWalker::childLevel(const ZcDbEntity& owner, const Level& level,
                                           const ZcGeMatrix3d& placement) const {
    Level child;
    child.placement = level.placement * placement;
    child.byBlockColor = colorIndex(owner, level);
    child.byBlockLayer = effectiveLayer(owner, level);
    child.highlighted = level.highlighted || owner.isHighlighted();
    child.depth = level.depth + 1;
    return child;
}

double SceneWalker::headerReal(const wchar_t* name, double fallback) const {
    if (const ZcDbHeaderValue* value = m_db.headerVar(name))
        if (const double* real = std::get_if<double>(value); real && *real > 0.0)
            return *real;
    return fallback;
}

ZcDbExtents SceneWalker::extents(ZcDbObjectId space) {
    m_painter = nullptr;
    m_extents = ZcDbExtents();
    m_blockStack.clear();
    walkBlock(spaceOrModel(space), Level{});
    return m_extents;
}

void SceneWalker::draw(ZcDbObjectId space, Painter& painter) {
    m_painter = &painter;
    m_blockStack.clear();
    walkBlock(spaceOrModel(space), Level{});
    m_painter = nullptr;
}

void SceneWalker::walkBlock(ZcDbObjectId blockId, const Level& level) {
    const auto* block = ZcDbAccess::objectAs<ZcDbBlockTableRecord>(blockId);
    // A block that contains itself, directly or through others, is drawn only once down
    // each chain of references.
    if (!block || block->isErased() || level.depth > gantrel::db::kMaxBlockDepth ||
        std::find(m_blockStack.begin(), m_blockStack.end(), blockId) != m_blockStack.end())
        return;
    m_blockStack.push_back(blockId);
    const bool inBlock = level.depth > 0;
    for (ZcDbObjectId id : block->entityIds())
        if (const auto* entity = ZcDbAccess::objectAs<ZcDbEntity>(id))
            walkEntity(*entity, level, inBlock);
    m_blockStack.pop_back();
}

void SceneWalker::walkEntity(const ZcDbEntity& entity, const Level& level, bool inBlock) {
    if (!isVisible(entity, level) || (inBlock && !gantrel::db::drawsInReference(entity)))
        return;
    if (const auto* reference = ZcDbBlockReference::cast(&entity)) {
        walkReference(*reference, level);
    } else if (const auto* dimension = ZcDbAlignedDimension::cast(&entity)) {
        walkDimension(*dimension, level);
    } else if (const auto* def = ZcDbAttributeDefinition::cast(&entity)) {
        // Inside a block only constant definitions draw, with their text; outside one, a
        // definition shows its tag.
        leaf(entity, level, inBlock ? def->textString() : def->tag());
    } else if (const auto* attribute = ZcDbAttribute::cast(&entity)) {
        if (!attribute->isInvisible())
            leaf(entity, level, attribute->textString());
    } else if (const auto* text = ZcDbText::cast(&entity)) {
        leaf(entity, level, text->textString());
    } else {
        leaf(entity, level, {});
    }
}

void SceneWalker::walkReference(const ZcDbBlockReference& reference, const Level& level) {
    for (const ZcGeMatrix3d& placement : reference.placements())
        walkBlock(reference.blockTableRecord(), childLevel(reference, level, placement));
    // Attributes are placed in the coordinates of the reference's own level already.
    const Level attributes = childLevel(reference, level, ZcGeMatrix3d::kIdentity);
    for (ZcDbObjectId id : reference.attributeIds()) {
        const auto* attribute = ZcDbAccess::objectAs<ZcDbAttribute>(id);
        if (attribute && !attribute->isInvisible() && isVisible(*attribute, attributes))
            leaf(*attribute, attributes, attribute->textString());
    }
}

void SceneWalker::walkDimension(const ZcDbAlignedDimension& dimension, const Level& level) {
    // A dimension whose drawing block exists is drawn as that block shows it.
    const auto* block = ZcDbAccess::objectAs<ZcDbBlockTableRecord>(dimension.dimBlockId());
    if (block && !block->isErased())
        walkBlock(dimension.dimBlockId(), childLevel(dimension, level, ZcGeMatrix3d::kIdentity));
    else
        leaf(dimension, level, {});
}

void SceneWalker::leaf(const ZcDbEntity& entity, const Level& level, const std::wstring& shown) {
    if (m_painter) {
        drawLeaf(entity, level, shown);
        return;
    }
    // The extents of the entity as placed, exact for curves (a block's rotation does not
    // inflate them as a transformed box would).
    ZcDbExtents placed;
    if (gantrel::db::addExtentsUnder(entity, level.placement, placed) == Zcad::eOk)
        m_extents.addExt(placed);
}

void SceneWalker::drawLeaf(const ZcDbEntity& entity, const Level& level,
                           const std::wstring& shown) {
    Painter& p = *m_painter;
    p.setPlacement(level.placement);
    const Style style = styleOf(entity, level);
    if (const auto* text = ZcDbText::cast(&entity))
        drawText(p, *text, shown, style);
    else if (const auto* mtext = ZcDbMText::cast(&entity))
        drawMText(p, *mtext, style);
    else if (const auto* line = ZcDbLine::cast(&entity))
        drawLine(p, *line, style);
    else if (const auto* circle = ZcDbCircle::cast(&entity))
        drawCircle(p, *circle, style);
    else if (const auto* arc = ZcDbArc::cast(&entity))
        drawArc(p, *arc, style);
    else if (const auto* ellipse = ZcDbEllipse::cast(&entity))
        drawEllipse(p, *ellipse, style);
    else if (const auto* polyline = ZcDbPolyline::cast(&entity))
        drawPolyline(p, *polyline, style);
    else if (const auto* polyline2d = ZcDb2dPolyline::cast(&entity))
        drawPolyline2d(p, *polyline2d, style);
    else if (const auto* spline = ZcDbSpline::cast(&entity))
        drawSpline(p, *spline, style);
    else if (const auto* leader = ZcDbLeader::cast(&entity))
        drawLeader(p, *leader, style);
    else if (const auto* point = ZcDbPoint::cast(&entity))
        drawPoint(p, *point, style);
    else if (const auto* hatch = ZcDbHatch::cast(&entity))
        drawHatch(p, *hatch, style);
    else if (const auto* region = ZcDbRegion::cast(&entity))
        drawRegion(p, *region, style);
    else if (const auto* dimension = ZcDbAlignedDimension::cast(&entity)) {
        const double scale = headerReal(L"DIMSCALE", 1.0);
        drawAlignedDimension(p, *dimension, headerReal(L"DIMASZ", 2.5) * scale,
                             headerReal(L"DIMTXT", 2.5) * scale, style);
    }
    // Entities of kinds the database keeps only as raw data have no known geometry.
}

} // namespace gantrel::render
