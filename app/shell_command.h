// "gantrel shell [DRAWING]": the host at an interactive command line.
#pragma once

#include "subcommand.h"

#include <string>

#include "host_setup.h"

namespace gantrel::app {

class ShellCommand : public Subcommand {
public:
    explicit ShellCommand(CLI::App& program);
    // Runs until the end of the input (Ctrl-D); returns the exit status.
    int run() const override;

private:
    HostOptions m_host;
    std::string m_drawing;
};

} // namespace gantrel::app
