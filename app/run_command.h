// "gantrel run DRAWING SCRIPT [-o OUT.dxf] [--seed N]": a command script on a drawing.
#pragma once

#include "subcommand.h"

#include <optional>
#include <string>

#include "host_setup.h"

namespace gantrel::app {

class RunCommand : public Subcommand {
public:
    explicit RunCommand(CLI::App& program);
    // Runs the script; returns the exit status.
    int run() const override;

private:
    HostOptions m_host;
    std::string m_drawing;
    std::string m_script;
    std::string m_output;
    std::optional<unsigned> m_seed;
};

} // namespace gantrel::app
