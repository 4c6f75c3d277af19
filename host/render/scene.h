// The walk over a space of the drawing: which entities are drawn (not erased, on a layer that
// is on and thawed), in which colour (by layer, by block, or their own), and the block
// references drawn through their blocks, nested and repeated (MINSERT).
#pragma once

#include <map>
#include <string>
#include <vector>

#include "painter.h"
#include "zcdball.h"

namespace gantrel::render {

class SceneWalker {
public:
    explicit SceneWalker(const ZcDbDatabase& db);

    // The extents of what is drawn of a block (model space for the null id).
    ZcDbExtents extents(ZcDbObjectId space);
    // Draws the entities of a block (model space for the null id).
    void draw(ZcDbObjectId space, Painter& painter);

private:
    // What a level of block nesting passes to the entities inside it.
    struct Level {
        ZcGeMatrix3d placement;
        // The colour index of the reference, for entities coloured by block (7 outside blocks).
        int byBlockColor = 7;
        // The layer of the reference, for entities on layer "0"; empty outside blocks.
        std::wstring byBlockLayer;
        bool highlighted = false;
        int depth = 0;
    };
    struct LayerInfo {
        int color = 7;
        bool visible = true;
    };

    ZcDbObjectId spaceOrModel(ZcDbObjectId space) const;
    const LayerInfo& layer(const std::wstring& name) const;
    std::wstring effectiveLayer(const ZcDbEntity& entity, const Level& level) const;
    bool isVisible(const ZcDbEntity& entity, const Level& level) const;
    int colorIndex(const ZcDbEntity& entity, const Level& level) const;
    Style styleOf(const ZcDbEntity& entity, const Level& level) const;
    // The level for the contents of a reference (or dimension block) drawn at this level.
    Level childLevel(const ZcDbEntity& owner, const Level& level,
                     const ZcGeMatrix3d& placement) const;

    // The walk is the same for measuring and drawing; only what happens at the entities that
    // are drawn directly (not through a block) differs.
    void walkBlock(ZcDbObjectId space, const Level& level);
    void walkEntity(const ZcDbEntity& entity, const Level& level, bool inBlock);
    void walkReference(const ZcDbBlockReference& reference, const Level& level);
    void walkDimension(const ZcDbAlignedDimension& dimension, const Level& level);
    // Measures or draws one entity; shown is the text of text-like entities.
    void leaf(const ZcDbEntity& entity, const Level& level, const std::wstring& shown);
    void drawLeaf(const ZcDbEntity& entity, const Level& level, const std::wstring& shown);
    double headerReal(const wchar_t* name, double fallback) const;

    const ZcDbDatabase& m_db;
    // Drawing when set, measuring into m_extents otherwise.
    Painter* m_painter = nullptr;
    ZcDbExtents m_extents;
    mutable std::map<std::wstring, LayerInfo> m_layers;
    std::vector<ZcDbObjectId> m_blockStack;
};

} // namespace gantrel::render
