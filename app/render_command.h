// "gantrel render DRAWING -o OUT.svg|OUT.png|OUT.pdf": a picture of a drawing.
#pragma once

#include "subcommand.h"

#include <string>

namespace gantrel::app {

class RenderCommand : public Subcommand {
public:
    // Adds the subcommand and its options to the program's command line.
    explicit RenderCommand(CLI::App& program);
    // Reads the drawing and writes the picture; returns the exit status.
    int run() const override;

private:
    std::string m_drawing;
    std::string m_output;
};

} // namespace gantrel::app
