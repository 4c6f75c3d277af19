// Codes of header variables.
#include "header_vars.h"
#include "winhost.h"

#include <map>

#include "groups.h"
#include "text_codec.h"

namespace gantrel::dxf {

namespace {

// Variables whose code differs from the one their type implies, and 2-D points (negative).
const std::map<std::wstring, int>& knownCodes() {
    static const std::map<std::wstring, int> codes{
        {L"ACADVER", 1},         {L"DWGCODEPAGE", 3},   {L"HANDSEED", 5},
        {L"CLAYER", 8},          {L"CELTYPE", 6},       {L"CECOLOR", 62},
        {L"TEXTSTYLE", 7},       {L"DIMSTYLE", 2},      {L"DIMTXSTY", 7},
        {L"DIMBLK", 1},          {L"DIMBLK1", 1},       {L"DIMBLK2", 1},
        {L"DIMLDRBLK", 1},       {L"CMLSTYLE", 2},      {L"UCSNAME", 2},
        {L"PUCSNAME", 2},        {L"LASTSAVEDBY", 1},   {L"MENU", 1},
        {L"PROJECTNAME", 1},     {L"HYPERLINKBASE", 1}, {L"STYLESHEET", 1},
        {L"FINGERPRINTGUID", 2}, {L"VERSIONGUID", 2},   {L"CELWEIGHT", 370},
        {L"ENDCAPS", 280},       {L"JOINSTYLE", 280},   {L"LWDISPLAY", 290},
        {L"XEDIT", 290},         {L"PSTYLEMODE", 290},  {L"CEPSNTYPE", 380},
        {L"LIMMIN", -10},        {L"LIMMAX", -10},      {L"PLIMMIN", -10},
        {L"PLIMMAX", -10},       {L"INSUNITS", 70},     {L"DIMASZ", 40},
        {L"DIMSCALE", 40},       {L"LUNITS", 70},       {L"LUPREC", 70},
        {L"MEASUREMENT", 70},    {L"PDMODE", 70},       {L"PDSIZE", 40},
        {L"TEXTSIZE", 40},       {L"EXTMIN", 10},       {L"EXTMAX", 10},
        {L"INSBASE", 10},        {L"PEXTMIN", 10},      {L"PEXTMAX", 10},
    };
    return codes;
}

// True when a group code can carry a value of this type.
bool fits(int code, const ZcDbHeaderValue& value) {
    if (code < 0)
        return std::holds_alternative<ZcGePoint3d>(value) && code >= -18 && code <= -10;
    if (std::holds_alternative<ZcGePoint3d>(value))
        return code >= 10 && code <= 18;
    const ValueType type = valueType(code);
    switch (value.index()) {
    case 0:
        return type == ValueType::Int16 || type == ValueType::Bool;
    case 1:
        return type == ValueType::Int32 || type == ValueType::Int64;
    case 2:
        return type == ValueType::Real && !(code >= 10 && code <= 39);
    default:
        return type == ValueType::Text || type == ValueType::Handle;
    }
}

} // namespace

int headerCode(const std::wstring& name, const ZcDbHeaderValue& value,
               const std::vector<std::pair<int, std::string>>* fileCodes) {
    // The code a file gave the variable, when it still fits the value (a value set in the
    // program may have another type than the file's).
    if (fileCodes && name != L"ACADVER" && name != L"DWGCODEPAGE") {
        const std::string key = "$" + ::win::Narrow(name);
        for (const auto& [code, var] : *fileCodes)
            if (var == key && fits(code, value))
                return code;
    }
    if (auto it = knownCodes().find(name); it != knownCodes().end() && fits(it->second, value))
        return it->second;
    switch (value.index()) {
    case 0:
        return 70;
    case 1:
        return 90;
    case 2:
        return 40;
    case 3:
        return 10;
    default:
        return 1;
    }
}

const std::vector<std::wstring>& leadingHeaderVariables() {
    static const std::vector<std::wstring> names{L"ACADVER", L"DWGCODEPAGE", L"INSBASE", L"EXTMIN",
                                                 L"EXTMAX",  L"LIMMIN",      L"LIMMAX"};
    return names;
}

} // namespace gantrel::dxf
