#include "frame/HelpMap.h"

#include "frame/Printer.h"
#include "frame/Registry.h"
#include "frame/TextFile.h"

namespace gantrel {

namespace {

std::wstring Trimmed(const std::wstring& text) {
    const wchar_t* blanks = L"\t\n ";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::wstring::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

} // namespace

void AddHelpLine(HelpMap& map, const std::wstring& line, bool trim) {
    std::vector<std::wstring> fields;
    std::size_t start = 0;
    while (start <= line.size()) {
        std::size_t tab = line.find(L'\t', start);
        if (tab == std::wstring::npos) {
            tab = line.size();
        }
        std::wstring field = line.substr(start, tab - start);
        if (trim) {
            field = Trimmed(field);
        }
        if (!field.empty()) {
            fields.push_back(std::move(field));
            if (fields.size() > 2) {
                return;
            }
        }
        start = tab + 1;
    }
    if (fields.size() == 2) {
        map[fields[0]] = fields[1];
    }
}

HelpMap ParseHelpMap(const std::vector<std::wstring>& lines, bool trim) {
    HelpMap map;
    for (const std::wstring& line : lines) {
        AddHelpLine(map, line, trim);
    }
    return map;
}

HelpMap ReadHelpMap(bool trim) {
    std::vector<std::wstring> lines;
    if (!ReadTextLines(GetOrvendelDirectory() + L"\\help.cfg", lines)) {
        return {};
    }
    return ParseHelpMap(lines, trim);
}

HelpMap& ToolsHelpMap() {
    static HelpMap map;
    return map;
}

void RefreshToolsHelpMap() {
    ToolsHelpMap() = ReadHelpMap(false);
}

HelpMap& DialogHelpMap() {
    static HelpMap map = ReadHelpMap(true);
    return map;
}

std::wstring LookUpHelpTopic(const HelpMap& map, const std::wstring& name) {
    const auto found = map.find(name);
    if (found != map.end()) {
        return found->second;
    }
    PrintOnCommandLine(name + L": ", false);
    PrintErrorStatus(22);
    return {};
}

} // namespace gantrel
