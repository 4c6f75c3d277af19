// The stop request of a nesting run, set by the stop dialog on its own thread.
#pragma once

#include "nesting/place/NestingStopProvider.h"

#include <atomic>

namespace gantrel {

// One flag, false until the user presses the stop button; written only by the stop dialog's
// thread and read by the run, so an atomic flag is all the sharing needs.
class ByDialogStopProvider : public NestingStopProvider {
public:
    bool ShouldStop() const override { return m_stop.load(std::memory_order_acquire); }
    void RequestStop() { m_stop.store(true, std::memory_order_release); }
    // The flag itself, handed to the stop dialog.
    std::atomic<bool>* Flag() { return &m_stop; }

private:
    std::atomic<bool> m_stop{false};
};

} // namespace gantrel
