// What must hold for any input to the help-map and settings parsers: fields are never empty and
// hold no separator, and what is written (or rebuilt) reads back the same. Shared by the fuzz
// target and the replay of its saved corpus.
#pragma once

#include "frame/HelpMap.h"
#include "frame/Ini.h"

#include <string>
#include <vector>

namespace framefuzz {

// The bytes as lines, each byte one character, split at "\n".
inline std::vector<std::wstring> Lines(const std::string& bytes) {
    std::vector<std::wstring> lines(1);
    for (const char c : bytes) {
        if (c == '\n') {
            lines.emplace_back();
        } else {
            lines.back().push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
        }
    }
    return lines;
}

// An empty text when everything holds, else what did not.
inline std::string CheckHelpMap(const std::vector<std::wstring>& lines, bool trim) {
    const gantrel::HelpMap map = gantrel::ParseHelpMap(lines, trim);
    std::vector<std::wstring> rebuilt;
    for (const auto& [key, value] : map) {
        for (const std::wstring* field : {&key, &value}) {
            if (field->empty() || field->find(L'\t') != std::wstring::npos) {
                return "a help-map field is empty or holds a tab";
            }
            const wchar_t ends[] = {field->front(), field->back()};
            for (const wchar_t end : ends) {
                if (trim && (end == L' ' || end == L'\n')) {
                    return "a trimmed help-map field begins or ends with a blank";
                }
            }
        }
        rebuilt.push_back(key + L"\t" + value);
    }
    if (gantrel::ParseHelpMap(rebuilt, trim) != map) {
        return "the help map rebuilt from its entries differs";
    }
    return {};
}

inline std::string CheckIni(const std::vector<std::wstring>& lines) {
    gantrel::INI ini;
    ini.Parse(lines);
    for (const gantrel::INI::Section& section : ini.Sections()) {
        if (!section.contains(gantrel::INI::kNameKey)) {
            return "a section without a name";
        }
        for (const auto& [key, value] : section) {
            if (key == gantrel::INI::kNameKey) {
                continue;
            }
            if (key.empty() || value.empty() || key.find_first_of(L"=;") != std::wstring::npos ||
                value.find_first_of(L"=;") != std::wstring::npos) {
                return "a key or value is empty or holds \"=\" or \";\"";
            }
        }
    }
    const std::vector<std::wstring> written = ini.Write();
    gantrel::INI again;
    again.Parse(written);
    if (again.Sections() != ini.Sections()) {
        return "the settings read back from their lines differ";
    }
    if (again.Write() != written) {
        return "the settings are written differently the second time";
    }
    return {};
}

inline std::string CheckAll(const std::string& bytes) {
    const std::vector<std::wstring> lines = Lines(bytes);
    for (const bool trim : {false, true}) {
        if (std::string failure = CheckHelpMap(lines, trim); !failure.empty()) {
            return failure;
        }
    }
    return CheckIni(lines);
}

} // namespace framefuzz
