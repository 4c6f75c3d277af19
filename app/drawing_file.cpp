#include "drawing_file.h"
#include "winhost.h"

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

} // namespace gantrel::app
