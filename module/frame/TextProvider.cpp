#include "frame/TextProvider.h"

#include "frame/LanguagePackApi.h"

#include "winstandin.h"

#include <vector>

namespace gantrel {

namespace {

// One loaded language pack: the library and its "SetUp".
struct LanguagePack {
    HMODULE library = nullptr;
    LanguagePackSetUp setUp = nullptr;

    void Load() {
        if (setUp != nullptr) {
            return;
        }
        const std::wstring path = PackPath();
        if (path.empty()) {
            return;
        }
        if (library == nullptr) {
            library = LoadLibraryW(path.c_str());
        }
        if (library != nullptr) {
            setUp = reinterpret_cast<LanguagePackSetUp>(
                reinterpret_cast<void*>(GetProcAddress(library, kLanguagePackFunction)));
        }
    }

    void Free() {
        if (library != nullptr) {
            FreeLibrary(library);
        }
        library = nullptr;
        setUp = nullptr;
    }

    std::wstring Text(unsigned id) const {
        if (setUp == nullptr) {
            return kMissingText;
        }
        std::wstring text;
        setUp(id, text);
        return text;
    }

    // The module's own path with its file name replaced by the pack's; empty when the module
    // is not loaded.
    static std::wstring PackPath() {
        HMODULE module = GetModuleHandleW(kModuleFile);
        if (module == nullptr) {
            return {};
        }
        std::vector<wchar_t> buffer(260);
        for (;;) {
            const DWORD length =
                GetModuleFileNameW(module, buffer.data(), static_cast<DWORD>(buffer.size()));
            if (length == 0) {
                return {};
            }
            if (length < buffer.size()) {
                std::wstring path(buffer.data(), length);
                const std::size_t slash = path.find_last_of(L"\\/");
                path.erase(slash == std::wstring::npos ? 0 : slash + 1);
                return path + kLanguagePackFile;
            }
            buffer.resize(buffer.size() * 2);
        }
    }
};

LanguagePack& ToolsPack() {
    static LanguagePack pack;
    return pack;
}

LanguagePack& NestingPack() {
    static LanguagePack pack;
    return pack;
}

} // namespace

std::wstring TTxt::GetText(unsigned id) {
    return ToolsPack().Text(id);
}

void LoadLanguagePack() {
    ToolsPack().Load();
}

void UnloadLanguagePack() {
    ToolsPack().Free();
}

std::wstring GetPackText(unsigned id) {
    NestingPack().Load();
    return NestingPack().Text(id);
}

} // namespace gantrel
