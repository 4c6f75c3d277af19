// Read and write contexts.
#include "contexts.h"

#include <fmt/format.h>

#include <bit>
#include <cmath>

#include "database_impl.h"

namespace gantrel::dxf {

ReadContext::ReadContext(ZcDbDatabase& db, std::string fileName)
    : m_db(db), m_fileName(std::move(fileName)) {}

namespace {

std::string shortValue(std::string_view v) {
    v = trim(v);
    std::string out(v.substr(0, 40));
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20)
            c = '?';
    return out;
}

} // namespace

double ReadContext::real(const Group& g) const {
    if (g.parsed == Parsed::Real)
        return std::bit_cast<double>(g.number);
    double v;
    if (!parseReal(g.value, v))
        throw ReadError(g.line + 1, fmt::format("group code {}: \"{}\" is not a number", g.code,
                                                shortValue(g.value)));
    return v;
}

std::int64_t ReadContext::integer(const Group& g) const {
    if (g.parsed == Parsed::Integer)
        return static_cast<std::int64_t>(g.number);
    std::int64_t v;
    if (parseInteger(g.value, v))
        return v;
    // Some writers give integer groups in real notation ("1.0").
    double d;
    if (parseReal(g.value, d) && std::abs(d) < 9e18 &&
        d == static_cast<double>(static_cast<std::int64_t>(d)))
        return static_cast<std::int64_t>(d);
    throw ReadError(g.line + 1, fmt::format("group code {}: \"{}\" is not an integer", g.code,
                                            shortValue(g.value)));
}

std::uint64_t ReadContext::handle(const Group& g) const {
    if (g.parsed == Parsed::Handle)
        return g.number;
    std::uint64_t v;
    if (!parseHandle(g.value, v))
        throw ReadError(g.line + 1, fmt::format("group code {}: \"{}\" is not a handle", g.code,
                                                shortValue(g.value)));
    return v;
}

std::string ReadContext::keptValue(const Group& g) {
    const ValueType type = valueType(g.code);
    if (type == ValueType::Text)
        return m_decoder.toUtf8Verbatim(g.value);
    // Numbers are checked now, so that kept groups are always valid when written back.
    switch (type) {
    case ValueType::Real:
        real(g);
        break;
    case ValueType::Int16:
    case ValueType::Int32:
    case ValueType::Int64:
    case ValueType::Bool:
        integer(g);
        break;
    case ValueType::Handle:
        handle(g);
        break;
    default:
        break;
    }
    return std::string(trim(g.value));
}

void ReadContext::repair(std::size_t line, const std::string& message) {
    const std::string text = line > 0 ? fmt::format("{}:{}: {}", m_fileName, line, message)
                                      : fmt::format("{}: {}", m_fileName, message);
    m_repairs.push_back(utf8ToWide(text));
}

void ReadContext::repairOnce(const std::string& key, std::size_t line, const std::string& message) {
    if (m_reported.insert(key).second)
        repair(line, message);
}

void ReadContext::referByHandle(std::uint64_t handle, ApplyId apply, std::size_t line) {
    m_references.push_back({currentObject, handle, {}, apply, line});
}

void ReadContext::referToBlock(std::wstring name, ApplyId apply, std::size_t line) {
    m_references.push_back({currentObject, 0, std::move(name), apply, line});
}

ReadContext::FieldScratch& ReadContext::fieldScratch(const Schema& schema) {
    if (schema.serial() >= m_scratch.size())
        m_scratch.resize(schema.serial() + 1);
    FieldScratch& s = m_scratch[schema.serial()];
    if (s.values.size() != schema.fieldCount())
        s.values.resize(schema.fieldCount());
    return s;
}

WriteContext::WriteContext(const ZcDbDatabase& db) : m_db(db), m_next(db.impl().handseed) {
    // Handles of records kept as file data must not be handed out again either.
    for (const auto& [h, extras] : db.impl().fileExtras) {
        m_next = std::max({m_next, h + 1, extras.beginHandle + 1, extras.endHandle + 1});
    }
}

std::wstring WriteContext::blockName(ZcDbObjectId id) const {
    const auto* record = ZcDbAccess::objectAs<ZcDbBlockTableRecord>(id);
    return record ? record->name() : std::wstring();
}

} // namespace gantrel::dxf
