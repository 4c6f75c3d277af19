// The process's handle table and CloseHandle.
#include "win_internal.h"
#include "winstandin.h"

#include <mutex>
#include <unordered_map>

namespace win::detail {

namespace {
struct HandleTable {
    std::mutex mutex;
    std::unordered_map<ULONG_PTR, std::shared_ptr<KernelObject>> objects;
    ULONG_PTR next = 4;
};

HandleTable& Table() {
    // Never destroyed: threads that are never joined may still close handles at exit.
    static auto* table = new HandleTable;
    return *table;
}
} // namespace

DWORD KernelObject::Wait(DWORD /*milliseconds*/) {
    SetLastError(ERROR_INVALID_HANDLE);
    return WAIT_FAILED;
}

HANDLE AddHandle(std::shared_ptr<KernelObject> object) {
    auto& table = Table();
    std::lock_guard lock(table.mutex);
    const ULONG_PTR value = table.next;
    table.next += 4; // the platform's handles are multiples of four; never reused here
    table.objects.emplace(value, std::move(object));
    return reinterpret_cast<HANDLE>(value);
}

std::shared_ptr<KernelObject> FindHandle(HANDLE handle) {
    auto& table = Table();
    std::lock_guard lock(table.mutex);
    const auto found = table.objects.find(reinterpret_cast<ULONG_PTR>(handle));
    return found == table.objects.end() ? nullptr : found->second;
}

bool RemoveHandle(HANDLE handle) {
    std::shared_ptr<KernelObject> released; // destroyed outside the lock
    auto& table = Table();
    std::lock_guard lock(table.mutex);
    const auto found = table.objects.find(reinterpret_cast<ULONG_PTR>(handle));
    if (found == table.objects.end()) {
        return false;
    }
    released = std::move(found->second);
    table.objects.erase(found);
    return true;
}

} // namespace win::detail

BOOL CloseHandle(HANDLE handle) {
    if (!win::detail::RemoveHandle(handle)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}
