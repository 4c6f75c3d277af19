// Observers that keep the user informed while a nesting run goes on: the status-bar progress
// meter and the regeneration of the drawing.
#pragma once

#include "drawing/ZWProgressBar.h"
#include "nesting/run/NestObservers.h"

#include <cstdint>
#include <functional>

namespace gantrel {

// One meter step per evaluated arrangement on the host's status bar.
class ZWProgressBarObserver : public Nest_Observer {
public:
    // The bar restores the status bar also when the observer is destroyed.
    using Nest_Observer::Nest_Observer;

    // Opens the meter with the range 0 to total.
    void SetTotal(int total) override;
    // Moves the meter one step; past the maximum it starts again at 0.
    int Update() override;
    // Restores the status bar.
    int Finish() override;

    int Maximum() const { return m_maximum; }
    int Position() const { return m_position; }

private:
    ZWProgressBar m_bar{L""};
    int m_maximum = 100;
    int m_position = 0;
    int m_counter = 1;
};

// Regenerates the drawing at the first result, then at most once per interval, and at the end,
// so the user sees the layout grow without a regeneration after every arrangement.
class TimeBoxedRegenObserver : public Nest_Observer {
public:
    // Whole seconds since some fixed moment.
    using Clock = std::function<std::int64_t()>;

    TimeBoxedRegenObserver(ZcDbObjectId reference, const Polygons& parts,
                           std::int64_t intervalSeconds = 10, Clock clock = SystemClock);

    int Update() override;
    int Finish() override;

    static std::int64_t SystemClock();

protected:
    // Runs the host command "_REGEN" with the command echo off.
    virtual void Regenerate();

private:
    Clock m_clock;
    std::int64_t m_lastRegen;
    bool m_firstDone = false;
    std::int64_t m_interval;
};

} // namespace gantrel
