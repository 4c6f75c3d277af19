#include "frame/Ini.h"

#include "frame/TextFile.h"

#include <cwctype>

namespace gantrel {

std::wstring INI::NameOf(const Section& section) {
    const auto found = section.find(kNameKey);
    return found != section.end() ? found->second : std::wstring();
}

bool INI::SameName(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i] &&
            std::towlower(static_cast<wint_t>(a[i])) != std::towlower(static_cast<wint_t>(b[i]))) {
            return false;
        }
    }
    return true;
}

INI INI::SelectSections(const std::wstring& name) const {
    INI selected;
    for (const Section& section : sections_) {
        if (SameName(NameOf(section), name)) {
            selected.sections_.push_back(section);
        }
    }
    return selected;
}

std::wstring INI::GetValue(const std::wstring& section, const std::wstring& key) const {
    for (const Section& candidate : sections_) {
        if (SameName(NameOf(candidate), section)) {
            const auto found = candidate.find(key);
            return found != candidate.end() ? found->second : std::wstring();
        }
    }
    return {};
}

void INI::SetValue(const std::wstring& section, const std::wstring& key,
                   const std::wstring& value) {
    // Setting the reserved key would rename the section.
    if (key == kNameKey) {
        return;
    }
    bool found = false;
    for (Section& candidate : sections_) {
        if (SameName(NameOf(candidate), section)) {
            candidate[key] = value;
            found = true;
        }
    }
    if (!found) {
        sections_.push_back(Section{{kNameKey, section}, {key, value}});
    }
}

void INI::Parse(const std::vector<std::wstring>& lines) {
    Section current;
    bool open = false;
    for (const std::wstring& whole : lines) {
        const std::wstring line = whole.substr(0, whole.find(L';'));
        const std::size_t bracket = line.find(L'[');
        const std::size_t close =
            bracket == std::wstring::npos ? std::wstring::npos : line.find(L']', bracket + 1);
        if (close != std::wstring::npos) {
            if (open) {
                sections_.push_back(std::move(current));
            }
            current = Section{{kNameKey, line.substr(bracket + 1, close - bracket - 1)}};
            open = true;
            continue;
        }
        if (!open) {
            continue;
        }
        const std::size_t equals = line.find(L'=');
        if (equals == std::wstring::npos || equals == 0) {
            continue;
        }
        std::vector<std::wstring> fields = SplitFields(line, L'=', true);
        // A key named as the reserved name key would rename the section; it is not taken.
        if (fields.size() >= 2 && fields[0] != kNameKey) {
            current[fields[0]] = std::move(fields[1]);
        }
    }
    if (open) {
        sections_.push_back(std::move(current));
    }
}

std::vector<std::wstring> INI::Write() const {
    std::vector<std::wstring> lines;
    for (const Section& section : sections_) {
        lines.push_back(L"[" + NameOf(section) + L"]");
        for (const auto& [key, value] : section) {
            if (key != kNameKey) {
                lines.push_back(key + L"=" + value);
            }
        }
    }
    return lines;
}

bool ReadIniFile(const std::wstring& path, INI& ini) {
    std::vector<std::wstring> lines;
    if (!ReadTextLines(path, lines)) {
        return false;
    }
    ini.Parse(lines);
    return true;
}

} // namespace gantrel
