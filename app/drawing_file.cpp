#include "drawing_file.h"
#include "winhost.h"

#include <iostream>

#include "render.h"
#include "text_codec.h"

namespace gantrel::app {

std::unique_ptr<ZcDbDatabase> openDrawing(const std::string& path, std::string& error) {
    auto db = std::make_unique<ZcDbDatabase>(false, true);
    const Zcad::ErrorStatus status = db->readDwgFile(gantrel::dxf::utf8ToWide(path).c_str());
    if (status == Zcad::eOk)
        return db;
    error = ::win::Narrow(db->lastErrorMessage());
    // The reader names the file in its messages; a bare status gets the name added.
    if (error.find(path) == std::string::npos)
        error = path + ": " + (error.empty() ? ::win::Narrow(zcadErrorStatusText(status)) : error);
    return nullptr;
}

bool saveDrawingAndPictures(editor::HostSession& session, const std::string& output,
                            std::initializer_list<std::string> pictures) {
    std::string error;
    if (!session.saveDrawing(output, error)) {
        std::cerr << "gantrel: " << error << '\n';
        return false;
    }
    bool written = true;
    for (const std::string& picture : pictures) {
        if (picture.empty())
            continue;
        const render::RenderResult drawn = render::renderDrawing(*session.database(), picture);
        if (!drawn) {
            std::cerr << "gantrel: " << drawn.message << '\n';
            written = false;
        }
    }
    render::releaseRenderCaches();
    return written;
}

} // namespace gantrel::app
