#include "nesting/run/ProgressObservers.h"

#include "drawing/UserInput.h"

#include <ctime>

namespace gantrel {

void ZWProgressBarObserver::SetTotal(int total) {
    m_maximum = total;
    m_bar.Start(total);
}

int ZWProgressBarObserver::Update() {
    int p = m_counter;
    if (p > m_maximum) {
        p = 0;
    }
    m_counter = p + 1;
    m_position = p;
    m_bar.SetPosition(p);
    return 0;
}

int ZWProgressBarObserver::Finish() {
    m_bar.Finish();
    return 0;
}

TimeBoxedRegenObserver::TimeBoxedRegenObserver(ZcDbObjectId reference, const Polygons& parts,
                                               std::int64_t intervalSeconds, Clock clock)
    : Nest_Observer(reference, parts), m_clock(std::move(clock)), m_lastRegen(m_clock()),
      m_interval(intervalSeconds) {}

std::int64_t TimeBoxedRegenObserver::SystemClock() {
    return static_cast<std::int64_t>(std::time(nullptr));
}

int TimeBoxedRegenObserver::Update() {
    if (!m_firstDone) {
        // The first layout is shown at once; the interval still counts from construction.
        Regenerate();
        m_firstDone = true;
        return 0;
    }
    const std::int64_t now = m_clock();
    if (now - m_lastRegen > m_interval) {
        Regenerate();
        m_lastRegen = now;
    }
    return 0;
}

int TimeBoxedRegenObserver::Finish() {
    Regenerate();
    return 0;
}

void TimeBoxedRegenObserver::Regenerate() {
    RunQuietly(L"_REGEN");
}

} // namespace gantrel
