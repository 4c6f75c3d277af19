#include "drawing/ZWProgressBar.h"

#include "frame/Printer.h"
#include "zced.h"

namespace gantrel {

ZWProgressBar::~ZWProgressBar() {
    Finish();
}

int ZWProgressBar::Start(int maximum) {
    return zcedSetStatusBarProgressMeter(m_label.c_str(), 0, maximum);
}

int ZWProgressBar::SetPosition(int position) {
    return zcedSetStatusBarProgressMeterPos(position);
}

void ZWProgressBar::Finish() {
    try {
        zcedRestoreStatusBar();
    } catch (...) {
        PrintOnCommandLine(L"error catched", true);
    }
}

} // namespace gantrel
