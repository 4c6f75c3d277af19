#include "nesting/dwg/PackTextFormat.h"

#include <cwchar>
#include <cwctype>
#include <optional>

namespace gantrel {

namespace {

std::wstring Print(const std::wstring& conversion, const FormatValue& value) {
    std::vector<wchar_t> buffer(64);
    for (;;) {
        const int written = std::visit(
            [&](auto v) {
                return std::swprintf(buffer.data(), buffer.size(), conversion.c_str(), v);
            },
            value);
        if (written >= 0 && static_cast<std::size_t>(written) < buffer.size()) {
            return std::wstring(buffer.data(), static_cast<std::size_t>(written));
        }
        if (buffer.size() > 4096) {
            return {};
        }
        buffer.resize(buffer.size() * 4);
    }
}

// The text with the values put in, or none when the text does not fit the values.
std::optional<std::wstring> Fill(const std::wstring& text, const std::vector<FormatValue>& values) {
    std::wstring out;
    std::size_t next = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != L'%') {
            out += text[i];
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == L'%') {
            out += L'%';
            ++i;
            continue;
        }
        std::size_t j = i + 1;
        while (j < text.size() && std::wcschr(L"-+ #0", text[j]) != nullptr) {
            ++j;
        }
        const auto digits = [&] {
            std::size_t count = 0;
            while (j < text.size() && std::iswdigit(text[j]) != 0 && count < 3) {
                ++j;
                ++count;
            }
        };
        digits();
        if (j < text.size() && text[j] == L'.') {
            ++j;
            digits();
        }
        std::wstring piece = text.substr(i, j - i);
        bool wide = false;
        if (j < text.size() && text[j] == L'l') {
            wide = true;
            ++j;
        }
        if (j >= text.size() || next >= values.size()) {
            return std::nullopt;
        }
        const wchar_t conversion = text[j];
        const bool integer = conversion == L'd' || conversion == L'i';
        const bool real = std::wcschr(L"fFeEgG", conversion) != nullptr;
        if (!(integer && !wide && std::holds_alternative<int>(values[next])) &&
            !(real && std::holds_alternative<double>(values[next]))) {
            return std::nullopt;
        }
        piece += conversion;
        out += Print(piece, values[next]);
        ++next;
        i = j;
    }
    if (next != values.size()) {
        return std::nullopt;
    }
    return out;
}

} // namespace

std::wstring FormatPackText(const std::wstring& text, const std::vector<FormatValue>& values) {
    if (std::optional<std::wstring> filled = Fill(text, values)) {
        return *filled;
    }
    std::wstring out = text;
    for (const FormatValue& value : values) {
        out += L' ';
        out += std::holds_alternative<int>(value) ? Print(L"%d", value) : Print(L"%g", value);
    }
    return out;
}

} // namespace gantrel
