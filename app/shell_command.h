// "gantrel shell [DRAWING]": the host at an interactive command line.
#pragma once

#include <CLI/CLI.hpp>

#include <string>

#include "host_setup.h"

namespace gantrel::app {

class ShellCommand {
public:
    explicit ShellCommand(CLI::App& program);
    bool chosen() const { return m_command->parsed(); }
    // Runs until the end of the input (Ctrl-D); returns the exit status.
    int run() const;

private:
    CLI::App* m_command = nullptr;
    HostOptions m_host;
    std::string m_drawing;
};

} // namespace gantrel::app
