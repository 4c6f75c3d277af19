// Shared helpers of the Windows stand-ins; not part of what the module or the host sees.
#pragma once

#include "win_types.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace win::detail {

// Case-insensitive comparison for ASCII letters, as registry keys and module names compare.
std::wstring FoldCase(std::wstring_view text);
bool EqualNoCase(std::wstring_view a, std::wstring_view b);

// The file name part of a path with either separator.
std::wstring FileNamePart(std::wstring_view path);

// A kernel object behind a HANDLE: files, find searches, events and threads.
class KernelObject {
public:
    virtual ~KernelObject() = default;
    // Waits for the object to become signalled; WAIT_OBJECT_0, WAIT_TIMEOUT or WAIT_FAILED.
    virtual DWORD Wait(DWORD milliseconds);
};

// The process's handle table. Handles are small numbers, never reused pointers, so a closed or
// invented handle is refused instead of being followed.
HANDLE AddHandle(std::shared_ptr<KernelObject> object);
std::shared_ptr<KernelObject> FindHandle(HANDLE handle);
template <class T> std::shared_ptr<T> FindHandleOf(HANDLE handle) {
    return std::dynamic_pointer_cast<T>(FindHandle(handle));
}
bool RemoveHandle(HANDLE handle);

// The platform error code for a C library errno value.
DWORD ErrorFromErrno(int error);

} // namespace win::detail

namespace win {
struct MessageBoxRequest;
struct FileDialogRequest;
struct HelpRequest;
} // namespace win

namespace win::detail {

// Calls into the current answerer, one at a time.
int AskMessageBox(const MessageBoxRequest& request);
std::optional<std::wstring> AskFileDialog(const FileDialogRequest& request);
void TellHelp(const HelpRequest& request);

} // namespace win::detail
