#include "render_command.h"

#include <iostream>

#include "drawing_file.h"
#include "exit_status.h"
#include "render.h"

namespace gantrel::app {

RenderCommand::RenderCommand(CLI::App& program)
    : Subcommand(program, "render", "Draw a drawing to a picture (SVG, PNG or PDF)") {
    m_command->add_option("DRAWING", m_drawing, "The drawing file (DXF)")->required();
    m_command->add_option("-o,--output", m_output, "The picture: OUT.svg, OUT.png or OUT.pdf")
        ->required()
        ->check(CLI::Validator(
            [](std::string& value) -> std::string {
                if (gantrel::render::pictureFormatOf(value))
                    return {};
                return "the picture format follows the extension: .svg, .png or .pdf";
            },
            "OUT.svg|OUT.png|OUT.pdf"));
}

int RenderCommand::run() const {
    std::string error;
    const std::unique_ptr<ZcDbDatabase> db = openDrawing(m_drawing, error);
    if (!db) {
        std::cerr << "gantrel: " << error << '\n';
        return kExitUnreadableInput;
    }
    const gantrel::render::RenderResult result = gantrel::render::renderDrawing(*db, m_output);
    gantrel::render::releaseRenderCaches();
    if (!result) {
        std::cerr << "gantrel: " << result.message << '\n';
        return kExitFailed;
    }
    return kExitDone;
}

} // namespace gantrel::app
