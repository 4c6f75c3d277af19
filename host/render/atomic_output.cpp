#include "atomic_output.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace gantrel::render {

AtomicOutputFile::~AtomicOutputFile() {
    discard();
}

bool AtomicOutputFile::fail(const std::string& what, int err) {
    if (m_error.empty())
        m_error = "cannot " + what + " '" + m_target.string() + "': " + std::strerror(err);
    return false;
}

bool AtomicOutputFile::open(const std::filesystem::path& target) {
    discard();
    m_error.clear();
    m_target = target;
    std::filesystem::path folder = target.parent_path();
    if (folder.empty())
        folder = ".";
    // A hidden name in the target's folder, so the rename stays within one file system. The
    // name is made unique with O_EXCL; the mode honours the user's umask like any new file.
    const std::string stem = "." + target.filename().string() + ".tmp-" + std::to_string(getpid());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path candidate = folder / (stem + "-" + std::to_string(attempt));
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return fail("write", errno);
        }
        m_file = fdopen(fd, "wb");
        if (!m_file) {
            const int err = errno;
            ::close(fd);
            std::filesystem::remove(candidate);
            return fail("write", err);
        }
        m_temp = candidate;
        return true;
    }
    return fail("write", EEXIST);
}

bool AtomicOutputFile::write(const void* data, std::size_t size) {
    if (!m_file || !m_error.empty())
        return false;
    if (size > 0 && std::fwrite(data, 1, size, m_file) != size)
        return fail("write", errno);
    return true;
}

bool AtomicOutputFile::commit() {
    if (!m_file)
        return m_error.empty() ? fail("write", EBADF) : false;
    if (!m_error.empty()) {
        discard();
        return false;
    }
    bool ok = std::fflush(m_file) == 0 || fail("write", errno);
    ok = ok && (::fsync(fileno(m_file)) == 0 || fail("write", errno));
    const int closed = std::fclose(m_file);
    m_file = nullptr;
    ok = ok && (closed == 0 || fail("write", errno));
    ok = ok && (std::rename(m_temp.c_str(), m_target.c_str()) == 0 || fail("replace", errno));
    if (!ok) {
        discard();
        return false;
    }
    m_temp.clear();
    return true;
}

void AtomicOutputFile::discard() {
    if (m_file) {
        std::fclose(m_file);
        m_file = nullptr;
    }
    if (!m_temp.empty()) {
        std::error_code ignored;
        std::filesystem::remove(m_temp, ignored);
        m_temp.clear();
    }
}

} // namespace gantrel::render
