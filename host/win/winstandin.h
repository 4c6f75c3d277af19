// The Windows calls the module makes, under their platform names and signatures.
//
// Only the wide ("W") forms exist, as in a Unicode build; the plain names forward to them as
// inline functions rather than macros, so member functions with the same names (a window's
// MessageBox) are left alone. Every call that takes a path accepts "\" and "/" separators.
// The runtime's rand/srand live in crt_random.h (namespace win) so they never replace the
// C library's own generator for the rest of the process.
#pragma once

#include "crt_random.h"
#include "win_types.h"

#include <cstdint>
#include <cstdio>

// --- Last error ---------------------------------------------------------------------------------
DWORD GetLastError();
void SetLastError(DWORD code);

// --- Registry -----------------------------------------------------------------------------------
LSTATUS RegOpenKeyExW(HKEY root, LPCWSTR subKey, DWORD options, REGSAM access, PHKEY result);
LSTATUS RegQueryValueExW(HKEY key, LPCWSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data,
                         LPDWORD dataBytes);
LSTATUS RegCloseKey(HKEY key);
DWORD ExpandEnvironmentStringsW(LPCWSTR source, LPWSTR destination, DWORD size);

inline LSTATUS RegOpenKeyEx(HKEY root, LPCWSTR subKey, DWORD options, REGSAM access, PHKEY result) {
    return RegOpenKeyExW(root, subKey, options, access, result);
}
inline LSTATUS RegQueryValueEx(HKEY key, LPCWSTR valueName, LPDWORD reserved, LPDWORD type,
                               LPBYTE data, LPDWORD dataBytes) {
    return RegQueryValueExW(key, valueName, reserved, type, data, dataBytes);
}
inline DWORD ExpandEnvironmentStrings(LPCWSTR source, LPWSTR destination, DWORD size) {
    return ExpandEnvironmentStringsW(source, destination, size);
}

// --- Files --------------------------------------------------------------------------------------
struct WIN32_FIND_DATAW {
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    DWORD dwReserved0;
    DWORD dwReserved1;
    WCHAR cFileName[MAX_PATH];
    WCHAR cAlternateFileName[14];
};
using LPWIN32_FIND_DATAW = WIN32_FIND_DATAW*;
using WIN32_FIND_DATA = WIN32_FIND_DATAW;

HANDLE CreateFileW(LPCWSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                   DWORD disposition, DWORD flags, HANDLE templateFile);
BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD toRead, LPDWORD read, void* overlapped);
BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD toWrite, LPDWORD written, void* overlapped);
DWORD GetFileAttributesW(LPCWSTR path);
BOOL DeleteFileW(LPCWSTR path);
// Renames a file; with MOVEFILE_REPLACE_EXISTING an existing target is replaced in one step.
inline constexpr DWORD MOVEFILE_REPLACE_EXISTING = 0x1;
BOOL MoveFileExW(LPCWSTR existing, LPCWSTR target, DWORD flags);
HANDLE FindFirstFileW(LPCWSTR pattern, LPWIN32_FIND_DATAW data);
BOOL FindNextFileW(HANDLE find, LPWIN32_FIND_DATAW data);
BOOL FindClose(HANDLE find);
// The runtime's file open: "r", "w", "a" with "+", "b" (binary) or "t" (text, the default).
// Text mode stores "\n" as "\r\n" and reads "\r\n" back as "\n", as the runtime does.
std::FILE* _wfopen(const wchar_t* path, const wchar_t* mode);
int _waccess(const wchar_t* path, int mode);

inline HANDLE CreateFile(LPCWSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                         DWORD disposition, DWORD flags, HANDLE templateFile) {
    return CreateFileW(path, access, share, security, disposition, flags, templateFile);
}
inline BOOL MoveFileEx(LPCWSTR existing, LPCWSTR target, DWORD flags) {
    return MoveFileExW(existing, target, flags);
}
inline DWORD GetFileAttributes(LPCWSTR path) {
    return GetFileAttributesW(path);
}
inline BOOL DeleteFile(LPCWSTR path) {
    return DeleteFileW(path);
}
inline HANDLE FindFirstFile(LPCWSTR pattern, LPWIN32_FIND_DATAW data) {
    return FindFirstFileW(pattern, data);
}
inline BOOL FindNextFile(HANDLE find, LPWIN32_FIND_DATAW data) {
    return FindNextFileW(find, data);
}

// --- Handles, events, threads, time -------------------------------------------------------------
BOOL CloseHandle(HANDLE handle);
HANDLE CreateEventW(LPSECURITY_ATTRIBUTES security, BOOL manualReset, BOOL initialState,
                    LPCWSTR name);
HANDLE OpenEventW(DWORD access, BOOL inheritHandle, LPCWSTR name);
BOOL SetEvent(HANDLE event);
BOOL ResetEvent(HANDLE event);
DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds);
HANDLE CreateThread(LPSECURITY_ATTRIBUTES security, SIZE_T stackSize, LPTHREAD_START_ROUTINE start,
                    LPVOID parameter, DWORD flags, LPDWORD threadId);
DWORD ResumeThread(HANDLE thread);
BOOL GetExitCodeThread(HANDLE thread, LPDWORD exitCode);
DWORD GetCurrentThreadId();
void Sleep(DWORD milliseconds);
DWORD GetTickCount();
ULONGLONG GetTickCount64();
// The runtime's clock: seconds since 1970-01-01 UTC, 64 bits wide.
std::int64_t _time64(std::int64_t* result);

inline HANDLE CreateEvent(LPSECURITY_ATTRIBUTES security, BOOL manualReset, BOOL initialState,
                          LPCWSTR name) {
    return CreateEventW(security, manualReset, initialState, name);
}
inline HANDLE OpenEvent(DWORD access, BOOL inheritHandle, LPCWSTR name) {
    return OpenEventW(access, inheritHandle, name);
}

// --- Modules ------------------------------------------------------------------------------------
HMODULE LoadLibraryW(LPCWSTR fileName);
BOOL FreeLibrary(HMODULE module);
FARPROC GetProcAddress(HMODULE module, LPCSTR procName);
HMODULE GetModuleHandleW(LPCWSTR moduleName);
DWORD GetModuleFileNameW(HMODULE module, LPWSTR fileName, DWORD size);

inline HMODULE LoadLibrary(LPCWSTR fileName) {
    return LoadLibraryW(fileName);
}
inline HMODULE GetModuleHandle(LPCWSTR moduleName) {
    return GetModuleHandleW(moduleName);
}
inline DWORD GetModuleFileName(HMODULE module, LPWSTR fileName, DWORD size) {
    return GetModuleFileNameW(module, fileName, size);
}

// --- User interaction: message boxes, shell start, HTML Help, file dialogs ----------------------
int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
HINSTANCE ShellExecuteW(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters,
                        LPCWSTR directory, INT showCommand);
HWND HtmlHelpW(HWND caller, LPCWSTR file, UINT command, DWORD_PTR data);

using LPOFNHOOKPROC = UINT_PTR (*)(HWND, UINT, WPARAM, LPARAM);
struct OPENFILENAMEW {
    DWORD lStructSize;
    HWND hwndOwner;
    HINSTANCE hInstance;
    LPCWSTR lpstrFilter; // pairs of description and pattern, each ends in L'\0', then one more
    LPWSTR lpstrCustomFilter;
    DWORD nMaxCustFilter;
    DWORD nFilterIndex; // 1-based; 0 picks the first pair
    LPWSTR lpstrFile;   // in: initial name; out: the chosen path
    DWORD nMaxFile;     // characters in lpstrFile, terminator included
    LPWSTR lpstrFileTitle;
    DWORD nMaxFileTitle;
    LPCWSTR lpstrInitialDir;
    LPCWSTR lpstrTitle;
    DWORD Flags;
    WORD nFileOffset;
    WORD nFileExtension;
    LPCWSTR lpstrDefExt;
    LPARAM lCustData;
    LPOFNHOOKPROC lpfnHook;
    LPCWSTR lpTemplateName;
    void* pvReserved;
    DWORD dwReserved;
    DWORD FlagsEx;
};
using LPOPENFILENAMEW = OPENFILENAMEW*;
BOOL GetOpenFileNameW(LPOPENFILENAMEW ofn);
BOOL GetSaveFileNameW(LPOPENFILENAMEW ofn);
DWORD CommDlgExtendedError();

inline int MessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    return MessageBoxW(owner, text, caption, type);
}
inline HINSTANCE ShellExecute(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters,
                              LPCWSTR directory, INT showCommand) {
    return ShellExecuteW(owner, verb, file, parameters, directory, showCommand);
}
inline HWND HtmlHelp(HWND caller, LPCWSTR file, UINT command, DWORD_PTR data) {
    return HtmlHelpW(caller, file, command, data);
}
inline BOOL GetOpenFileName(LPOPENFILENAMEW ofn) {
    return GetOpenFileNameW(ofn);
}
inline BOOL GetSaveFileName(LPOPENFILENAMEW ofn) {
    return GetSaveFileNameW(ofn);
}
