#include "frame/Registry.h"

#include "frame/Printer.h"

#include <algorithm>
#include <vector>

namespace gantrel {

RegistryKey::RegistryKey(HKEY root, bool showErrors) : root_(root), showErrors_(showErrors) {}

RegistryKey::~RegistryKey() {
    if (key_ != nullptr) {
        RegCloseKey(key_);
    }
}

bool RegistryKey::Open(const std::wstring& subKey) {
    if (key_ != nullptr) {
        if (showErrors_) {
            MessageBoxW(nullptr, L"Przed otwarciem nowego klucza, zamknij klucz otwarty wczesniej",
                        L"Błąd otwarcia klucza", MB_ICONERROR);
        }
        return false;
    }
    HKEY opened = nullptr;
    const LSTATUS status = RegOpenKeyExW(root_, subKey.c_str(), 0, access_, &opened);
    if (status != ERROR_SUCCESS) {
        Report(status);
        return false;
    }
    key_ = opened;
    return true;
}

std::wstring RegistryKey::ReadString(const std::wstring& valueName) {
    if (key_ == nullptr) {
        return {};
    }
    // The usual buffer is 1024 bytes; a longer value is read again into a buffer of its size.
    std::vector<BYTE> buffer(1024);
    DWORD size = static_cast<DWORD>(buffer.size());
    LSTATUS status =
        RegQueryValueExW(key_, valueName.c_str(), nullptr, nullptr, buffer.data(), &size);
    if (status == ERROR_MORE_DATA) {
        buffer.assign(size, 0);
        status = RegQueryValueExW(key_, valueName.c_str(), nullptr, nullptr, buffer.data(), &size);
    }
    if (status != ERROR_SUCCESS) {
        Report(status);
        return {};
    }
    std::wstring value(size / sizeof(wchar_t), L'\0');
    std::copy_n(buffer.data(), value.size() * sizeof(wchar_t),
                reinterpret_cast<BYTE*>(value.data()));
    // The stored terminator (if any) is not part of the text.
    const std::size_t end = value.find(L'\0');
    if (end != std::wstring::npos) {
        value.erase(end);
    }
    return value;
}

bool RegistryKey::Close() {
    if (key_ == nullptr) {
        return true;
    }
    const LSTATUS status = RegCloseKey(key_);
    if (status != ERROR_SUCCESS) {
        Report(status);
        return false;
    }
    key_ = nullptr;
    return true;
}

void RegistryKey::Report(LSTATUS error) const {
    if (!showErrors_) {
        return;
    }
    const std::wstring text = L"System error " + std::to_wstring(error) + L".";
    MessageBoxW(nullptr, text.c_str(), ErrorCaption(), MB_ICONERROR);
}

std::wstring ReadRegistryString(HKEY root, const std::wstring& subKey,
                                const std::wstring& valueName) {
    RegistryKey key(root);
    if (!key.Open(subKey)) {
        return {};
    }
    std::wstring value = key.ReadString(valueName);
    key.Close();
    return value;
}

std::wstring ProductKey(const std::wstring& product, const std::wstring& version) {
    return L"SOFTWARE\\KORVANT\\" + product + L"\\" + version;
}

std::wstring GetOrvendelDirectory() {
    std::wstring folder =
        ReadRegistryString(HKEY_LOCAL_MACHINE, ProductKey(L"Orvendel", L"2027"), L"Path");
    if (folder.empty()) {
        PrintOnCommandLine(L"Tools_App", false);
        PrintErrorStatus(73);
    }
    return folder;
}

} // namespace gantrel
