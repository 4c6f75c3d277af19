// Stopping a nesting run through its stop dialog, which runs on a user-interface thread of its
// own: the button sets the flag the run polls, and the dialog closes at its first timer tick
// after the run has signalled its end. The user is a queue of `dlg` lines the dialog reads on
// its thread. Waits are bounded generously, so only a hang or a missed signal fails.
#include "RunSupport.h"
#include "dialog_operator.h"
#include "nesting/nfp/NfpCache.h"
#include "nesting/run/ByDialogStopProvider.h"
#include "nesting/run/StopNesting.h"
#include "resources/NestingResources.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

namespace gantrel::testing {
namespace {

constexpr DWORD kLongWait = 20000;

// The stop dialog's user: answers from a queue and remembers what the dialog showed first.
class WatchingUser : public dialogs::ActionQueue {
public:
    WatchingUser() { dialogs::SetDefaultDialogOperator(this); }
    ~WatchingUser() override { dialogs::SetDefaultDialogOperator(nullptr); }

    dialogs::NextInput Next(const CDialog& dialog) override {
        if (m_asked++ == 0) {
            std::lock_guard lock(m_mutex);
            m_firstSight = dialogs::DescribeDialog(dialog);
        }
        return ActionQueue::Next(dialog);
    }
    bool WaitUntilAsked() const {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(kLongWait);
        while (m_asked == 0) {
            if (std::chrono::steady_clock::now() > end) {
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return true;
    }
    std::string FirstSight() const {
        std::lock_guard lock(m_mutex);
        return m_firstSight;
    }

private:
    std::atomic<int> m_asked{0};
    mutable std::mutex m_mutex;
    std::string m_firstSight;
};

bool WaitForFlag(const ByDialogStopProvider& provider) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(kLongWait);
    while (!provider.ShouldStop()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// Passes the dialog's flag on, and at the given poll after the run has started (the first one
// after the no-fit table of the first arrangement, the second one after its first placement)
// has the user press the stop button and waits until the dialog has set the flag.
class PressingAtPoll : public NestingStopProvider {
public:
    PressingAtPoll(ByDialogStopProvider& flag, WatchingUser& user, int pressAt)
        : m_flag(flag), m_user(user), m_pressAt(pressAt) {}

    bool ShouldStop() const override {
        if (m_armed && ++m_polls == m_pressAt) {
            m_user.PushLine("dlg click 1");
            m_flagSeen = WaitForFlag(m_flag);
        }
        return m_flag.ShouldStop();
    }
    void Arm() { m_armed = true; }
    bool FlagSeen() const { return m_flagSeen; }

private:
    ByDialogStopProvider& m_flag;
    WatchingUser& m_user;
    int m_pressAt;
    bool m_armed = false;
    mutable int m_polls = 0;
    mutable bool m_flagSeen = false;
};

// Arms the provider when the run has been prepared.
class Arming : public Observer {
public:
    explicit Arming(PressingAtPoll& provider) : m_provider(provider) {}
    int Update() override { return 0; }
    int Start() override {
        m_provider.Arm();
        return 0;
    }

private:
    PressingAtPoll& m_provider;
};

struct StoppedRun {
    std::vector<std::string> log;
    Result finalResult;
    int results = 0;
    Result firstResult;
};

StoppedRun RunAndPressAt(int pressAt) {
    WatchingUser user;
    ByDialogStopProvider flag;
    StoppedRun run;
    {
        NestingStopDialog dialog(L"Stop nesting", flag.Flag(), true);
        EXPECT_TRUE(dialog.Started());
        PressingAtPoll provider(flag, user, pressAt);
        Arming arming(provider);
        LoggingPartsObserver observer("O", run.log);
        RecordingNest nest(NestSettings{.spacing = 0.0});
        nest.SetSheet(Rectangle(L"sheet", 200, 100));
        nest.SetParts(
            Polygons{Rectangle(L"a", 30, 20), Rectangle(L"b", 40, 10), Rectangle(L"c", 10, 10)});
        nest.Attach(&arming);
        nest.Attach(&observer);
        nest.SetStopProvider(&provider);
        nest.Prepare();
        nest.Run();
        nest.Finish();
        dialog.Close();
        EXPECT_TRUE(provider.FlagSeen());
        // The button closed the dialog already.
        EXPECT_TRUE(dialog.WaitUntilClosed(kLongWait));
        run.finalResult = observer.LatestResult();
        run.results = nest.EvaluatedCount();
        if (run.results > 0 && !observer.results.empty()) {
            run.firstResult = observer.results.front();
        }
    }
    EXPECT_TRUE(user.Told().empty());
    NfpCache::Process().Clear();
    return run;
}

TEST(NestStop, PressedDuringTheFirstPlacementTheRunEndsWithThatArrangementAsBest) {
    const StoppedRun run = RunAndPressAt(2);
    ASSERT_EQ(run.results, 1);
    // The placer returned after the placement under way; the part placed is still rated and
    // reported, during the run and again as the best at the end.
    EXPECT_EQ(run.firstResult.PlacedCount(), 1);
    EXPECT_EQ(run.finalResult.PlacedCount(), 1);
    EXPECT_EQ(run.finalResult.rating, run.firstResult.rating);
    EXPECT_EQ(run.log, (std::vector<std::string>{"O.SetTotal", "O.Start", "O.SetResult", "O.Update",
                                                 "O.SetResult", "O.SetParts", "O.Finish"}));
}

TEST(NestStop, PressedDuringTheFirstNoFitBatchTheRunEndsWithTheEmptyResult) {
    const StoppedRun run = RunAndPressAt(1);
    EXPECT_EQ(run.results, 0);
    EXPECT_TRUE(run.finalResult.IsEmpty());
    EXPECT_EQ(run.finalResult.rating, kEmptyRating);
    EXPECT_EQ(run.log, (std::vector<std::string>{"O.SetTotal", "O.Start", "O.SetResult",
                                                 "O.SetParts", "O.Finish"}));
}

TEST(NestStop, TheDialogClosesAtItsTickAfterTheEndIsSignalledWithoutSettingTheFlag) {
    WatchingUser nobodyClicks; // open and empty: the dialog waits for its user
    ByDialogStopProvider flag;
    NestingStopDialog dialog(L"Stop nesting", flag.Flag(), true);
    ASSERT_TRUE(dialog.Started());
    ASSERT_TRUE(nobodyClicks.WaitUntilAsked());
    const std::string sight = nobodyClicks.FirstSight();
    EXPECT_NE(sight.find("8007"), std::string::npos) << sight;
    EXPECT_NE(sight.find("\"Stop nesting\""), std::string::npos) << sight;
    // Nothing but the end of the run closes it: a full tick passes with the dialog still up.
    EXPECT_FALSE(dialog.WaitUntilClosed(2 * kStopDialogTick));
    const auto signalled = std::chrono::steady_clock::now();
    dialog.Close();
    ASSERT_TRUE(dialog.WaitUntilClosed(kLongWait));
    // Closed by a tick of its timer, not by waiting for input: well within a few periods.
    EXPECT_LT(std::chrono::steady_clock::now() - signalled, std::chrono::seconds(10));
    EXPECT_FALSE(flag.ShouldStop());
    EXPECT_TRUE(nobodyClicks.Told().empty());
}

} // namespace
} // namespace gantrel::testing
