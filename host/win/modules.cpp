// Module loading over the dynamic loader: a module handle is the loader's handle of the library.
// The HTML Help control ("hhctrl.ocx") is built in, because the help viewer here is a record
// rather than a program.
#include "win_internal.h"
#include "winhost.h"
#include "winstandin.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <link.h>
#include <map>
#include <mutex>
#include <unistd.h>

namespace {

struct BuiltInModule {
    const wchar_t* fileName;
};
BuiltInModule g_htmlHelpControl{L"hhctrl.ocx"};
constexpr WORD kHtmlHelpOrdinal = 15;

HMODULE BuiltInHandle() {
    return reinterpret_cast<HMODULE>(&g_htmlHelpControl);
}

struct Loaded {
    std::mutex mutex;
    std::map<void*, int> counts; // loader handles opened by LoadLibrary, with their counts
    int builtInCount = 0;
};

Loaded& LoadedModules() {
    static auto* loaded = new Loaded; // outlives threads still running at exit
    return *loaded;
}

void* MainProgram() {
    static void* const program = ::dlopen(nullptr, RTLD_NOW);
    return program;
}

std::string ProgramPath() {
    char buffer[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    return length > 0 ? std::string(buffer, static_cast<std::size_t>(length)) : std::string();
}

// True when `handle` is one of the loader's libraries: the loader's handles are its link maps.
link_map* LinkMapOf(void* handle) {
    link_map* first = nullptr;
    if (handle == nullptr || ::dlinfo(MainProgram(), RTLD_DI_LINKMAP, &first) != 0) {
        return nullptr;
    }
    for (link_map* map = first; map != nullptr; map = map->l_next) {
        if (map == handle) {
            return map;
        }
    }
    return nullptr;
}

std::string AbsolutePath(const std::string& path) {
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : path;
}

bool IsBuiltIn(std::wstring_view name) {
    return win::detail::EqualNoCase(win::detail::FileNamePart(name), g_htmlHelpControl.fileName);
}

FARPROC AsFarProc(void* symbol) {
    FARPROC function = nullptr;
    static_assert(sizeof function == sizeof symbol);
    std::memcpy(&function, &symbol, sizeof function);
    return function;
}

HWND HtmlHelpByOrdinal(HWND caller, LPCWSTR file, UINT command, DWORD_PTR data) {
    return HtmlHelpW(caller, file, command, data);
}

} // namespace

HMODULE LoadLibraryW(LPCWSTR fileName) {
    if (fileName == nullptr || *fileName == L'\0') {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto& loaded = LoadedModules();
    if (IsBuiltIn(fileName)) {
        std::lock_guard lock(loaded.mutex);
        ++loaded.builtInCount;
        return BuiltInHandle();
    }
    std::string path = win::NativePath(fileName);
    // A bare name is looked for in the current folder first, as the platform does.
    if (path.find('/') == std::string::npos && ::access(path.c_str(), F_OK) == 0) {
        path = "./" + path;
    }
    if (path.find('/') != std::string::npos) {
        path = AbsolutePath(path);
    }
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        SetLastError(::access(path.c_str(), F_OK) == 0 ? ERROR_BAD_FORMAT : ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    std::lock_guard lock(loaded.mutex);
    ++loaded.counts[handle];
    return static_cast<HMODULE>(handle);
}

BOOL FreeLibrary(HMODULE module) {
    auto& loaded = LoadedModules();
    std::unique_lock lock(loaded.mutex);
    if (module == BuiltInHandle() && loaded.builtInCount > 0) {
        --loaded.builtInCount;
        return TRUE;
    }
    const auto found = loaded.counts.find(module);
    if (found == loaded.counts.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (--found->second == 0) {
        loaded.counts.erase(found);
    }
    lock.unlock();
    return ::dlclose(module) == 0 ? TRUE : FALSE;
}

FARPROC GetProcAddress(HMODULE module, LPCSTR procName) {
    if (procName == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (module == BuiltInHandle()) {
        const bool byOrdinal = IS_INTRESOURCE(procName);
        if ((byOrdinal && reinterpret_cast<ULONG_PTR>(procName) == kHtmlHelpOrdinal) ||
            (!byOrdinal && std::strcmp(procName, "HtmlHelpW") == 0)) {
            return reinterpret_cast<FARPROC>(&HtmlHelpByOrdinal);
        }
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    void* handle = module == nullptr ? MainProgram() : static_cast<void*>(module);
    if (LinkMapOf(handle) == nullptr && handle != MainProgram()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    // Shared libraries here export names only; an ordinal finds nothing.
    void* symbol = IS_INTRESOURCE(procName) ? nullptr : ::dlsym(handle, procName);
    if (symbol == nullptr) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    return AsFarProc(symbol);
}

HMODULE GetModuleHandleW(LPCWSTR moduleName) {
    if (moduleName == nullptr) {
        return static_cast<HMODULE>(MainProgram());
    }
    std::wstring wanted(moduleName);
    if (IsBuiltIn(wanted)) {
        auto& loaded = LoadedModules();
        std::lock_guard lock(loaded.mutex);
        if (loaded.builtInCount > 0) {
            return BuiltInHandle();
        }
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    // A name without an extension means a ".dll", as on the platform.
    if (win::detail::FileNamePart(wanted).find(L'.') == std::wstring::npos) {
        wanted += L".dll";
    }
    const bool byPath = wanted.find_first_of(L"\\/") != std::wstring::npos;
    const std::string wantedPath = byPath ? AbsolutePath(win::NativePath(wanted)) : std::string();
    const std::wstring wantedName = win::detail::FileNamePart(wanted);

    link_map* first = nullptr;
    if (::dlinfo(MainProgram(), RTLD_DI_LINKMAP, &first) != 0) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    for (link_map* map = first; map != nullptr; map = map->l_next) {
        const bool isProgram = map->l_name == nullptr || *map->l_name == '\0';
        const std::string path = isProgram ? ProgramPath() : std::string(map->l_name);
        const bool matches =
            byPath
                ? AbsolutePath(path) == wantedPath
                : win::detail::EqualNoCase(win::detail::FileNamePart(win::Widen(path)), wantedName);
        if (matches) {
            return reinterpret_cast<HMODULE>(isProgram ? MainProgram() : static_cast<void*>(map));
        }
    }
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}

DWORD GetModuleFileNameW(HMODULE module, LPWSTR fileName, DWORD size) {
    std::wstring path;
    if (module == nullptr || module == MainProgram()) {
        path = win::Widen(ProgramPath());
    } else if (module == BuiltInHandle()) {
        path = g_htmlHelpControl.fileName;
    } else if (link_map* map = LinkMapOf(module)) {
        path = win::Widen(AbsolutePath(map->l_name));
    } else {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    if (fileName == nullptr || size == 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    if (path.size() >= size) {
        // Cut to fit with a terminator, as the platform does, and say so.
        std::wmemcpy(fileName, path.c_str(), size - 1);
        fileName[size - 1] = L'\0';
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return size;
    }
    std::wmemcpy(fileName, path.c_str(), path.size() + 1);
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(path.size());
}
