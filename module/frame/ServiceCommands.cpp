#include "frame/ServiceCommands.h"

#include "frame/Printer.h"
#include "frame/Registry.h"

#include "winstandin.h"

#ifndef GANTREL_VERSION
#define GANTREL_VERSION "unversioned"
#endif

namespace gantrel {

namespace {

constexpr int kShowNormal = 1;

bool FileExists(const std::wstring& path) {
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return false;
    }
    FindClose(search);
    return true;
}

} // namespace

std::wstring VersionBanner() {
    const std::string version = GANTREL_VERSION;
    return L"Gantrel " + std::wstring(version.begin(), version.end()) +
           L": nesting (Plaxen), drawing tools (Gantrel) and takeoff support (Tallimo)";
}

void PrintVersionBanner() {
    PrintOnCommandLine(VersionBanner(), true);
}

void LaunchUpdater() {
    const std::wstring fileName = std::wstring(L"GantrelUpdater_") + L"2027" + L".exe";
    const std::wstring folder = GetOrvendelDirectory() + L"\\";
    const std::wstring path = folder + fileName;
    if (!FileExists(path)) {
        PrintOnCommandLine(path + L" missing !", false);
        return;
    }
    ShellExecuteW(nullptr, L"open", fileName.c_str(), nullptr, folder.c_str(), kShowNormal);
}

} // namespace gantrel
