// libFuzzer entry point of the DXF reader: any bytes are read, refused with a message naming a
// line, or read, written and read again without error.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string_view>

#include "dxf_io.h"
#include "zcdball.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    ZcDbDatabase db(false);
    const gantrel::dxf::ReadResult result = gantrel::dxf::readDxfText(db, text, "fuzz.dxf");
    if (!result.ok) {
        if (result.message.rfind("fuzz.dxf:", 0) != 0)
            std::abort();
        return 0;
    }
    std::ostringstream out;
    if (!gantrel::dxf::writeDxf(db, out))
        std::abort();
    ZcDbDatabase again(false);
    if (!gantrel::dxf::readDxfText(again, out.str(), "written.dxf").ok)
        std::abort();
    return 0;
}
