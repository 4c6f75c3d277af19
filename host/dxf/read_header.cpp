// The HEADER section: "9 $NAME" followed by the variable's value groups. $ACADVER and
// $DWGCODEPAGE decide how the file's text is decoded.
#include <fmt/format.h>

#include "database_impl.h"
#include "header_vars.h"
#include "reader.h"
#include "winhost.h"

namespace gantrel::dxf {

namespace {

// Upper-case name without "$".
std::wstring variableName(std::string_view text) {
    text = trim(text);
    if (!text.empty() && text[0] == '$')
        text.remove_prefix(1);
    std::wstring name;
    for (char c : text)
        name += static_cast<wchar_t>(c >= 'a' && c <= 'z' ? c - 32 : static_cast<unsigned char>(c));
    return name;
}

} // namespace

void FileReader::readHeader(const Record& section) {
    const auto& groups = section.groups;
    // The version and code page come first, so that every text is decoded rightly.
    std::string codePage;
    for (std::size_t i = 1; i + 1 < groups.size(); ++i) {
        if (groups[i].code != 9)
            continue;
        const std::string_view name = trim(groups[i].value);
        if (name == "$ACADVER")
            m_ctx.version = std::string(trim(groups[i + 1].value));
        else if (name == "$DWGCODEPAGE")
            codePage = std::string(trim(groups[i + 1].value));
    }
    if (!m_ctx.decoder().configure(codePage, m_ctx.version >= "AC1021"))
        m_ctx.repair(0,
                     fmt::format("code page {} is not known; text is read as ANSI_1252", codePage));

    ZcDbDatabase::Impl& impl = ZcDbAccess::impl(m_db);
    auto& codes = impl.preserved[kHeaderCodesKey];
    codes.clear();
    std::size_t i = 1;
    while (i < groups.size()) {
        const Group& var = groups[i++];
        if (var.code != 9) {
            m_ctx.repair(var.line,
                         fmt::format("header group {} outside a variable dropped", var.code));
            continue;
        }
        const std::wstring name = variableName(var.value);
        if (i >= groups.size() || groups[i].code == 9) {
            m_ctx.repair(var.line,
                         "header variable $" + ::win::Narrow(name) + " without a value dropped");
            continue;
        }
        const Group& v = groups[i++];
        ZcDbHeaderValue value;
        int code = v.code;
        if (v.code >= 10 && v.code <= 18) {
            ZcGePoint3d p(m_ctx.real(v), 0.0, 0.0);
            bool hasZ = false;
            if (i < groups.size() && groups[i].code == v.code + 10)
                p.y = m_ctx.real(groups[i++]);
            if (i < groups.size() && groups[i].code == v.code + 20) {
                p.z = m_ctx.real(groups[i++]);
                hasZ = true;
            }
            value = p;
            if (!hasZ)
                code = -code;
        } else {
            switch (valueType(v.code)) {
            case ValueType::Real:
                value = m_ctx.real(v);
                break;
            case ValueType::Int16:
            case ValueType::Bool:
                value = static_cast<std::int16_t>(m_ctx.integer(v));
                break;
            case ValueType::Int32:
                value = static_cast<std::int32_t>(m_ctx.integer(v));
                break;
            case ValueType::Int64: {
                const std::int64_t n = m_ctx.integer(v);
                if (n >= INT32_MIN && n <= INT32_MAX)
                    value = static_cast<std::int32_t>(n);
                else
                    value = static_cast<double>(n);
                break;
            }
            default:
                value = m_ctx.text(v);
                break;
            }
        }
        // Further value groups of one variable are not expected; they are dropped.
        while (i < groups.size() && groups[i].code != 9) {
            m_ctx.repairOnce("header:" + ::win::Narrow(name), groups[i].line,
                             "extra value of header variable $" + ::win::Narrow(name) + " dropped");
            ++i;
        }
        if (name == L"HANDSEED") {
            std::uint64_t seed = 0;
            if (parseHandle(v.value, seed))
                ZcDbAccess::reserveHandle(m_db, seed > 0 ? seed - 1 : 0);
            continue; // the database keeps its own
        }
        codes.emplace_back(code, "$" + ::win::Narrow(name));
        impl.header[name] = std::move(value);
    }
    Record end;
    if (!next(end) || end.name != "ENDSEC")
        fail(end.line ? end.line : m_records.endLine() + 1, "section HEADER is not closed by ENDSEC");
}

} // namespace gantrel::dxf
