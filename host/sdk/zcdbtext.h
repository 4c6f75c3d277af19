// Text-like entities: single-line text, multiline text, attribute definitions and attributes,
// plus leaders and aligned dimensions.
#pragma once

#include "zcdbents.h"

class ZcDbText : public ZcDbEntity {
public:
    ZCRX_DECLARE_MEMBERS(ZcDbText)
    ZCDB_ENTITY_CLONE(ZcDbText)
    enum TextHorzMode {
        kTextLeft = 0,
        kTextCenter = 1,
        kTextRight = 2,
        kTextAlign = 3,
        kTextMid = 4,
        kTextFit = 5
    };
    enum TextVertMode { kTextBase = 0, kTextBottom = 1, kTextVertMid = 2, kTextTop = 3 };

    ZcDbText() = default;
    ZcDbText(const ZcGePoint3d& position, const wchar_t* text, double height = 2.5,
             double rotation = 0.0)
        : m_position(position), m_text(text ? text : L""), m_height(height), m_rotation(rotation) {}

    ZcGePoint3d position() const { return m_position; }
    Zcad::ErrorStatus setPosition(const ZcGePoint3d& p);
    ZcGePoint3d alignmentPoint() const { return m_alignment; }
    Zcad::ErrorStatus setAlignmentPoint(const ZcGePoint3d& p);
    const std::wstring& textString() const { return m_text; }
    Zcad::ErrorStatus setTextString(const wchar_t* text);
    double height() const { return m_height; }
    Zcad::ErrorStatus setHeight(double h);
    double rotation() const { return m_rotation; }
    Zcad::ErrorStatus setRotation(double r);
    double widthFactor() const { return m_widthFactor; }
    Zcad::ErrorStatus setWidthFactor(double f);
    double oblique() const { return m_oblique; }
    Zcad::ErrorStatus setOblique(double a);
    const std::wstring& textStyleName() const { return m_style; }
    Zcad::ErrorStatus setTextStyleName(const wchar_t* name);
    TextHorzMode horizontalMode() const { return m_horz; }
    Zcad::ErrorStatus setHorizontalMode(TextHorzMode m);
    TextVertMode verticalMode() const { return m_vert; }
    Zcad::ErrorStatus setVerticalMode(TextVertMode m);
    ZcGeVector3d normal() const { return m_normal; }
    Zcad::ErrorStatus setNormal(const ZcGeVector3d& n);

    Zcad::ErrorStatus getGeomExtents(ZcDbExtents& extents) const override;

protected:
    Zcad::ErrorStatus subTransformBy(const ZcGeMatrix3d& xform) override;
    void listFields(std::wstring& out) const override;

private:
    ZcGePoint3d m_position, m_alignment;
    std::wstring m_text;
    double m_height = 2.5, m_rotation = 0.0, m_widthFactor = 1.0, m_oblique = 0.0;
    std::wstring m_style = L"Standard";
    TextHorzMode m_horz = kTextLeft;
    TextVertMode m_vert = kTextBase;
    ZcGeVector3d m_normal = ZcGeVector3d::kZAxis;
};

class ZcDbAttributeDefinition : public ZcDbText {
public:
    ZCRX_DECLARE_MEMBERS(ZcDbAttributeDefinition)
    ZCDB_ENTITY_CLONE(ZcDbAttributeDefinition)
    ZcDbAttributeDefinition() = default;
    // The default text is the text string of the definition.
    ZcDbAttributeDefinition(const ZcGePoint3d& position, const wchar_t* defaultText,
                            const wchar_t* tag, const wchar_t* prompt, double height = 2.5)
        : ZcDbText(position, defaultText, height), m_tag(tag ? tag : L""),
          m_prompt(prompt ? prompt : L"") {}
    const std::wstring& tag() const { return m_tag; }
    Zcad::ErrorStatus setTag(const wchar_t* tag);
    const std::wstring& prompt() const { return m_prompt; }
    Zcad::ErrorStatus setPrompt(const wchar_t* prompt);
    bool isInvisible() const { return m_flags & 1; }
    bool isConstant() const { return m_flags & 2; }
    bool isVerifiable() const { return m_flags & 4; }
    bool isPreset() const { return m_flags & 8; }
    Zcad::ErrorStatus setInvisible(bool v);
    Zcad::ErrorStatus setConstant(bool v);
    // DXF attribute flags: invisible 1, constant 2, verify 4, preset 8.
    std::int16_t attributeFlags() const { return m_flags; }
    Zcad::ErrorStatus setAttributeFlags(std::int16_t flags);

protected:
    void listFields(std::wstring& out) const override;

private:
    std::wstring m_tag, m_prompt;
    std::int16_t m_flags = 0;
};

class ZcDbAttribute : public ZcDbText {
public:
    ZCRX_DECLARE_MEMBERS(ZcDbAttribute)
    ZCDB_ENTITY_CLONE(ZcDbAttribute)
    ZcDbAttribute() = default;
    const std::wstring& tag() const { return m_tag; }
    Zcad::ErrorStatus setTag(const wchar_t* tag);
    bool isInvisible() const { return m_flags & 1; }
    bool isConstant() const { return m_flags & 2; }
    Zcad::ErrorStatus setInvisible(bool v);
    std::int16_t attributeFlags() const { return m_flags; }
    Zcad::ErrorStatus setAttributeFlags(std::int16_t flags);
    // Takes position, text, height, rotation, style, flags and tag from a definition placed by
    // the given block transform.
    Zcad::ErrorStatus setAttributeFromBlock(const ZcDbAttributeDefinition* def,
                                            const ZcGeMatrix3d& blockTransform);

protected:
    void listFields(std::wstring& out) const override;

private:
    std::wstring m_tag;
    std::int16_t m_flags = 0;
};

class ZcDbMText : public ZcDbEntity {
public:
    ZCRX_DECLARE_MEMBERS(ZcDbMText)
    ZCDB_ENTITY_CLONE(ZcDbMText)
    enum AttachmentPoint {
        kTopLeft = 1,
        kTopCenter,
        kTopRight,
        kMiddleLeft,
        kMiddleCenter,
        kMiddleRight,
        kBottomLeft,
        kBottomCenter,
        kBottomRight
    };
    ZcDbMText() = default;
    ZcGePoint3d location() const { return m_location; }
    Zcad::ErrorStatus setLocation(const ZcGePoint3d& p);
    // The contents with their format codes, as stored.
    const std::wstring& contents() const { return m_contents; }
    Zcad::ErrorStatus setContents(const wchar_t* text);
    // The contents without format codes, lines separated by "\n".
    std::wstring text() const;
    double textHeight() const { return m_height; }
    Zcad::ErrorStatus setTextHeight(double h);
    double width() const { return m_width; }
    Zcad::ErrorStatus setWidth(double w);
    double rotation() const;
    Zcad::ErrorStatus setRotation(double r);
    ZcGeVector3d direction() const { return m_direction; }
    Zcad::ErrorStatus setDirection(const ZcGeVector3d& d);
    AttachmentPoint attachment() const { return m_attachment; }
    Zcad::ErrorStatus setAttachment(AttachmentPoint a);
    const std::wstring& textStyleName() const { return m_style; }
    Zcad::ErrorStatus setTextStyleName(const wchar_t* name);
    ZcGeVector3d normal() const { return m_normal; }
    Zcad::ErrorStatus setNormal(const ZcGeVector3d& n);

    Zcad::ErrorStatus getGeomExtents(ZcDbExtents& extents) const override;

protected:
    Zcad::ErrorStatus subTransformBy(const ZcGeMatrix3d& xform) override;
    void listFields(std::wstring& out) const override;

private:
    ZcGePoint3d m_location;
    std::wstring m_contents;
    double m_height = 2.5, m_width = 0.0;
    ZcGeVector3d m_direction = ZcGeVector3d::kXAxis;
    ZcGeVector3d m_normal = ZcGeVector3d::kZAxis;
    AttachmentPoint m_attachment = kTopLeft;
    std::wstring m_style = L"Standard";
};

// A leader: a polyline path with an arrow at its first vertex. The arrow size is the dimension
// arrow size times the dimension scale.
class ZcDbLeader : public ZcDbCurve {
public:
    ZCRX_DECLARE_MEMBERS(ZcDbLeader)
    ZCDB_ENTITY_CLONE(ZcDbLeader)
    ZcDbLeader() = default;
    int numVertices() const { return m_vertices.length(); }
    ZcGePoint3d vertexAt(int i) const { return m_vertices[i]; }
    const ZcGePoint3dArray& vertices() const { return m_vertices; }
    Zcad::ErrorStatus appendVertex(const ZcGePoint3d& p);
    Zcad::ErrorStatus setVertexAt(int i, const ZcGePoint3d& p);
    bool hasArrowHead() const { return m_arrow; }
    Zcad::ErrorStatus enableArrowHead();
    Zcad::ErrorStatus disableArrowHead();
    double dimasz() const { return m_dimasz; }
    Zcad::ErrorStatus setDimasz(double size);
    double dimscale() const { return m_dimscale; }
    Zcad::ErrorStatus setDimscale(double scale);
    const std::wstring& dimensionStyleName() const { return m_dimstyle; }
    Zcad::ErrorStatus setDimensionStyleName(const wchar_t* name);
    ZcGeVector3d normal() const { return m_normal; }
    Zcad::ErrorStatus setNormal(const ZcGeVector3d& n);

    Zcad::ErrorStatus getStartParam(double& param) const override;
    Zcad::ErrorStatus getEndParam(double& param) const override;
    Zcad::ErrorStatus getPointAtParam(double param, ZcGePoint3d& point) const override;
    Zcad::ErrorStatus getFirstDeriv(double param, ZcGeVector3d& deriv) const override;
    Zcad::ErrorStatus getGeomExtents(ZcDbExtents& extents) const override;

protected:
    Zcad::ErrorStatus subTransformBy(const ZcGeMatrix3d& xform) override;
    void listFields(std::wstring& out) const override;
    std::vector<double> sampleParams() const override;

private:
    ZcGePoint3dArray m_vertices;
    bool m_arrow = true;
    double m_dimasz = 2.5, m_dimscale = 1.0;
    std::wstring m_dimstyle = L"Standard";
    ZcGeVector3d m_normal = ZcGeVector3d::kZAxis;
};

class ZcDbAlignedDimension : public ZcDbEntity {
public:
    ZCRX_DECLARE_MEMBERS(ZcDbAlignedDimension)
    ZCDB_ENTITY_CLONE(ZcDbAlignedDimension)
    ZcDbAlignedDimension() = default;
    ZcDbAlignedDimension(const ZcGePoint3d& xLine1, const ZcGePoint3d& xLine2,
                         const ZcGePoint3d& dimLine, const wchar_t* text = L"")
        : m_xLine1(xLine1), m_xLine2(xLine2), m_dimLine(dimLine), m_text(text ? text : L"") {}
    ZcGePoint3d xLine1Point() const { return m_xLine1; }
    ZcGePoint3d xLine2Point() const { return m_xLine2; }
    ZcGePoint3d dimLinePoint() const { return m_dimLine; }
    ZcGePoint3d textPosition() const { return m_textPosition; }
    Zcad::ErrorStatus setXLine1Point(const ZcGePoint3d& p);
    Zcad::ErrorStatus setXLine2Point(const ZcGePoint3d& p);
    Zcad::ErrorStatus setDimLinePoint(const ZcGePoint3d& p);
    Zcad::ErrorStatus setTextPosition(const ZcGePoint3d& p);
    // The override text; empty means the measurement is shown.
    const std::wstring& dimensionText() const { return m_text; }
    Zcad::ErrorStatus setDimensionText(const wchar_t* text);
    double oblique() const { return m_oblique; }
    Zcad::ErrorStatus setOblique(double a);
    const std::wstring& dimensionStyleName() const { return m_dimstyle; }
    Zcad::ErrorStatus setDimensionStyleName(const wchar_t* name);
    // The distance between the two extension-line points.
    Zcad::ErrorStatus measurement(double& value) const;
    // The block that draws the dimension, when the drawing has one ("*D..." blocks).
    ZcDbObjectId dimBlockId() const { return m_block; }
    Zcad::ErrorStatus setDimBlockId(ZcDbObjectId id);

    Zcad::ErrorStatus getGeomExtents(ZcDbExtents& extents) const override;
    Zcad::ErrorStatus explode(ZcDbVoidPtrArray& entitySet) const override;

protected:
    Zcad::ErrorStatus subTransformBy(const ZcGeMatrix3d& xform) override;
    void listFields(std::wstring& out) const override;

private:
    ZcGePoint3d m_xLine1, m_xLine2, m_dimLine, m_textPosition;
    std::wstring m_text;
    double m_oblique = 0.0;
    std::wstring m_dimstyle = L"Standard";
    ZcDbObjectId m_block;
};
