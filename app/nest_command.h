// "gantrel nest [DRAWING] [-o OUT.dxf] [--svg FILE] [--png FILE] [--sheet HANDLE]
// [--parts H1,H2,...] [settings flags] [--seed N] [--json]": nests the parts of a drawing on its
// sheet with the module's "Plaxen" command and saves the result. With --sheet-size it nests
// part drawings instead (part_job_command.h).
#pragma once

#include "subcommand.h"

#include <optional>
#include <string>
#include <vector>

#include "host_setup.h"
#include "nest_script.h"

namespace gantrel::app {

class NestCommand : public Subcommand {
public:
    explicit NestCommand(CLI::App& program);
    // Nests, saves and reports; returns the exit status.
    int run() const override;

private:
    HostOptions m_host;
    std::string m_drawing;
    // With --sheet-size: the part drawings after the first (which is in m_drawing).
    std::vector<std::string> m_moreParts;
    std::string m_sheetSize;
    std::optional<int> m_sheets;
    std::string m_units = "mm";
    std::string m_output;
    std::string m_svg;
    std::string m_png;
    std::string m_sheet;
    std::vector<std::string> m_parts;
    NestSettingsFlags m_settings;
    std::optional<unsigned> m_seed;
    bool m_json = false;
};

} // namespace gantrel::app
