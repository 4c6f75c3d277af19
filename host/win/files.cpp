// File calls: every path goes through NativePath, so "\" and "/" separators work alike.
#include "win_internal.h"
#include "winhost.h"
#include "winstandin.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using win::NativePath;
using win::detail::ErrorFromErrno;

class FileObject : public win::detail::KernelObject {
public:
    explicit FileObject(int fd) : fd(fd) {}
    ~FileObject() override { ::close(fd); }
    FileObject(const FileObject&) = delete;
    FileObject& operator=(const FileObject&) = delete;
    int fd;
};

class FindObject : public win::detail::KernelObject {
public:
    std::vector<WIN32_FIND_DATAW> remaining; // in the order they are handed out, reversed
};

bool HasWildcard(std::wstring_view name) {
    return name.find_first_of(L"*?") != std::wstring_view::npos;
}

FILETIME ToFileTime(const timespec& time) {
    // 100-nanosecond intervals since 1601-01-01.
    constexpr std::uint64_t kEpochDifference = 116444736000000000ULL;
    const std::uint64_t ticks = kEpochDifference +
                                static_cast<std::uint64_t>(time.tv_sec) * 10000000ULL +
                                static_cast<std::uint64_t>(time.tv_nsec) / 100;
    return FILETIME{static_cast<DWORD>(ticks & 0xFFFFFFFFu), static_cast<DWORD>(ticks >> 32)};
}

DWORD AttributesOf(const std::string& path, const struct stat& info) {
    DWORD attributes = S_ISDIR(info.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : 0;
    if (::access(path.c_str(), W_OK) != 0) {
        attributes |= FILE_ATTRIBUTE_READONLY;
    }
    return attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
}

WIN32_FIND_DATAW FindDataOf(const std::string& path, const std::wstring& name,
                            const struct stat& info) {
    WIN32_FIND_DATAW data{};
    data.dwFileAttributes = AttributesOf(path, info);
    data.ftCreationTime = ToFileTime(info.st_ctim);
    data.ftLastAccessTime = ToFileTime(info.st_atim);
    data.ftLastWriteTime = ToFileTime(info.st_mtim);
    const auto size = static_cast<std::uint64_t>(info.st_size);
    data.nFileSizeHigh = static_cast<DWORD>(size >> 32);
    data.nFileSizeLow = static_cast<DWORD>(size & 0xFFFFFFFFu);
    const std::size_t length = std::min<std::size_t>(name.size(), MAX_PATH - 1);
    std::wmemcpy(data.cFileName, name.c_str(), length);
    data.cFileName[length] = L'\0';
    return data;
}

} // namespace

HANDLE CreateFileW(LPCWSTR path, DWORD access, DWORD /*share*/, LPSECURITY_ATTRIBUTES /*security*/,
                   DWORD disposition, DWORD /*flags*/, HANDLE /*templateFile*/) {
    if (path == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    const bool read = (access & GENERIC_READ) != 0;
    const bool write = (access & GENERIC_WRITE) != 0;
    int flags = O_CLOEXEC | (read && write ? O_RDWR : write ? O_WRONLY : O_RDONLY);
    switch (disposition) {
    case CREATE_NEW:
        flags |= O_CREAT | O_EXCL;
        break;
    case CREATE_ALWAYS:
        flags |= O_CREAT | O_TRUNC;
        break;
    case OPEN_EXISTING:
        break;
    case OPEN_ALWAYS:
        flags |= O_CREAT;
        break;
    case TRUNCATE_EXISTING:
        flags |= O_TRUNC;
        break;
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    const std::string native = NativePath(path);
    const bool existed = ::access(native.c_str(), F_OK) == 0;
    const int fd = ::open(native.c_str(), flags, 0666);
    if (fd < 0) {
        SetLastError(ErrorFromErrno(errno));
        return INVALID_HANDLE_VALUE;
    }
    const bool reportsExisting = disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS;
    SetLastError(reportsExisting && existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return win::detail::AddHandle(std::make_shared<FileObject>(fd));
}

BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD toRead, LPDWORD read, void* /*overlapped*/) {
    const auto object = win::detail::FindHandleOf<FileObject>(file);
    if (object == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    ssize_t got = 0;
    do {
        got = ::read(object->fd, buffer, toRead);
    } while (got < 0 && errno == EINTR);
    if (got < 0) {
        SetLastError(ErrorFromErrno(errno));
        return FALSE;
    }
    if (read != nullptr) {
        *read = static_cast<DWORD>(got);
    }
    return TRUE;
}

BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD toWrite, LPDWORD written, void* /*overlapped*/) {
    const auto object = win::detail::FindHandleOf<FileObject>(file);
    if (object == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    const auto* bytes = static_cast<const char*>(buffer);
    DWORD done = 0;
    while (done < toWrite) {
        const ssize_t put = ::write(object->fd, bytes + done, toWrite - done);
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put < 0) {
            SetLastError(ErrorFromErrno(errno));
            if (written != nullptr) {
                *written = done;
            }
            return FALSE;
        }
        done += static_cast<DWORD>(put);
    }
    if (written != nullptr) {
        *written = done;
    }
    return TRUE;
}

DWORD GetFileAttributesW(LPCWSTR path) {
    if (path == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_FILE_ATTRIBUTES;
    }
    const std::string native = NativePath(path);
    struct stat info {};
    if (::stat(native.c_str(), &info) != 0) {
        SetLastError(ErrorFromErrno(errno));
        return INVALID_FILE_ATTRIBUTES;
    }
    return AttributesOf(native, info);
}

BOOL DeleteFileW(LPCWSTR path) {
    if (path == nullptr || ::unlink(NativePath(path).c_str()) != 0) {
        SetLastError(path == nullptr ? ERROR_INVALID_PARAMETER : ErrorFromErrno(errno));
        return FALSE;
    }
    return TRUE;
}

BOOL MoveFileExW(LPCWSTR existing, LPCWSTR target, DWORD flags) {
    if (existing == nullptr || target == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::string from = NativePath(existing);
    const std::string to = NativePath(target);
    if ((flags & MOVEFILE_REPLACE_EXISTING) == 0 && ::access(to.c_str(), F_OK) == 0) {
        SetLastError(ERROR_ALREADY_EXISTS);
        return FALSE;
    }
    if (::rename(from.c_str(), to.c_str()) != 0) {
        SetLastError(ErrorFromErrno(errno));
        return FALSE;
    }
    return TRUE;
}

HANDLE FindFirstFileW(LPCWSTR pattern, LPWIN32_FIND_DATAW data) {
    if (pattern == nullptr || data == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    const std::wstring wide(pattern);
    const std::wstring name = win::detail::FileNamePart(wide);
    const std::wstring folder = wide.substr(0, wide.size() - name.size());
    const std::string nativeFolder = folder.empty() ? std::string("./") : NativePath(folder);
    auto object = std::make_shared<FindObject>();
    if (name.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    if (!HasWildcard(name)) {
        struct stat info {};
        const std::string native = NativePath(wide);
        if (::stat(native.c_str(), &info) != 0) {
            SetLastError(ErrorFromErrno(errno));
            return INVALID_HANDLE_VALUE;
        }
        object->remaining.push_back(FindDataOf(native, name, info));
    } else {
        DIR* dir = ::opendir(nativeFolder.c_str());
        if (dir == nullptr) {
            SetLastError(errno == ENOENT ? ERROR_PATH_NOT_FOUND : ErrorFromErrno(errno));
            return INVALID_HANDLE_VALUE;
        }
        const std::string nativePattern = win::Narrow(name);
        std::vector<WIN32_FIND_DATAW> found;
        while (const dirent* entry = ::readdir(dir)) {
            const std::string entryName = entry->d_name;
            if (entryName == "." || entryName == ".." ||
                ::fnmatch(nativePattern.c_str(), entryName.c_str(), FNM_CASEFOLD) != 0) {
                continue;
            }
            struct stat info {};
            const std::string full = nativeFolder + "/" + entryName;
            if (::stat(full.c_str(), &info) == 0) {
                found.push_back(FindDataOf(full, win::Widen(entryName), info));
            }
        }
        ::closedir(dir);
        object->remaining.assign(found.rbegin(), found.rend());
    }
    if (object->remaining.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    *data = object->remaining.back();
    object->remaining.pop_back();
    return win::detail::AddHandle(object);
}

BOOL FindNextFileW(HANDLE find, LPWIN32_FIND_DATAW data) {
    const auto object = win::detail::FindHandleOf<FindObject>(find);
    if (object == nullptr || data == nullptr) {
        SetLastError(object == nullptr ? ERROR_INVALID_HANDLE : ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (object->remaining.empty()) {
        SetLastError(ERROR_NO_MORE_FILES);
        return FALSE;
    }
    *data = object->remaining.back();
    object->remaining.pop_back();
    return TRUE;
}

BOOL FindClose(HANDLE find) {
    if (win::detail::FindHandleOf<FindObject>(find) == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    win::detail::RemoveHandle(find);
    return TRUE;
}

int _waccess(const wchar_t* path, int mode) {
    if (path == nullptr) {
        errno = EINVAL;
        return -1;
    }
    // The runtime's modes: 0 exists, 2 write, 4 read, 6 both.
    const int native =
        mode == 0 ? F_OK : ((mode & 2) != 0 ? W_OK : 0) | ((mode & 4) != 0 ? R_OK : 0);
    return ::access(NativePath(path).c_str(), native);
}
