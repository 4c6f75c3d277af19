// The registry calls over a tree read from a ".reg" file chosen by the host.
#include "reg_file.h"
#include "win_internal.h"
#include "winhost.h"
#include "winstandin.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <unistd.h>

namespace {

using win::detail::RegTree;

struct Registry {
    std::mutex mutex;
    RegTree tree;
};

Registry& TheRegistry() {
    static auto* registry = new Registry; // outlives threads still running at exit
    return *registry;
}

// An open key remembers its path, not a node, so reloading the registry never leaves it dangling.
class RegKeyObject : public win::detail::KernelObject {
public:
    explicit RegKeyObject(std::wstring path) : path(std::move(path)) {}
    std::wstring path; // case-folded full path
};

std::wstring RootPath(HKEY key) {
    if (key == HKEY_LOCAL_MACHINE) {
        return L"hkey_local_machine";
    }
    if (key == HKEY_CLASSES_ROOT) {
        return L"hkey_classes_root";
    }
    if (key == HKEY_CURRENT_USER) {
        return L"hkey_current_user";
    }
    if (key == HKEY_USERS) {
        return L"hkey_users";
    }
    if (auto open = win::detail::FindHandleOf<RegKeyObject>(key)) {
        return open->path;
    }
    return {};
}

} // namespace

LSTATUS RegOpenKeyExW(HKEY root, LPCWSTR subKey, DWORD /*options*/, REGSAM /*access*/,
                      PHKEY result) {
    if (result == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    *result = nullptr;
    std::wstring path = RootPath(root);
    if (path.empty()) {
        return ERROR_INVALID_HANDLE;
    }
    std::wstring_view sub = subKey == nullptr ? L"" : subKey;
    while (!sub.empty() && sub.back() == L'\\') {
        sub.remove_suffix(1);
    }
    if (!sub.empty()) {
        path += L"\\" + win::detail::FoldCase(sub);
    }
    {
        auto& registry = TheRegistry();
        std::lock_guard lock(registry.mutex);
        const bool isRoot = path.find(L'\\') == std::wstring::npos;
        if (!isRoot && registry.tree.find(path) == registry.tree.end()) {
            return ERROR_FILE_NOT_FOUND;
        }
    }
    *result = static_cast<HKEY>(win::detail::AddHandle(std::make_shared<RegKeyObject>(path)));
    return ERROR_SUCCESS;
}

LSTATUS RegQueryValueExW(HKEY key, LPCWSTR valueName, LPDWORD /*reserved*/, LPDWORD type,
                         LPBYTE data, LPDWORD dataBytes) {
    const std::wstring path = RootPath(key);
    if (path.empty()) {
        return ERROR_INVALID_HANDLE;
    }
    if (data != nullptr && dataBytes == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    auto& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    const auto found = registry.tree.find(path);
    if (found == registry.tree.end()) {
        return ERROR_FILE_NOT_FOUND;
    }
    const auto value =
        found->second.values.find(win::detail::FoldCase(valueName == nullptr ? L"" : valueName));
    if (value == found->second.values.end()) {
        return ERROR_FILE_NOT_FOUND;
    }
    if (type != nullptr) {
        *type = value->second.type;
    }
    const auto size = static_cast<DWORD>(value->second.data.size());
    if (dataBytes == nullptr) {
        return ERROR_SUCCESS;
    }
    if (data == nullptr) {
        *dataBytes = size;
        return ERROR_SUCCESS;
    }
    if (*dataBytes < size) {
        *dataBytes = size;
        return ERROR_MORE_DATA;
    }
    if (size != 0) {
        std::memcpy(data, value->second.data.data(), size);
    }
    *dataBytes = size;
    return ERROR_SUCCESS;
}

LSTATUS RegCloseKey(HKEY key) {
    if (win::detail::FindHandleOf<RegKeyObject>(key) == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    win::detail::RemoveHandle(key);
    return ERROR_SUCCESS;
}

DWORD ExpandEnvironmentStringsW(LPCWSTR source, LPWSTR destination, DWORD size) {
    if (source == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const std::wstring_view in(source);
    std::wstring out;
    for (std::size_t i = 0; i < in.size(); ++i) {
        const auto close = in[i] == L'%' ? in.find(L'%', i + 1) : std::wstring_view::npos;
        if (close != std::wstring_view::npos && close > i + 1) {
            const std::string name = win::Narrow(std::wstring(in.substr(i + 1, close - i - 1)));
            if (const char* value = std::getenv(name.c_str())) {
                out += win::Widen(value);
                i = close;
                continue;
            }
        }
        out.push_back(in[i]); // unknown variables stay as written, as on the platform
    }
    const auto needed = static_cast<DWORD>(out.size() + 1);
    if (destination != nullptr && size >= needed) {
        std::wmemcpy(destination, out.c_str(), needed);
    }
    return needed;
}

namespace win {

RegistryLoadResult LoadRegistryText(const std::string& text, const std::string& name) {
    auto parsed = detail::ParseRegFile(text, name);
    RegistryLoadResult result;
    result.ok = parsed.recognised && parsed.messages.empty();
    result.messages = std::move(parsed.messages);
    auto& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    registry.tree = std::move(parsed.tree);
    return result;
}

RegistryLoadResult LoadRegistryFile(const std::string& path) {
    errno = 0;
    std::error_code ignored;
    std::ifstream in;
    if (!std::filesystem::is_directory(path, ignored)) {
        in.open(path, std::ios::binary);
    }
    if (!in) {
        const int error = errno;
        ClearRegistry();
        RegistryLoadResult result;
        result.messages.push_back(path + ": cannot read the registry file: " +
                                  (error != 0 ? std::strerror(error) : "it is a folder"));
        return result;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return LoadRegistryText(bytes.str(), path);
}

void ClearRegistry() {
    auto& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    registry.tree.clear();
}

std::string ChooseRegistryFile(const std::string& option) {
    if (!option.empty()) {
        return option;
    }
    if (const char* env = std::getenv("GANTREL_REGISTRY"); env != nullptr && *env != '\0') {
        return env;
    }
    char exe[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", exe, sizeof exe - 1);
    std::string prefix = "/usr/local";
    if (length > 0) {
        std::string program(exe, static_cast<std::size_t>(length));
        const auto bin = program.rfind('/');
        const auto up =
            bin == std::string::npos || bin == 0 ? std::string::npos : program.rfind('/', bin - 1);
        prefix = up == std::string::npos ? std::string() : program.substr(0, up);
    }
    return prefix + "/share/gantrel/registry.reg";
}

} // namespace win
