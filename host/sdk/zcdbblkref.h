// Block references (single and multiple insertion) and the attributes they own.
#pragma once

#include "zcdbtext.h"

class ZcDbBlockReference : public ZcDbEntity {
public:
    ZCRX_DECLARE_MEMBERS(ZcDbBlockReference)
    ZcDbBlockReference() = default;
    ZcDbBlockReference(const ZcGePoint3d& position, ZcDbObjectId blockTableRecord)
        : m_position(position), m_block(blockTableRecord) {}
    ZcDbBlockReference(const ZcDbBlockReference& other);
    ~ZcDbBlockReference() override;
    // A clone owns copies of the attributes, which join the database with it.
    ZcRxObject* clone() const override { return new ZcDbBlockReference(*this); }

    ZcDbObjectId blockTableRecord() const { return m_block; }
    Zcad::ErrorStatus setBlockTableRecord(ZcDbObjectId id);
    ZcGePoint3d position() const { return m_position; }
    Zcad::ErrorStatus setPosition(const ZcGePoint3d& p);
    ZcGeScale3d scaleFactors() const { return m_scale; }
    Zcad::ErrorStatus setScaleFactors(const ZcGeScale3d& s);
    double rotation() const { return m_rotation; }
    Zcad::ErrorStatus setRotation(double r);
    ZcGeVector3d normal() const { return m_normal; }
    Zcad::ErrorStatus setNormal(const ZcGeVector3d& n);
    // Block coordinates to world: translate the block's origin to 0, scale, rotate, move to the
    // insertion point.
    ZcGeMatrix3d blockTransform() const;

    // Appends an attribute, taking ownership; for a resident reference the attribute gets its
    // id now and is left open for write, otherwise it joins the database with the reference.
    Zcad::ErrorStatus appendAttribute(ZcDbObjectId& id, ZcDbAttribute* attribute);
    Zcad::ErrorStatus appendAttribute(ZcDbAttribute* attribute);
    ZcDbObjectIterator* attributeIterator() const;
    std::vector<ZcDbObjectId> attributeIds() const;
    // Attributes of a reference not yet in a database.
    const std::vector<std::unique_ptr<ZcDbAttribute>>& pendingAttributes() const {
        return m_attributes.pending();
    }

    Zcad::ErrorStatus getGeomExtents(ZcDbExtents& extents) const override;
    // The block's entities placed by the block transform (attribute definitions left out,
    // except constant ones, which draw as text), for every copy drawn, followed by copies of
    // the reference's attributes.
    Zcad::ErrorStatus explode(ZcDbVoidPtrArray& entitySet) const override;
    // The transforms of every copy drawn: one for a reference, rows x columns for MINSERT.
    virtual std::vector<ZcGeMatrix3d> placements() const;

protected:
    Zcad::ErrorStatus subTransformBy(const ZcGeMatrix3d& xform) override;
    void subAddedToDatabase(ZcDbDatabase* db) override;
    void subErase(bool erasing) override;
    void listFields(std::wstring& out) const override;
    std::vector<ZcDbEntity*> ownedEntities() const override;

private:
    friend struct ZcDbAccess;
    ZcGePoint3d m_position;
    ZcDbObjectId m_block;
    ZcGeScale3d m_scale;
    double m_rotation = 0.0;
    ZcGeVector3d m_normal = ZcGeVector3d::kZAxis;
    ZcDbOwnedEntities<ZcDbAttribute> m_attributes;
};

// A block reference repeated in rows and columns.
class ZcDbMInsertBlock : public ZcDbBlockReference {
public:
    ZCRX_DECLARE_MEMBERS(ZcDbMInsertBlock)
    ZCDB_ENTITY_CLONE(ZcDbMInsertBlock)
    ZcDbMInsertBlock() = default;
    std::int16_t columns() const { return m_columns; }
    std::int16_t rows() const { return m_rows; }
    double columnSpacing() const { return m_columnSpacing; }
    double rowSpacing() const { return m_rowSpacing; }
    Zcad::ErrorStatus setColumns(std::int16_t n);
    Zcad::ErrorStatus setRows(std::int16_t n);
    Zcad::ErrorStatus setColumnSpacing(double d);
    Zcad::ErrorStatus setRowSpacing(double d);

    std::vector<ZcGeMatrix3d> placements() const override;

protected:
    void listFields(std::wstring& out) const override;

private:
    std::int16_t m_columns = 1, m_rows = 1;
    double m_columnSpacing = 0.0, m_rowSpacing = 0.0;
};
