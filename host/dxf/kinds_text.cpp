// Single-line text, attribute definitions, attributes and multiline text.
#include "contexts.h"
#include "group_writer.h"
#include "kinds.h"
#include "ocs.h"
#include "text_codec.h"
#include "winhost.h"
#include "zcdbtext.h"

namespace gantrel::dxf {

template <> struct EnumRange<ZcDbText::TextHorzMode> {
    static constexpr int max = ZcDbText::kTextFit;
};
template <> struct EnumRange<ZcDbText::TextVertMode> {
    static constexpr int max = ZcDbText::kTextTop;
};
template <> struct EnumRange<ZcDbMText::AttachmentPoint> {
    static constexpr int max = ZcDbMText::kBottomRight;
};

namespace {

// Text points are given in the object coordinates of the text's normal.
template <ZcGePoint3d (ZcDbText::*Get)() const,
          Zcad::ErrorStatus (ZcDbText::*Set)(const ZcGePoint3d&)>
Field textPoint(short code, Presence presence) {
    return custom(
        code, FieldKind::Point3, presence, ZcGePoint3d(),
        [](const void* t, Value& v, WriteContext&) {
            const auto& text = *static_cast<const ZcDbText*>(t);
            v.point = worldToOcs(text.normal(), (text.*Get)());
        },
        [](void* t, const Value& v, ReadContext&) {
            return (static_cast<ZcDbText*>(t)->*Set)(v.point);
        });
}

Zcad::ErrorStatus textPointsToWorld(void* t, ZcDbObject&, ReadContext&) {
    auto& text = *static_cast<ZcDbText*>(t);
    if (isWorldZ(text.normal()))
        return Zcad::eOk;
    if (auto es = text.setPosition(ocsToWorld(text.normal(), text.position())); es != Zcad::eOk)
        return es;
    return text.setAlignmentPoint(ocsToWorld(text.normal(), text.alignmentPoint()));
}

const Subclass kText{
    "AcDbText",
    {
        unmodelled(39, FieldKind::Real, 0.0, Presence::Optional),
        textPoint<&ZcDbText::position, &ZcDbText::setPosition>(10, Presence::Always),
        prop<&ZcDbText::height, &ZcDbText::setHeight>(40, FieldKind::Real, Presence::Always, 2.5),
        prop<&ZcDbText::textString, &ZcDbText::setTextString>(1, FieldKind::Text),
        prop<&ZcDbText::rotation, &ZcDbText::setRotation>(50, FieldKind::Angle, Presence::Optional,
                                                          0.0),
        prop<&ZcDbText::widthFactor, &ZcDbText::setWidthFactor>(41, FieldKind::Real,
                                                                Presence::Optional, 1.0),
        prop<&ZcDbText::oblique, &ZcDbText::setOblique>(51, FieldKind::Angle, Presence::Optional,
                                                        0.0),
        prop<&ZcDbText::textStyleName, &ZcDbText::setTextStyleName>(
            7, FieldKind::Text, Presence::Optional, L"Standard"),
        unmodelled(71, FieldKind::Int16, 0, Presence::Optional),
        prop<&ZcDbText::horizontalMode, &ZcDbText::setHorizontalMode>(72, FieldKind::Int16,
                                                                      Presence::Optional, 0),
        textPoint<&ZcDbText::alignmentPoint, &ZcDbText::setAlignmentPoint>(11, Presence::Optional),
        prop<&ZcDbText::normal, &ZcDbText::setNormal>(210, FieldKind::Vector3, Presence::Optional,
                                                      kZ),
    }};

Field verticalMode(short code) {
    return prop<&ZcDbText::verticalMode, &ZcDbText::setVerticalMode>(code, FieldKind::Int16,
                                                                     Presence::Optional, 0);
}

const Subclass kText2{"AcDbText", {verticalMode(73)}};

const Subclass kAttributeDefinition{
    "AcDbAttributeDefinition",
    {
        unmodelled(280, FieldKind::Int16, 0),
        prop<&ZcDbAttributeDefinition::prompt, &ZcDbAttributeDefinition::setPrompt>(
            3, FieldKind::Text),
        prop<&ZcDbAttributeDefinition::tag, &ZcDbAttributeDefinition::setTag>(2, FieldKind::Text),
        prop<&ZcDbAttributeDefinition::attributeFlags, &ZcDbAttributeDefinition::setAttributeFlags>(
            70, FieldKind::Int16),
        unmodelled(73, FieldKind::Int16, 0, Presence::Optional),
        verticalMode(74),
    }};

const Subclass kAttribute{
    "AcDbAttribute",
    {
        unmodelled(280, FieldKind::Int16, 0),
        prop<&ZcDbAttribute::tag, &ZcDbAttribute::setTag>(2, FieldKind::Text),
        prop<&ZcDbAttribute::attributeFlags, &ZcDbAttribute::setAttributeFlags>(70,
                                                                                FieldKind::Int16),
        unmodelled(73, FieldKind::Int16, 0, Presence::Optional),
        verticalMode(74),
    }};

// --- multiline text ---------------------------------------------------------------------------

// The contents come in pieces: groups 3 followed by a last group 1. The pieces are joined
// before decoding, since other writers split them inside multi-byte characters.
void readContents(void* t, GroupCursor& cur, ReadContext& ctx) {
    std::string raw;
    while (!cur.done() && (cur.peek().code == 3 || cur.peek().code == 1)) {
        const Group& g = cur.take();
        raw.append(g.value);
        if (g.code == 1)
            break;
    }
    static_cast<ZcDbMText*>(t)->setContents(ctx.decoder().toWide(raw).c_str());
}

void writeContents(const void* t, GroupWriter& w, WriteContext&) {
    const std::string text = ::win::Narrow(static_cast<const ZcDbMText*>(t)->contents());
    constexpr std::size_t kPiece = 250;
    std::size_t pos = 0;
    while (text.size() - pos > kPiece) {
        std::size_t end = pos + kPiece;
        // Never split a UTF-8 sequence, nor a caret from the character after it.
        while (end > pos + 1 &&
               ((static_cast<unsigned char>(text[end]) & 0xC0) == 0x80 || text[end - 1] == '^'))
            --end;
        w.text(3, std::string_view(text).substr(pos, end - pos));
        pos = end;
    }
    w.text(1, std::string_view(text).substr(pos));
}

const Subclass kMText{
    "AcDbMText",
    {
        prop<&ZcDbMText::location, &ZcDbMText::setLocation>(10, FieldKind::Point3),
        prop<&ZcDbMText::textHeight, &ZcDbMText::setTextHeight>(40, FieldKind::Real,
                                                                Presence::Always, 2.5),
        prop<&ZcDbMText::width, &ZcDbMText::setWidth>(41, FieldKind::Real, Presence::Always, 0.0),
        unmodelled(46, FieldKind::Real, 0.0, Presence::Optional),
        prop<&ZcDbMText::attachment, &ZcDbMText::setAttachment>(71, FieldKind::Int16,
                                                                Presence::Always, 1),
        unmodelled(72, FieldKind::Int16, 1, Presence::Optional),
        sequence(3, {1}, &readContents, &writeContents),
        prop<&ZcDbMText::textStyleName, &ZcDbMText::setTextStyleName>(
            7, FieldKind::Text, Presence::Optional, L"Standard"),
        prop<&ZcDbMText::normal, &ZcDbMText::setNormal>(210, FieldKind::Vector3, Presence::Optional,
                                                        kZ),
        // The rotation (radians) is the older form of the direction; the direction wins.
        prop<&ZcDbMText::rotation, &ZcDbMText::setRotation>(50, FieldKind::Real, Presence::ReadOnly,
                                                            0.0),
        prop<&ZcDbMText::direction, &ZcDbMText::setDirection>(
            11, FieldKind::Vector3, Presence::Optional, ZcGePoint3d(1.0, 0.0, 0.0)),
        unmodelled(42, FieldKind::Real, 0.0, Presence::Optional),
        unmodelled(43, FieldKind::Real, 0.0, Presence::Optional),
        unmodelled(73, FieldKind::Int16, 1, Presence::Optional),
        unmodelled(44, FieldKind::Real, 1.0, Presence::Optional),
    }};

template <class E> Kind textKind(const Schema& schema) {
    Kind k = directKind<E>(schema);
    k.endRead = &textPointsToWorld;
    return k;
}

} // namespace

std::vector<const Kind*> textKinds() {
    static const Schema text("TEXT", {&entitySubclass(), &kText, &kText2}, true);
    static const Schema attdef("ATTDEF", {&entitySubclass(), &kText, &kAttributeDefinition}, true);
    static const Schema attrib("ATTRIB", {&entitySubclass(), &kText, &kAttribute}, true);
    static const Schema mtext("MTEXT", {&entitySubclass(), &kMText}, true);
    static const Kind textK = textKind<ZcDbText>(text);
    static const Kind attdefK = textKind<ZcDbAttributeDefinition>(attdef);
    static const Kind attribK = textKind<ZcDbAttribute>(attrib);
    static const Kind mtextK = directKind<ZcDbMText>(mtext);
    return {&textK, &attdefK, &attribK, &mtextK};
}

} // namespace gantrel::dxf
