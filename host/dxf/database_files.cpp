// The database's own file operations: DXF text (also under a ".dwg" name) in, DXF out.
#include <string>

#include "database_impl.h"
#include "dxf_io.h"
#include "text_codec.h"
#include "winhost.h"

namespace {

// The host's file calls take "\" and "/" alike.
std::filesystem::path hostPath(const wchar_t* fileName) {
    std::wstring name = fileName;
    for (wchar_t& c : name)
        if (c == L'\\')
            c = L'/';
    return std::filesystem::path(::win::Narrow(name));
}

} // namespace

Zcad::ErrorStatus ZcDbDatabase::readDwgFile(const wchar_t* fileName) {
    if (!fileName || !*fileName)
        return Zcad::eInvalidInput;
    if (openObjectCount() > 0) {
        m_impl->lastError = L"the drawing has objects open; it cannot be replaced";
        return Zcad::eInvalidOpenState;
    }
    const std::filesystem::path path = hostPath(fileName);
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        m_impl->lastError = gantrel::dxf::utf8ToWide(path.string()) + L": no such file";
        return Zcad::eFileNotFound;
    }
    const gantrel::dxf::ReadResult result = gantrel::dxf::readDxf(*this, path);
    if (!result.ok) {
        m_impl->lastError = gantrel::dxf::utf8ToWide(result.message);
        return result.line > 0 ? Zcad::eBadDxfSequence : Zcad::eFileAccessErr;
    }
    m_impl->fileName = fileName;
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbDatabase::saveAs(const wchar_t* fileName) {
    if (!fileName || !*fileName)
        return Zcad::eInvalidInput;
    std::string error;
    if (!gantrel::dxf::writeDxfFile(*this, hostPath(fileName), error)) {
        m_impl->lastError = gantrel::dxf::utf8ToWide(error);
        return Zcad::eFileAccessErr;
    }
    m_impl->lastError.clear();
    m_impl->fileName = fileName;
    return Zcad::eOk;
}
