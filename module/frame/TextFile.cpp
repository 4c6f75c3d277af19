#include "frame/TextFile.h"

#include "winstandin.h"

#include <cstdio>

namespace gantrel {

namespace {

// Decodes UTF-8; a byte that does not start a valid sequence becomes U+FFFD.
std::wstring DecodeUtf8(const std::string& bytes) {
    std::wstring out;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        int extra = lead < 0x80         ? 0
                    : (lead >> 5) == 6  ? 1
                    : (lead >> 4) == 14 ? 2
                    : (lead >> 3) == 30 ? 3
                                        : -1;
        char32_t code = extra == 0   ? lead
                        : extra == 1 ? lead & 0x1F
                        : extra == 2 ? lead & 0x0F
                                     : lead & 0x07;
        bool ok =
            extra >= 0 && i + static_cast<std::size_t>(extra) < bytes.size() + (extra == 0 ? 1 : 0);
        for (int k = 1; ok && k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
            ok = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3F);
        }
        if (!ok) {
            out.push_back(L'\xFFFD');
            ++i;
            continue;
        }
        out.push_back(static_cast<wchar_t>(code));
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

} // namespace

bool ReadTextLines(const std::wstring& path, std::vector<std::wstring>& lines) {
    std::FILE* file = _wfopen(path.c_str(), L"rb");
    if (file == nullptr) {
        return false;
    }
    std::string content;
    char buffer[4096];
    std::size_t read = 0;
    while ((read = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        content.append(buffer, read);
    }
    std::fclose(file);
    const std::wstring text = DecodeUtf8(content);
    // A byte-order mark, as editors on the platform write it, is not part of the first line.
    std::size_t start = text.starts_with(L'\xFEFF') ? 1 : 0;
    while (start < text.size()) {
        std::size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) {
            end = text.size();
        }
        std::wstring line = text.substr(start, end - start);
        if (!line.empty() && line.back() == L'\r') {
            line.pop_back();
        }
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return true;
}

std::wstring TrimmedField(const std::wstring& text) {
    const wchar_t* blanks = L"\t\n ";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::wstring::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

std::vector<std::wstring> SplitFields(const std::wstring& line, wchar_t separator, bool trim) {
    std::vector<std::wstring> fields;
    std::size_t start = 0;
    while (start <= line.size()) {
        std::size_t end = line.find(separator, start);
        if (end == std::wstring::npos) {
            end = line.size();
        }
        std::wstring field = line.substr(start, end - start);
        if (trim) {
            field = TrimmedField(field);
        }
        if (!field.empty()) {
            fields.push_back(std::move(field));
        }
        start = end + 1;
    }
    return fields;
}

} // namespace gantrel
