#include "frame/HelpForDialog.h"

#include "frame/Registry.h"

#include "winstandin.h"

#include <vector>

namespace gantrel {

namespace {

using HtmlHelpFunction = HWND (*)(HWND, LPCWSTR, UINT, DWORD_PTR);

// The in-process server registered for the HTML Help control's class, environment variables
// expanded; empty when it is not registered.
std::wstring RegisteredHelpControl() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT,
                      L"CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32", 0, KEY_READ,
                      &key) != ERROR_SUCCESS) {
        return {};
    }
    std::vector<wchar_t> value(261, L'\0');
    DWORD type = 0;
    DWORD size = static_cast<DWORD>((value.size() - 1) * sizeof(wchar_t));
    const LSTATUS status = RegQueryValueExW(key, nullptr, nullptr, &type,
                                            reinterpret_cast<LPBYTE>(value.data()), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) {
        return {};
    }
    std::wstring path(value.data());
    if (type == REG_EXPAND_SZ) {
        std::vector<wchar_t> expanded(261, L'\0');
        const DWORD length = ExpandEnvironmentStringsW(path.c_str(), expanded.data(), 260);
        if (length == 0 || length > 260) {
            return {};
        }
        path = expanded.data();
    }
    return path;
}

HtmlHelpFunction FindHtmlHelp() {
    HMODULE control = nullptr;
    const std::wstring registered = RegisteredHelpControl();
    if (!registered.empty()) {
        control = LoadLibraryW(registered.c_str());
    }
    if (control == nullptr) {
        control = LoadLibraryW(L"hhctrl.ocx");
    }
    if (control == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<HtmlHelpFunction>(
        reinterpret_cast<void*>(GetProcAddress(control, MAKEINTRESOURCEA(15))));
}

} // namespace

void ShowHtmlHelpTopic(const std::wstring& file, const std::wstring& topic) {
    static const HtmlHelpFunction htmlHelp = FindHtmlHelp();
    if (htmlHelp != nullptr) {
        htmlHelp(nullptr, file.c_str(), HH_DISPLAY_TOPIC,
                 reinterpret_cast<DWORD_PTR>(topic.c_str()));
    }
}

void HelpForDialog::ShowHelp() {
    ShowHtmlHelpTopic(GetHelpFile(), GetHelpTopicArgument());
}

std::wstring PlaxenHelpForDialog::GetHelpFile() {
    return GetOrvendelDirectory() + L"\\" + L"Orvendel" + L".chm";
}

} // namespace gantrel
