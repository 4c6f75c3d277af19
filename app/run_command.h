// "gantrel run DRAWING SCRIPT [-o OUT.dxf] [--seed N]": a command script on a drawing.
#pragma once

#include <CLI/CLI.hpp>

#include <optional>
#include <string>

#include "host_setup.h"

namespace gantrel::app {

class RunCommand {
public:
    explicit RunCommand(CLI::App& program);
    bool chosen() const { return m_command->parsed(); }
    // Runs the script; returns the exit status.
    int run() const;

private:
    CLI::App* m_command = nullptr;
    HostOptions m_host;
    std::string m_drawing;
    std::string m_script;
    std::string m_output;
    std::optional<unsigned> m_seed;
};

} // namespace gantrel::app
