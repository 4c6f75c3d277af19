// The file entry points: reading into a scratch database that replaces the target's content
// only when the whole file was read; writing through a renamed temporary file.
#include "dxf_io.h"
#include "winhost.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <streambuf>

#include "database_impl.h"
#include "reader.h"
#include "text_codec.h"
#include "writer.h"

namespace gantrel::dxf {

namespace {

// Moves the content of one database into another: stubs keep their addresses, so every id
// stays valid, and learn their new database.
void swapContents(ZcDbDatabase& a, ZcDbDatabase& b) {
    ZcDbDatabase::Impl& ia = ZcDbAccess::impl(a);
    ZcDbDatabase::Impl& ib = ZcDbAccess::impl(b);
    std::swap(ia.stubs, ib.stubs);
    std::swap(ia.byHandle, ib.byHandle);
    std::swap(ia.handseed, ib.handseed);
    std::swap(ia.blockTable, ib.blockTable);
    std::swap(ia.layerTable, ib.layerTable);
    std::swap(ia.regAppTable, ib.regAppTable);
    std::swap(ia.namedObjects, ib.namedObjects);
    std::swap(ia.groupDictionary, ib.groupDictionary);
    std::swap(ia.layoutDictionary, ib.layoutDictionary);
    std::swap(ia.modelSpace, ib.modelSpace);
    std::swap(ia.paperSpace, ib.paperSpace);
    std::swap(ia.currentSpace, ib.currentSpace);
    std::swap(ia.header, ib.header);
    std::swap(ia.preserved, ib.preserved);
    std::swap(ia.fileExtras, ib.fileExtras);
    std::swap(ia.readRepairs, ib.readRepairs);
    for (ZcDbStub& s : ia.stubs)
        s.database = &a;
    for (ZcDbStub& s : ib.stubs)
        s.database = &b;
}

std::string describeFile(std::string_view text) {
    if (text.starts_with("AutoCAD Binary DXF"))
        return "this is a binary DXF file; only ASCII DXF is read";
    if (text.size() >= 6 && text.starts_with("AC10") &&
        text.substr(0, std::min<std::size_t>(text.size(), 128)).find('\0') != std::string::npos)
        return "this is a DWG file, not DXF text; only DXF is read";
    return {};
}

// A stream buffer over a file descriptor, for writing to a temporary file that is synced
// before it is renamed.
class DescriptorBuffer : public std::streambuf {
public:
    explicit DescriptorBuffer(int fd) : m_fd(fd) { setp(m_buffer, m_buffer + sizeof m_buffer); }
    ~DescriptorBuffer() override { sync(); }

protected:
    int overflow(int c) override {
        if (!drain())
            return traits_type::eof();
        if (c != traits_type::eof()) {
            *pptr() = static_cast<char>(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        if (n > static_cast<std::streamsize>(sizeof m_buffer)) {
            if (!drain() || !writeAll(s, static_cast<std::size_t>(n)))
                return 0;
            return n;
        }
        return std::streambuf::xsputn(s, n);
    }
    int sync() override { return drain() ? 0 : -1; }

private:
    bool drain() {
        const auto n = static_cast<std::size_t>(pptr() - pbase());
        const bool ok = writeAll(pbase(), n);
        setp(m_buffer, m_buffer + sizeof m_buffer);
        return ok;
    }
    bool writeAll(const char* s, std::size_t n) {
        while (n > 0) {
            const ssize_t k = ::write(m_fd, s, n);
            if (k < 0) {
                if (errno == EINTR)
                    continue;
                return false;
            }
            s += k;
            n -= static_cast<std::size_t>(k);
        }
        return true;
    }

    int m_fd;
    char m_buffer[1 << 16];
};

} // namespace

ReadResult readDxfText(ZcDbDatabase& db, std::string_view text, const std::string& name) {
    ReadResult result;
    if (std::string why = describeFile(text); !why.empty()) {
        result.line = 1;
        result.message = name + ":1: " + why;
        return result;
    }
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    ZcDbDatabase scratch(false);
    try {
        FileReader reader(scratch, text, name);
        reader.read();
    } catch (const ReadError& e) {
        result.line = e.line();
        result.message = name + ":" + std::to_string(e.line()) + ": " + e.what();
        return result;
    }
    swapContents(db, scratch);
    ZcDbDatabase::Impl& impl = ZcDbAccess::impl(db);
    impl.fileName = utf8ToWide(name);
    impl.lastError.clear();
    for (const std::wstring& r : impl.readRepairs)
        result.repairs.push_back(::win::Narrow(r));
    result.ok = true;
    return result;
}

ReadResult readDxf(ZcDbDatabase& db, const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        ReadResult result;
        result.message = path.string() + ": " +
                         (std::filesystem::exists(path) ? "cannot be read" : "no such file");
        return result;
    }
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        ReadResult result;
        result.message = path.string() + ": cannot be read";
        return result;
    }
    ReadResult result = readDxfText(db, text, path.string());
    if (result.ok)
        ZcDbAccess::impl(db).fileName = path.wstring();
    return result;
}

bool writeDxf(const ZcDbDatabase& db, std::ostream& out, std::string* error) {
    FileWriter writer(db);
    std::string why;
    const bool ok = writer.write(out, why) && out.flush();
    if (!ok && error)
        *error = why.empty() ? "the output cannot be written" : why;
    return ok;
}

bool writeDxfFile(const ZcDbDatabase& db, const std::filesystem::path& path, std::string& error) {
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
    std::string pattern = (folder / ("." + path.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        error = path.string() + ": cannot be written (" + std::strerror(errno) + ")";
        return false;
    }
    // The new file gets the old one's permissions, or the usual ones for a new file.
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0) {
        ::fchmod(fd, old.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    bool ok;
    std::string why;
    {
        DescriptorBuffer buffer(fd);
        std::ostream out(&buffer);
        ok = writeDxf(db, out, &why);
        ok = ok && buffer.pubsync() == 0;
    }
    ok = ok && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok && std::rename(pattern.c_str(), path.c_str()) != 0) {
        why = std::strerror(errno);
        ok = false;
    }
    if (!ok) {
        std::remove(pattern.c_str());
        error = path.string() + ": cannot be written" + (why.empty() ? "" : " (" + why + ")");
    }
    return ok;
}

} // namespace gantrel::dxf
