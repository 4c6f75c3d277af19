// The status-bar progress meter: a bar on stderr when it is a terminal, quiet otherwise.
#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "session.h"
#include "winhost.h"
#include "zced.h"

using gantrel::editor::HostSession;
using gantrel::editor::ProgressMeter;

namespace {

ProgressMeter& meter() {
    static ProgressMeter outside; // when no session runs
    HostSession* s = HostSession::current();
    return s ? s->progress() : outside;
}

void draw(const ProgressMeter& m) {
    if (!isatty(STDERR_FILENO))
        return;
    constexpr int kWidth = 40;
    int span = std::max(1, m.maxPos - m.minPos);
    double done = std::clamp(static_cast<double>(m.pos - m.minPos) / span, 0.0, 1.0);
    int filled = static_cast<int>(done * kWidth + 0.5);
    std::string bar(filled, '#');
    bar.append(kWidth - filled, '-');
    std::fprintf(stderr, "\r%s [%s] %3d%%", win::Narrow(m.label).c_str(), bar.c_str(),
                 static_cast<int>(done * 100 + 0.5));
    std::fflush(stderr);
}

} // namespace

int zcedSetStatusBarProgressMeter(const wchar_t* label, int minPos, int maxPos) {
    if (maxPos < minPos)
        return -1;
    ProgressMeter& m = meter();
    m.active = true;
    m.label = label ? label : L"";
    m.minPos = minPos;
    m.maxPos = maxPos;
    m.pos = minPos;
    m.steps = 0;
    draw(m);
    return 0;
}

int zcedSetStatusBarProgressMeterPos(int pos) {
    ProgressMeter& m = meter();
    if (!m.active)
        return -1;
    m.pos = std::clamp(pos, m.minPos, m.maxPos);
    ++m.steps;
    draw(m);
    return 0;
}

void zcedRestoreStatusBar() {
    ProgressMeter& m = meter();
    if (m.active && isatty(STDERR_FILENO)) {
        std::fputs("\r\033[K", stderr);
        std::fflush(stderr);
    }
    m.active = false;
    ++m.restores;
}
