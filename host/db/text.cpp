// Single-line text, attribute definitions and attributes. Positions are world points; the
// rotation is measured in the object coordinate system of the normal.
#include <cmath>
#include <cwctype>

#include "database_impl.h"
#include "geom_util.h"

ZCRX_DEFINE_MEMBERS(ZcDbText, ZcDbEntity, L"TEXT")
ZCRX_DEFINE_MEMBERS(ZcDbAttributeDefinition, ZcDbText, L"ATTDEF")
ZCRX_DEFINE_MEMBERS(ZcDbAttribute, ZcDbText, L"ATTRIB")

using namespace gantrel::db;

namespace {

// Attribute tags name a field: they may not be empty or hold blanks.
bool isValidTag(const wchar_t* tag) {
    if (!tag || !*tag)
        return false;
    for (const wchar_t* p = tag; *p; ++p)
        if (std::iswspace(*p))
            return false;
    return true;
}

const wchar_t* horizontalName(ZcDbText::TextHorzMode m) {
    switch (m) {
    case ZcDbText::kTextCenter:
        return L"Center";
    case ZcDbText::kTextRight:
        return L"Right";
    case ZcDbText::kTextAlign:
        return L"Aligned";
    case ZcDbText::kTextMid:
        return L"Middle";
    case ZcDbText::kTextFit:
        return L"Fit";
    default:
        return L"Left";
    }
}

} // namespace

// --- text ------------------------------------------------------------------------------------

Zcad::ErrorStatus ZcDbText::setPosition(const ZcGePoint3d& p) {
    return setField(m_position, p);
}

Zcad::ErrorStatus ZcDbText::setAlignmentPoint(const ZcGePoint3d& p) {
    return setField(m_alignment, p);
}

Zcad::ErrorStatus ZcDbText::setTextString(const wchar_t* text) {
    return setField(m_text, text, text);
}

Zcad::ErrorStatus ZcDbText::setHeight(double h) {
    return setField(m_height, h, h > 0.0);
}

Zcad::ErrorStatus ZcDbText::setRotation(double r) {
    return setField(m_rotation, normalizeAngle(r), std::isfinite(r));
}

Zcad::ErrorStatus ZcDbText::setWidthFactor(double f) {
    return setField(m_widthFactor, f, f > 0.0);
}

Zcad::ErrorStatus ZcDbText::setOblique(double a) {
    if (auto es = assertWriteEnabled(); es != Zcad::eOk)
        return es;
    // Beyond 85 degrees either way the characters lie flat.
    if (!(std::abs(std::remainder(a, kTwoPi)) <= 85.0 * kPi / 180.0))
        return Zcad::eInvalidInput;
    m_oblique = a;
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbText::setTextStyleName(const wchar_t* name) {
    return setField(m_style, name, !(!name || !*name));
}

Zcad::ErrorStatus ZcDbText::setHorizontalMode(TextHorzMode m) {
    return setField(m_horz, m, !(m < kTextLeft || m > kTextFit));
}

Zcad::ErrorStatus ZcDbText::setVerticalMode(TextVertMode m) {
    return setField(m_vert, m, !(m < kTextBase || m > kTextTop));
}

Zcad::ErrorStatus ZcDbText::setNormal(const ZcGeVector3d& n) {
    return setField(m_normal, n.normal(), !(n.isZeroLength()));
}

Zcad::ErrorStatus ZcDbText::getGeomExtents(ZcDbExtents& extents) const {
    // An estimated box: no font metrics, descenders left out.
    const Ocs ocs = ocsOf(m_normal);
    ZcGeVector3d dir = ocs.direction(m_rotation);
    const double chars = static_cast<double>(m_text.size());
    double width = chars * m_height * m_widthFactor * kCharWidthRatio;
    const bool leftBase = m_horz == kTextLeft && m_vert == kTextBase;
    ZcGePoint3d anchor = leftBase ? m_position : m_alignment;
    double x0 = 0.0;
    switch (m_horz) {
    case kTextCenter:
    case kTextMid:
        x0 = -0.5 * width;
        break;
    case kTextRight:
        x0 = -width;
        break;
    case kTextAlign:
    case kTextFit:
        // The text fills the baseline from the position to the alignment point.
        anchor = m_position;
        width = m_position.distanceTo(m_alignment);
        if (width > 0.0)
            dir = (m_alignment - m_position) / width;
        break;
    default:
        break;
    }
    double y0 = 0.0;
    if (m_horz == kTextMid || m_vert == kTextVertMid)
        y0 = -0.5 * m_height;
    else if (m_vert == kTextTop)
        y0 = -m_height;
    extents = ZcDbExtents();
    addBox(extents, anchor, dir, ocs.z.crossProduct(dir), x0, x0 + width, y0, y0 + m_height);
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbText::subTransformBy(const ZcGeMatrix3d& xform) {
    if (auto es = assertWriteEnabled(); es != Zcad::eOk)
        return es;
    const TextFrame frame =
        transformTextFrame(xform, m_normal, ocsOf(m_normal).direction(m_rotation));
    if (!(frame.alongScale > 0.0) || !(frame.acrossScale > 0.0))
        return Zcad::eNotApplicable;
    m_position.transformBy(xform);
    m_alignment.transformBy(xform);
    m_normal = frame.normal;
    m_rotation = ocsOf(frame.normal).angleOf(frame.direction);
    m_height *= frame.acrossScale;
    m_widthFactor *= frame.alongScale / frame.acrossScale;
    return Zcad::eOk;
}

void ZcDbText::listFields(std::wstring& out) const {
    appendField(out, L"Style", m_style);
    appendField(out, L"Start point", formatPoint(m_position));
    if (m_horz != kTextLeft || m_vert != kTextBase)
        appendField(out, L"Alignment point", formatPoint(m_alignment));
    appendField(out, L"Justification", horizontalName(m_horz));
    appendField(out, L"Height", formatNumber(m_height));
    appendField(out, L"Text", m_text);
    appendField(out, L"Rotation angle", formatAngle(m_rotation));
    appendField(out, L"Width scale factor", formatNumber(m_widthFactor));
    appendField(out, L"Obliquing angle", formatAngle(m_oblique));
}

// --- attribute definition --------------------------------------------------------------------

Zcad::ErrorStatus ZcDbAttributeDefinition::setTag(const wchar_t* tag) {
    return setField(m_tag, tag, isValidTag(tag));
}

Zcad::ErrorStatus ZcDbAttributeDefinition::setPrompt(const wchar_t* prompt) {
    return setField(m_prompt, prompt ? prompt : L"");
}

Zcad::ErrorStatus ZcDbAttributeDefinition::setInvisible(bool v) {
    return setAttributeFlags(static_cast<std::int16_t>(v ? m_flags | 1 : m_flags & ~1));
}

Zcad::ErrorStatus ZcDbAttributeDefinition::setConstant(bool v) {
    return setAttributeFlags(static_cast<std::int16_t>(v ? m_flags | 2 : m_flags & ~2));
}

Zcad::ErrorStatus ZcDbAttributeDefinition::setAttributeFlags(std::int16_t flags) {
    return setField(m_flags, flags, !(flags < 0 || flags > 15));
}

void ZcDbAttributeDefinition::listFields(std::wstring& out) const {
    ZcDbText::listFields(out);
    appendField(out, L"Tag", m_tag);
    appendField(out, L"Prompt", m_prompt);
    appendField(out, L"Default", textString());
    std::wstring flags;
    if (isInvisible())
        flags += L"Invisible ";
    if (isConstant())
        flags += L"Constant ";
    if (isVerifiable())
        flags += L"Verify ";
    if (isPreset())
        flags += L"Preset ";
    if (!flags.empty()) {
        flags.pop_back();
        appendField(out, L"Flags", flags);
    }
}

// --- attribute -------------------------------------------------------------------------------

Zcad::ErrorStatus ZcDbAttribute::setTag(const wchar_t* tag) {
    return setField(m_tag, tag, isValidTag(tag));
}

Zcad::ErrorStatus ZcDbAttribute::setInvisible(bool v) {
    return setAttributeFlags(static_cast<std::int16_t>(v ? m_flags | 1 : m_flags & ~1));
}

Zcad::ErrorStatus ZcDbAttribute::setAttributeFlags(std::int16_t flags) {
    return setField(m_flags, flags, !(flags < 0 || flags > 15));
}

Zcad::ErrorStatus ZcDbAttribute::setAttributeFromBlock(const ZcDbAttributeDefinition* def,
                                                       const ZcGeMatrix3d& blockTransform) {
    if (auto es = assertWriteEnabled(); es != Zcad::eOk)
        return es;
    if (!def)
        return Zcad::eNullEntityPointer;
    // Work on a copy so that a failure leaves this attribute as it was.
    ZcDbText placed(def->position(), def->textString().c_str(), def->height(), def->rotation());
    placed.setAlignmentPoint(def->alignmentPoint());
    placed.setWidthFactor(def->widthFactor());
    placed.setOblique(def->oblique());
    placed.setTextStyleName(def->textStyleName().c_str());
    placed.setHorizontalMode(def->horizontalMode());
    placed.setVerticalMode(def->verticalMode());
    placed.setNormal(def->normal());
    if (auto es = placed.transformBy(blockTransform); es != Zcad::eOk)
        return es;
    setPosition(placed.position());
    setAlignmentPoint(placed.alignmentPoint());
    setTextString(placed.textString().c_str());
    setHeight(placed.height());
    setRotation(placed.rotation());
    setWidthFactor(placed.widthFactor());
    setOblique(placed.oblique());
    setTextStyleName(placed.textStyleName().c_str());
    setHorizontalMode(placed.horizontalMode());
    setVerticalMode(placed.verticalMode());
    setNormal(placed.normal());
    setPropertiesFrom(def);
    m_tag = def->tag();
    m_flags = def->attributeFlags();
    return Zcad::eOk;
}

void ZcDbAttribute::listFields(std::wstring& out) const {
    ZcDbText::listFields(out);
    appendField(out, L"Tag", m_tag);
    appendField(out, L"Value", textString());
    if (isInvisible())
        appendField(out, L"Flags", L"Invisible");
}
