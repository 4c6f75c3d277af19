// An output file written under a temporary name in its folder and renamed into place only when
// complete, so that readers never see a partial file and a failure leaves the old file whole.
#pragma once

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <string>

namespace gantrel::render {

class AtomicOutputFile {
public:
    AtomicOutputFile() = default;
    AtomicOutputFile(const AtomicOutputFile&) = delete;
    AtomicOutputFile& operator=(const AtomicOutputFile&) = delete;
    // Removes the temporary file unless it was committed.
    ~AtomicOutputFile();

    // Creates the temporary file next to target. False with error() set on failure.
    bool open(const std::filesystem::path& target);
    // Appends bytes; false (and error() set) once a write has failed.
    bool write(const void* data, std::size_t size);
    // Flushes, syncs and renames the temporary file to the target.
    bool commit();
    // Removes the temporary file.
    void discard();

    const std::string& error() const { return m_error; }
    const std::filesystem::path& temporaryPath() const { return m_temp; }

private:
    bool fail(const std::string& what, int err);

    std::filesystem::path m_target, m_temp;
    std::FILE* m_file = nullptr;
    std::string m_error;
};

} // namespace gantrel::render
