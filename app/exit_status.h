// The exit statuses of the gantrel program.
#pragma once

namespace gantrel::app {

enum ExitStatus : int {
    kExitDone = 0,
    kExitBadCommandLine = 1,
    // A drawing or script that cannot be read; the message names the file and the line.
    kExitUnreadableInput = 2,
    kExitFailed = 3,
};

} // namespace gantrel::app
