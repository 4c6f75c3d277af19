// "gantrel render DRAWING -o OUT.svg|OUT.png|OUT.pdf": a picture of a drawing.
#pragma once

#include <CLI/CLI.hpp>

#include <string>

namespace gantrel::app {

class RenderCommand {
public:
    // Adds the subcommand and its options to the program's command line.
    explicit RenderCommand(CLI::App& program);
    bool chosen() const { return m_command->parsed(); }
    // Reads the drawing and writes the picture; returns the exit status.
    int run() const;

private:
    CLI::App* m_command = nullptr;
    std::string m_drawing;
    std::string m_output;
};

} // namespace gantrel::app
