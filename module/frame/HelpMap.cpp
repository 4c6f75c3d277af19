#include "frame/HelpMap.h"

#include "frame/Printer.h"
#include "frame/Registry.h"
#include "frame/TextFile.h"

namespace gantrel {

void AddHelpLine(HelpMap& map, const std::wstring& line, bool trim) {
    const std::vector<std::wstring> fields = SplitFields(line, L'\t', trim);
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
