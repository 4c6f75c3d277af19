// Writes DXF groups as ASCII text: group codes right-aligned in three columns, reals with 17
// significant digits (they read back to the same double), text in UTF-8 with control
// characters in caret notation. Output is buffered and handed to a stream in large pieces.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

#include "zcge.h"

namespace gantrel::dxf {

class GroupWriter {
public:
    explicit GroupWriter(std::ostream& out);
    // Appends to a string instead of a stream.
    explicit GroupWriter(std::string& out);
    GroupWriter(const GroupWriter&) = delete;
    GroupWriter& operator=(const GroupWriter&) = delete;
    ~GroupWriter();

    void text(int code, std::string_view utf8);
    void text(int code, std::wstring_view wide);
    // A value written exactly as given (numbers kept as the file held them).
    void verbatim(int code, std::string_view value);
    void real(int code, double value);
    // Three groups: code, code + 10, code + 20.
    void point(int code, const ZcGePoint3d& p);
    void point(int code, const ZcGeVector3d& v) { point(code, ZcGePoint3d(v.x, v.y, v.z)); }
    // Two groups: code, code + 10.
    void point2(int code, double x, double y);
    void integer(int code, std::int64_t value);
    void handle(int code, std::uint64_t handle);

    // Writes what is buffered to the stream; false when the stream failed.
    bool flush();
    std::uint64_t groupCount() const { return m_groups; }

private:
    void code(int code);
    void maybeFlush() {
        if (m_out && m_buffer.size() >= kFlushSize)
            flush();
    }

    static constexpr std::size_t kFlushSize = 1 << 16;
    std::ostream* m_out;
    std::string m_own;
    std::string& m_buffer;
    std::uint64_t m_groups = 0;
};

// The text of a real with 17 significant digits, with ".0" added to integral values.
std::string formatReal(double value);
void appendReal(std::string& out, double value);

} // namespace gantrel::dxf
