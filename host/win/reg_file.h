// Reading the registry's ".reg" text format into a tree of keys and values.
#pragma once

#include "win_types.h"

#include <map>
#include <string>
#include <vector>

namespace win::detail {

struct RegValue {
    std::wstring name; // as written; empty for the default value "@"
    DWORD type = REG_NONE;
    std::vector<BYTE> data; // as RegQueryValueEx hands it out (strings as wchar_t with terminator)
};

struct RegKeyData {
    std::wstring path;                       // as written, e.g. HKEY_LOCAL_MACHINE\SOFTWARE\KORVANT
    std::map<std::wstring, RegValue> values; // by case-folded name
};

// Keys by case-folded full path; every ancestor of a key is present too.
using RegTree = std::map<std::wstring, RegKeyData>;

struct RegParseResult {
    RegTree tree;
    bool recognised = false;           // the header line was found
    std::vector<std::string> messages; // "NAME:LINE: what is wrong"
};

// Parses the bytes of a ".reg" file (UTF-8, with or without a byte-order mark, or UTF-16LE with
// its byte-order mark, as the registry editor exports). Lines that cannot be understood are
// reported and skipped.
RegParseResult ParseRegFile(const std::string& bytes, const std::string& name);

// Bytes of a string value as the registry hands them out: wchar_t units and a terminator.
std::vector<BYTE> StringValueBytes(const std::wstring& text);

} // namespace win::detail
