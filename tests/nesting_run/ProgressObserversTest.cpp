// The observers that keep the user informed during a run: the status-bar meter (through a host
// session's status bar) and the time-boxed regeneration of the drawing.
#include "nesting/run/ProgressObservers.h"
#include "session.h"

#include <gtest/gtest.h>

namespace gantrel {
namespace {

TEST(ZWProgressBarObserver, OpensTheMeterAtTheTotalStepsOncePerUpdateAndWrapsToZero) {
    gantrel::editor::HostSession session;
    const int restoresBefore = session.progress().restores;
    {
        ZWProgressBarObserver observer{ZcDbObjectId(), Polygons()};
        EXPECT_EQ(observer.Maximum(), 100);
        observer.SetTotal(2);
        EXPECT_TRUE(session.progress().active);
        EXPECT_EQ(session.progress().label, L"");
        EXPECT_EQ(session.progress().minPos, 0);
        EXPECT_EQ(session.progress().maxPos, 2);
        std::vector<int> positions;
        for (int i = 0; i < 5; ++i) {
            observer.Update();
            positions.push_back(observer.Position());
            EXPECT_EQ(session.progress().pos, observer.Position());
        }
        // More updates than announced: the meter starts again at 0.
        EXPECT_EQ(positions, (std::vector<int>{1, 2, 0, 1, 2}));
        observer.Finish();
        EXPECT_FALSE(session.progress().active);
        EXPECT_EQ(session.progress().restores, restoresBefore + 1);
    }
    // Destroying the observer restores the status bar once more.
    EXPECT_EQ(session.progress().restores, restoresBefore + 2);
}

class CountingRegen : public TimeBoxedRegenObserver {
public:
    explicit CountingRegen(const std::int64_t& now)
        : TimeBoxedRegenObserver(ZcDbObjectId(), Polygons(), 10, [&now] { return now; }) {}
    int regenerations = 0;

protected:
    void Regenerate() override { ++regenerations; }
};

TEST(TimeBoxedRegenObserver, RegeneratesAtTheFirstResultThenAtMostOncePerIntervalAndAtTheEnd) {
    std::int64_t now = 100; // the stamp is taken at construction
    CountingRegen observer(now);
    const auto updateAt = [&](std::int64_t t) {
        now = t;
        observer.Update();
        return observer.regenerations;
    };
    EXPECT_EQ(updateAt(105), 1); // the first result is shown at once
    EXPECT_EQ(updateAt(110), 1);
    EXPECT_EQ(updateAt(111), 2); // more than 10 s after construction
    EXPECT_EQ(updateAt(121), 2); // exactly 10 s: not more than the interval
    EXPECT_EQ(updateAt(122), 3);
    EXPECT_EQ(updateAt(123), 3);
    observer.Finish();
    EXPECT_EQ(observer.regenerations, 4);
}

} // namespace
} // namespace gantrel
