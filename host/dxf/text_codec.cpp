// Code pages, UTF-8, and the escapes of DXF text values.
#include "text_codec.h"
#include "winhost.h"

#include <cerrno>
#include <cstring>

namespace gantrel::dxf {

namespace {

// Windows-1252 bytes 0x80..0x9F; the rest of the upper half equals Latin-1.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t cp1252(unsigned char b) {
    if (b >= 0x80 && b < 0xA0)
        return kCp1252High[b - 0x80];
    return b;
}

// Length of the valid UTF-8 sequence at s (0 when invalid).
std::size_t utf8Sequence(std::string_view s, std::size_t i, char32_t& c) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    std::size_t len;
    if (b0 < 0x80) {
        c = b0;
        return 1;
    }
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        len = 2;
        c = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        len = 3;
        c = b0 & 0x0F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        len = 4;
        c = b0 & 0x07;
    } else {
        return 0;
    }
    if (i + len > s.size())
        return 0;
    for (std::size_t k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (b & 0x3F);
    }
    if ((len == 3 && c < 0x800) || (len == 4 && (c < 0x10000 || c > 0x10FFFF)) ||
        (c >= 0xD800 && c <= 0xDFFF))
        return 0;
    return len;
}

bool isValidUtf8(std::string_view s) {
    char32_t c;
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t n = utf8Sequence(s, i, c);
        if (n == 0)
            return false;
        i += n;
    }
    return true;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The iconv name of a $DWGCODEPAGE value.
std::string iconvName(std::string_view codePage) {
    std::string upper;
    for (char c : codePage)
        upper += static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
    if (upper.rfind("ANSI_", 0) == 0)
        return "CP" + upper.substr(5);
    if (upper.rfind("DOS", 0) == 0)
        return "CP" + upper.substr(3);
    if (upper.rfind("ISO8859-", 0) == 0)
        return "ISO-8859-" + upper.substr(8);
    if (upper == "BIG5" || upper == "GB2312" || upper == "JOHAB")
        return upper;
    if (upper == "KSC5601")
        return "CP949";
    if (upper == "MAC-ROMAN")
        return "MACINTOSH";
    return {};
}

} // namespace

TextDecoder::~TextDecoder() {
    if (m_iconv != reinterpret_cast<iconv_t>(-1))
        iconv_close(m_iconv);
}

bool TextDecoder::configure(std::string_view codePage, bool utf8) {
    m_utf8 = utf8;
    if (m_iconv != reinterpret_cast<iconv_t>(-1)) {
        iconv_close(m_iconv);
        m_iconv = reinterpret_cast<iconv_t>(-1);
    }
    if (utf8 || codePage.empty())
        return true;
    const std::string name = iconvName(codePage);
    if (name.empty() || name == "CP1252")
        return name == "CP1252";
    m_iconv = iconv_open("UTF-8", name.c_str());
    return m_iconv != reinterpret_cast<iconv_t>(-1);
}

std::string TextDecoder::convert(std::string_view raw) {
    std::string out;
    out.reserve(raw.size() + raw.size() / 2);
    if (m_utf8 || isValidUtf8(raw)) {
        // Valid UTF-8 in a code-page file is taken as UTF-8: a byte string of a single-byte
        // code page is almost never valid UTF-8 by chance.
        if (!m_utf8)
            ++m_utf8InCodePage;
        char32_t c;
        for (std::size_t i = 0; i < raw.size();) {
            const std::size_t n = utf8Sequence(raw, i, c);
            if (n == 0) {
                ++m_invalidBytes;
                ::win::AppendUtf8(out, cp1252(static_cast<unsigned char>(raw[i])));
                ++i;
            } else {
                out.append(raw.substr(i, n));
                i += n;
            }
        }
        return out;
    }
    if (m_iconv != reinterpret_cast<iconv_t>(-1)) {
        iconv(m_iconv, nullptr, nullptr, nullptr, nullptr);
        std::string buffer(raw.size() * 4 + 8, '\0');
        char* in = const_cast<char*>(raw.data());
        std::size_t inLeft = raw.size();
        char* dst = buffer.data();
        std::size_t outLeft = buffer.size();
        while (inLeft > 0) {
            if (iconv(m_iconv, &in, &inLeft, &dst, &outLeft) != static_cast<std::size_t>(-1))
                break;
            if (errno != EILSEQ && errno != EINVAL)
                break;
            // A byte the code page does not define: read it as Windows-1252.
            ++m_invalidBytes;
            std::string sub;
            ::win::AppendUtf8(sub, cp1252(static_cast<unsigned char>(*in)));
            if (sub.size() > outLeft)
                break;
            std::memcpy(dst, sub.data(), sub.size());
            dst += sub.size();
            outLeft -= sub.size();
            ++in;
            --inLeft;
        }
        buffer.resize(buffer.size() - outLeft);
        return buffer;
    }
    for (char b : raw)
        ::win::AppendUtf8(out, cp1252(static_cast<unsigned char>(b)));
    return out;
}

namespace {

// Text cannot hold NUL characters (names and strings end at them); they are dropped.
std::string withoutNul(std::string s) {
    std::erase(s, '\0');
    return s;
}

bool isPlain(std::string_view raw) {
    return isAscii(raw) &&
           raw.find_first_of(std::string_view("\\^\0", 3)) == std::string_view::npos;
}

} // namespace

std::string TextDecoder::toUtf8(std::string_view raw) {
    if (isPlain(raw))
        return std::string(raw);
    return withoutNul(resolveEscapes(isAscii(raw) ? std::string(raw) : convert(raw)));
}

std::string TextDecoder::toUtf8Verbatim(std::string_view raw) {
    return withoutNul(isAscii(raw) ? std::string(raw) : convert(raw));
}

std::wstring TextDecoder::toWide(std::string_view raw) {
    if (isPlain(raw))
        return std::wstring(raw.begin(), raw.end());
    return utf8ToWide(toUtf8(raw));
}

bool isAscii(std::string_view s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

std::wstring utf8ToWide(std::string_view utf8) {
    std::wstring out;
    out.reserve(utf8.size());
    char32_t c;
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t n = utf8Sequence(utf8, i, c);
        if (n == 0) {
            out += static_cast<wchar_t>(0xFFFD);
            ++i;
        } else {
            out += static_cast<wchar_t>(c);
            i += n;
        }
    }
    return out;
}

std::string resolveEscapes(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '\\' && i + 6 < s.size() && (s[i + 1] == 'U' || s[i + 1] == 'u') &&
            s[i + 2] == '+') {
            int v = 0;
            bool ok = true;
            for (std::size_t k = 3; k < 7; ++k) {
                const int d = hexDigit(s[i + k]);
                ok = ok && d >= 0;
                v = v * 16 + d;
            }
            if (ok && v != 0) {
                ::win::AppendUtf8(out, static_cast<char32_t>(v));
                i += 6;
                continue;
            }
        }
        if (c == '^' && i + 1 < s.size()) {
            const char n = s[i + 1];
            if (n == 'J' || n == 'M' || n == 'I' || n == ' ') {
                out += n == 'J' ? '\n' : n == 'M' ? '\r' : n == 'I' ? '\t' : '^';
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

void appendEscaped(std::string& out, std::string_view s) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        switch (c) {
        case '\n':
            out += "^J";
            break;
        case '\r':
            out += "^M";
            break;
        case '\t':
            out += "^I";
            break;
        case '^':
            // Only a caret that would read back as an escape needs one itself.
            if (i + 1 < s.size() &&
                (s[i + 1] == 'J' || s[i + 1] == 'M' || s[i + 1] == 'I' || s[i + 1] == ' '))
                out += "^ ";
            else
                out += '^';
            break;
        default:
            out += c;
        }
    }
}

} // namespace gantrel::dxf
