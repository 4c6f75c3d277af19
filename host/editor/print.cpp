// zcutPrintf: printf conversions with the host's wide-text conventions.
#include <cstdarg>
#include <cstdint>
#include <cwchar>
#include <string>

#include "session.h"
#include "winhost.h"
#include "zcutil.h"

namespace gantrel::editor {

namespace {

// Formats one conversion (spec holds "%", flags, width, precision, length and the conversion)
// with the argument already taken.
template <typename T> std::wstring formatOne(const std::wstring& spec, T value) {
    std::wstring out(64, L'\0');
    while (true) {
        int n = std::swprintf(out.data(), out.size(), spec.c_str(), value);
        if (n >= 0 && static_cast<std::size_t>(n) < out.size()) {
            out.resize(n);
            return out;
        }
        if (out.size() > (1u << 20))
            return {};
        out.resize(out.size() * 4);
    }
}

} // namespace

// The text of a host format with its arguments. "%s" and "%c" take wide text; "%hs" and
// "%hc" narrow; "%ls" and "%lc" wide as well.
std::wstring formatHost(const wchar_t* format, va_list args) {
    std::wstring out;
    for (const wchar_t* f = format; *f;) {
        if (*f != L'%') {
            out += *f++;
            continue;
        }
        const wchar_t* start = f++;
        if (*f == L'%') {
            out += L'%';
            ++f;
            continue;
        }
        std::wstring flags;
        while (*f && std::wcschr(L"-+ #0", *f))
            flags += *f++;
        std::wstring width, precision;
        if (*f == L'*') {
            width = std::to_wstring(va_arg(args, int));
            ++f;
        } else {
            while (*f >= L'0' && *f <= L'9')
                width += *f++;
        }
        bool hasPrecision = false;
        if (*f == L'.') {
            hasPrecision = true;
            ++f;
            if (*f == L'*') {
                precision = std::to_wstring(va_arg(args, int));
                ++f;
            } else {
                while (*f >= L'0' && *f <= L'9')
                    precision += *f++;
            }
        }
        std::wstring length;
        while (*f && std::wcschr(L"hlLqjzt", *f))
            length += *f++;
        if (*f == L'I' && f[1] == L'6' && f[2] == L'4') { // the host's 64-bit length
            length = L"ll";
            f += 3;
        }
        wchar_t conv = *f;
        if (!conv) {
            out.append(start, f);
            break;
        }
        ++f;
        std::wstring spec = L"%" + flags + width + (hasPrecision ? L"." + precision : L"");
        switch (conv) {
        case L'd':
        case L'i':
        case L'u':
        case L'x':
        case L'X':
        case L'o': {
            std::wstring s = spec +
                             (length.find(L'l') != std::wstring::npos || length == L"j" ||
                                      length == L"z" || length == L"q"
                                  ? L"ll"
                                  : L"") +
                             conv;
            if (length.find(L'l') != std::wstring::npos || length == L"j" || length == L"z" ||
                length == L"q")
                out += formatOne(s, va_arg(args, long long));
            else
                out += formatOne(s, va_arg(args, int));
            break;
        }
        case L'f':
        case L'F':
        case L'e':
        case L'E':
        case L'g':
        case L'G':
        case L'a':
        case L'A':
            if (length == L"L")
                out += formatOne(spec + L"L" + conv, va_arg(args, long double));
            else
                out += formatOne(spec + conv, va_arg(args, double));
            break;
        case L's':
        case L'S':
            if (length == L"h") {
                const char* s = va_arg(args, const char*);
                std::wstring wide = win::Widen(s ? s : "(null)");
                out += formatOne(spec + L"ls", wide.c_str());
            } else {
                const wchar_t* s = va_arg(args, const wchar_t*);
                out += formatOne(spec + L"ls", s ? s : L"(null)");
            }
            break;
        case L'c':
        case L'C':
            out += formatOne(spec + L"lc", static_cast<wint_t>(va_arg(args, int)));
            break;
        case L'p':
            out += formatOne(spec + L"p", va_arg(args, void*));
            break;
        default: // unknown conversion: shown as written
            out.append(start, f);
            break;
        }
    }
    return out;
}

} // namespace gantrel::editor

int zcutPrintf(const wchar_t* format, ...) {
    if (!format)
        return 0;
    va_list args;
    va_start(args, format);
    std::wstring text = gantrel::editor::formatHost(format, args);
    va_end(args);
    if (auto* s = gantrel::editor::HostSession::current())
        s->transcript().write(text);
    else
        gantrel::editor::Transcript().write(text);
    return static_cast<int>(text.size());
}
