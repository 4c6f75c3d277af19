// "AttManager": the attribute manager of the Gantrel group. Its dialog has no template, so the
// command shows nothing and leaves the drawing as it was.
#pragma once

#include "frame/Commands.h"

namespace gantrel {

class AttManager_cmd : public KorvantCommand {
public:
    using KorvantCommand::KorvantCommand;
    // Shows the dialog modally; the dialog's answer (-1: it has no template).
    int Run();
};

} // namespace gantrel
