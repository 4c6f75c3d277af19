// "T_SumSubPoly": lengths measured along curves between picked points, summed over the run.
#pragma once

#include "frame/Commands.h"

namespace gantrel {

class SumSubLengths_cmd : public KorvantCommand {
public:
    using KorvantCommand::KorvantCommand;
    void Run();
};

} // namespace gantrel
