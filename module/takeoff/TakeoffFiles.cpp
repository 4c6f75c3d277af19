#include "takeoff/TakeoffFiles.h"

#include "frame/Ini.h"
#include "frame/Registry.h"
#include "frame/TextFile.h"
#include "winstandin.h"

namespace gantrel {

namespace {

bool IsFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

} // namespace

std::wstring TallimoIniPath() {
    return GetOrvendelDirectory() + L"\\" + L"Tallimo.ini";
}

std::wstring TallimoCfgPath() {
    return GetOrvendelDirectory() + L"\\" + L"Tallimo.cfg";
}

std::vector<std::wstring> CfgBlock(const std::vector<std::wstring>& lines,
                                   const std::wstring& name) {
    const std::wstring open = L"<" + name + L">";
    const std::wstring close = L"</" + name + L">";
    std::vector<std::wstring> block;
    bool inside = false;
    for (const std::wstring& line : lines) {
        if (!inside) {
            inside = INI::SameName(line, open);
            continue;
        }
        if (INI::SameName(line, close)) {
            break;
        }
        block.push_back(line);
    }
    return block;
}

std::vector<std::wstring> ReadCfgBlock(const std::wstring& name) {
    std::vector<std::wstring> lines;
    if (!ReadTextLines(TallimoCfgPath(), lines)) {
        return {};
    }
    return CfgBlock(lines, name);
}

std::wstring TemplateBlockName(const std::wstring& templatePath) {
    const std::size_t slash = templatePath.find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? templatePath : templatePath.substr(slash + 1);
    const std::size_t dot = name.find_last_of(L'.');
    if (dot != std::wstring::npos) {
        name.erase(dot);
    }
    return name;
}

std::wstring ResolveTemplateFile(const std::wstring& templatePath) {
    if (templatePath.empty()) {
        return {};
    }
    if (IsFile(templatePath)) {
        return templatePath;
    }
    constexpr std::size_t kExtension = 4;
    if (templatePath.size() > kExtension &&
        INI::SameName(templatePath.substr(templatePath.size() - kExtension), L".dwg")) {
        const std::wstring dxf = templatePath.substr(0, templatePath.size() - kExtension) + L".dxf";
        if (IsFile(dxf)) {
            return dxf;
        }
    }
    return {};
}

} // namespace gantrel
