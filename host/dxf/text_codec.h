// Text of drawing files: the drawing's code page (files before AC1021) or UTF-8 (AC1021 and
// later) to UTF-8 and wide strings; "\U+XXXX" escapes and caret escapes ("^J") resolved.
// Written text is UTF-8 with control characters in caret notation.
#pragma once

#include <iconv.h>

#include <string>
#include <string_view>

namespace gantrel::dxf {

class TextDecoder {
public:
    TextDecoder() = default;
    TextDecoder(const TextDecoder&) = delete;
    TextDecoder& operator=(const TextDecoder&) = delete;
    ~TextDecoder();

    // codePage: the value of $DWGCODEPAGE ("ANSI_1252", "DOS850" ...); utf8: the file is UTF-8.
    // False when the code page is unknown (Windows-1252 is used then).
    bool configure(std::string_view codePage, bool utf8);
    bool isUtf8() const { return m_utf8; }

    // Decodes one text value to UTF-8. Bytes that are not valid in the file's encoding are
    // read as Windows-1252 and counted in invalidBytes().
    std::string toUtf8(std::string_view raw);
    // The bytes converted to UTF-8 with escapes left as they are (for values kept as text).
    std::string toUtf8Verbatim(std::string_view raw);
    std::wstring toWide(std::string_view raw);
    // Text values that were valid UTF-8 in a file declaring a single-byte code page, and read
    // as UTF-8 (a common fault of other writers).
    std::size_t utf8InCodePage() const { return m_utf8InCodePage; }
    std::size_t invalidBytes() const { return m_invalidBytes; }

private:
    std::string convert(std::string_view raw);

    bool m_utf8 = false;
    iconv_t m_iconv = reinterpret_cast<iconv_t>(-1);
    std::size_t m_utf8InCodePage = 0;
    std::size_t m_invalidBytes = 0;
};

std::wstring utf8ToWide(std::string_view utf8);
// True when every byte is ASCII.
bool isAscii(std::string_view s);
// Resolves "\U+XXXX" escapes and the caret escapes ^J, ^M, ^I and "^ " in UTF-8 text.
std::string resolveEscapes(std::string_view utf8);
// Caret notation for line breaks, tabs and the carets that would read as an escape.
void appendEscaped(std::string& out, std::string_view utf8);

} // namespace gantrel::dxf
