#include "winstandin.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace {
// Generous: only a hung wait should ever reach it.
constexpr DWORD kLongWait = 10000;

struct StopDialogState {
    std::atomic<bool> stopFlag{false};
    std::atomic<int> polls{0};
};

// What a stop-dialog thread does: open the event by name and poll it without waiting.
DWORD PollUntilSignalled(LPVOID parameter) {
    auto* state = static_cast<StopDialogState*>(parameter);
    HANDLE event = OpenEventW(SYNCHRONIZE, FALSE, L"CONABORTEDEVENT");
    if (event == nullptr) {
        return 1;
    }
    while (WaitForSingleObject(event, 0) == WAIT_TIMEOUT) {
        ++state->polls;
        Sleep(1);
    }
    CloseHandle(event);
    return 7;
}
} // namespace

TEST(Events, NamedManualResetEventReachesAnotherThread) {
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, L"CONABORTEDEVENT");
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);

    StopDialogState state;
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, PollUntilSignalled, &state, CREATE_SUSPENDED, &id);
    ASSERT_NE(thread, nullptr);
    EXPECT_NE(id, 0u);
    EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_TIMEOUT); // suspended: not yet run
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeThread(thread, &code));
    EXPECT_EQ(code, STILL_ACTIVE);
    EXPECT_EQ(ResumeThread(thread), 1u);

    EXPECT_TRUE(SetEvent(event));
    ASSERT_EQ(WaitForSingleObject(thread, kLongWait), WAIT_OBJECT_0);
    EXPECT_TRUE(GetExitCodeThread(thread, &code));
    EXPECT_EQ(code, 7u);
    // A manual-reset event stays signalled for every waiter until it is reset.
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    EXPECT_TRUE(ResetEvent(event));
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
    EXPECT_TRUE(CloseHandle(thread));
    EXPECT_TRUE(CloseHandle(event));
    // With its last handle closed the name is gone.
    EXPECT_EQ(OpenEventW(SYNCHRONIZE, FALSE, L"CONABORTEDEVENT"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(Events, CreatingAnExistingNameOpensItAndAutoResetReleasesOneWait) {
    HANDLE first = CreateEventW(nullptr, FALSE, FALSE, L"shared");
    HANDLE second = CreateEventW(nullptr, TRUE, TRUE, L"shared");
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    // The second create kept the first's kind and state: auto-reset, not signalled.
    EXPECT_EQ(WaitForSingleObject(second, 0), WAIT_TIMEOUT);
    std::thread signaller([&] { SetEvent(first); });
    EXPECT_EQ(WaitForSingleObject(second, kLongWait), WAIT_OBJECT_0);
    signaller.join();
    EXPECT_EQ(WaitForSingleObject(first, 0), WAIT_TIMEOUT); // consumed by the one wait
    CloseHandle(first);
    CloseHandle(second);
    EXPECT_EQ(WaitForSingleObject(first, 0), WAIT_FAILED);
    EXPECT_FALSE(SetEvent(first));
}

TEST(Clocks, TickCountAndTimeAdvance) {
    const DWORD before = GetTickCount();
    Sleep(20);
    EXPECT_GE(static_cast<DWORD>(GetTickCount() - before), 20u);
    std::int64_t stored = 0;
    const std::int64_t now = _time64(&stored);
    EXPECT_EQ(now, stored);
    EXPECT_GT(now, 1700000000); // after 2023
}
