// The entity base: layer, colour, linetype, highlight and the text listing common to every
// entity; the defaults of the geometric operations.
#include <cstdio>
#include <string>

#include "database_impl.h"
#include "entity_listing.h"
#include "geom_util.h"

ZCRX_DEFINE_MEMBERS(ZcDbEntity, ZcDbObject, nullptr)

namespace gantrel::db {

namespace {

void printToStdout(const std::wstring& text) {
    // Listings are ASCII apart from names; write UTF-8 so that any name survives.
    std::string utf8;
    for (wchar_t wc : text) {
        const auto c = static_cast<std::uint32_t>(wc);
        if (c < 0x80) {
            utf8 += static_cast<char>(c);
        } else if (c < 0x800) {
            utf8 += static_cast<char>(0xC0 | (c >> 6));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            utf8 += static_cast<char>(0xE0 | (c >> 12));
            utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            utf8 += static_cast<char>(0xF0 | (c >> 18));
            utf8 += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
}

ListingPrinter g_printer = &printToStdout;

std::wstring colorText(std::int16_t color) {
    if (color == 0)
        return L"BYBLOCK";
    if (color == 256)
        return L"BYLAYER";
    return std::to_wstring(color);
}

} // namespace

void setListingPrinter(ListingPrinter printer) {
    g_printer = printer ? printer : &printToStdout;
}

} // namespace gantrel::db

using namespace gantrel::db;

Zcad::ErrorStatus ZcDbEntity::setLayer(const wchar_t* name, bool doSubents, bool allowHiddenLayer) {
    if (auto es = assertWriteEnabled(); es != Zcad::eOk)
        return es;
    if (!name || !*name)
        return Zcad::eInvalidInput;
    std::wstring stored = name;
    if (ZcDbDatabase* db = database()) {
        // A resident entity may only name a layer of its own drawing; the table's spelling of
        // the name is kept, since names compare without regard to case.
        const auto* table = ZcDbAccess::objectAs<ZcDbLayerTable>(db->layerTableId());
        ZcDbObjectId layerId;
        if (!table || table->getIdAt(name, layerId) != Zcad::eOk)
            return Zcad::eKeyNotFound;
        const auto* layer = ZcDbAccess::objectAs<ZcDbLayerTableRecord>(layerId);
        if (!layer)
            return Zcad::eKeyNotFound;
        if (layer->isHidden() && !allowHiddenLayer)
            return Zcad::eInvalidInput;
        stored = layer->name();
    }
    m_layer = stored;
    if (doSubents)
        for (ZcDbEntity* sub : ownedEntities())
            sub->m_layer = stored;
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbEntity::setColorIndex(std::int16_t color, bool doSubents) {
    if (auto es = assertWriteEnabled(); es != Zcad::eOk)
        return es;
    if (color < 0 || color > 256)
        return Zcad::eInvalidInput;
    m_color = color;
    if (doSubents)
        for (ZcDbEntity* sub : ownedEntities())
            sub->m_color = color;
    return Zcad::eOk;
}

namespace {

const std::wstring kByLayer = L"ByLayer";

} // namespace

const std::wstring& ZcDbEntity::linetype() const {
    return m_linetype.empty() ? kByLayer : m_linetype;
}

Zcad::ErrorStatus ZcDbEntity::setLinetype(const wchar_t* name) {
    const bool valid = name && *name;
    return setField(m_linetype, valid && name == kByLayer ? L"" : name, valid);
}

Zcad::ErrorStatus ZcDbEntity::setPropertiesFrom(const ZcDbEntity* other) {
    if (auto es = assertWriteEnabled(); es != Zcad::eOk)
        return es;
    if (!other)
        return Zcad::eNullEntityPointer;
    m_layer = other->m_layer;
    m_color = other->m_color;
    m_linetype = other->m_linetype;
    return Zcad::eOk;
}

// Highlighting is display state, not drawing data: an entity open for read may change it.
Zcad::ErrorStatus ZcDbEntity::highlight() {
    m_highlighted = true;
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbEntity::unhighlight() {
    m_highlighted = false;
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbEntity::getGeomExtents(ZcDbExtents& extents) const {
    extents = ZcDbExtents();
    return Zcad::eInvalidExtents;
}

Zcad::ErrorStatus ZcDbEntity::transformBy(const ZcGeMatrix3d& xform) {
    const Zcad::ErrorStatus status = subTransformBy(xform);
    if (status == Zcad::eOk)
        m_accumulated.preMultiply(xform);
    return status;
}

ZcDbEntity::Accumulated::Accumulated(const Accumulated& other)
    : m_matrix(other.m_matrix ? std::make_unique<ZcGeMatrix3d>(*other.m_matrix) : nullptr) {}

ZcDbEntity::Accumulated& ZcDbEntity::Accumulated::operator=(const Accumulated& other) {
    if (this != &other)
        m_matrix = other.m_matrix ? std::make_unique<ZcGeMatrix3d>(*other.m_matrix) : nullptr;
    return *this;
}

void ZcDbEntity::Accumulated::preMultiply(const ZcGeMatrix3d& xform) {
    const ZcGeMatrix3d product = xform * matrix();
    if (m_matrix)
        *m_matrix = product;
    else
        m_matrix = std::make_unique<ZcGeMatrix3d>(product);
}

Zcad::ErrorStatus ZcDbEntity::subTransformBy(const ZcGeMatrix3d&) {
    return Zcad::eNotApplicable;
}

Zcad::ErrorStatus ZcDbEntity::explode(ZcDbVoidPtrArray&) const {
    return Zcad::eNotApplicable;
}

std::wstring ZcDbEntity::listing() const {
    std::wstring out;
    const wchar_t* type = isA()->dxfName() ? isA()->dxfName() : isA()->name();
    appendField(out, L"Type", type);
    if (!isNewObject()) {
        appendField(out, L"Handle", handle().text());
        if (const auto* owner = ZcDbAccess::objectAs<ZcDbBlockTableRecord>(ownerId())) {
            if (database() && ownerId() == database()->modelSpaceId())
                appendField(out, L"Space", L"Model space");
            else if (owner->isLayout())
                appendField(out, L"Space", L"Paper space");
            else
                appendField(out, L"Block", owner->name());
        }
    }
    appendField(out, L"Layer", m_layer);
    appendField(out, L"Color", colorText(m_color));
    appendField(out, L"Linetype", linetype());
    listFields(out);
    return out;
}

void ZcDbEntity::list() const {
    const std::wstring text = listing();
    std::size_t begin = 0;
    while (begin <= text.size()) {
        std::size_t end = text.find(L'\n', begin);
        if (end == std::wstring::npos)
            end = text.size();
        g_printer(L"\n" + text.substr(begin, end - begin));
        begin = end + 1;
    }
}

void ZcDbEntity::listFields(std::wstring&) const {}
