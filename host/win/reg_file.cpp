// Parser of the ".reg" text format: a header line, [KEY] sections and "Name"=data lines.
#include "reg_file.h"

#include "win_internal.h"
#include "winhost.h"

#include <cstring>
#include <optional>
#include <string_view>

namespace win::detail {

namespace {

constexpr std::wstring_view kHeader5 = L"Windows Registry Editor Version 5.00";
constexpr std::wstring_view kHeader4 = L"REGEDIT4";
constexpr std::wstring_view kRoots[] = {L"HKEY_LOCAL_MACHINE", L"HKEY_CLASSES_ROOT",
                                        L"HKEY_CURRENT_USER", L"HKEY_USERS",
                                        L"HKEY_CURRENT_CONFIG"};

std::wstring DecodeUtf16Le(const std::string& bytes, std::size_t start) {
    std::wstring out;
    for (std::size_t i = start; i + 1 < bytes.size(); i += 2) {
        const auto unit = static_cast<char32_t>(static_cast<unsigned char>(bytes[i]) |
                                                (static_cast<unsigned char>(bytes[i + 1]) << 8));
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < bytes.size()) {
            const auto low = static_cast<char32_t>(static_cast<unsigned char>(bytes[i + 2]) |
                                                   (static_cast<unsigned char>(bytes[i + 3]) << 8));
            if (low >= 0xDC00 && low <= 0xDFFF) {
                out.push_back(
                    static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00)));
                i += 2;
                continue;
            }
        }
        out.push_back(static_cast<wchar_t>(unit));
    }
    return out;
}

std::wstring DecodeFile(const std::string& bytes) {
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
        return DecodeUtf16Le(bytes, 2);
    }
    if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        return Widen(bytes.substr(3));
    }
    return Widen(bytes);
}

std::wstring_view Trim(std::wstring_view text) {
    const auto first = text.find_first_not_of(L" \t");
    if (first == std::wstring_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(L" \t");
    return text.substr(first, last - first + 1);
}

int HexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9') {
        return c - L'0';
    }
    if (c >= L'a' && c <= L'f') {
        return c - L'a' + 10;
    }
    if (c >= L'A' && c <= L'F') {
        return c - L'A' + 10;
    }
    return -1;
}

// Reads a quoted string starting at text[pos] == '"'; on success pos is past the closing quote.
std::optional<std::wstring> ReadQuoted(std::wstring_view text, std::size_t& pos,
                                       std::string& error) {
    std::wstring out;
    for (std::size_t i = pos + 1; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L'"') {
            pos = i + 1;
            return out;
        }
        if (c == L'\\') {
            if (i + 1 >= text.size()) {
                break;
            }
            const wchar_t escaped = text[++i];
            if (escaped != L'\\' && escaped != L'"') {
                error = "unknown escape \"\\" + Narrow(std::wstring(1, escaped)) +
                        "\" (only \\\\ and \\\" are allowed)";
                return std::nullopt;
            }
            out.push_back(escaped);
            continue;
        }
        out.push_back(c);
    }
    error = "missing closing quote";
    return std::nullopt;
}

std::vector<BYTE> Utf16LeToValueBytes(const std::vector<BYTE>& raw) {
    std::string bytes(raw.begin(), raw.end());
    std::wstring text = DecodeUtf16Le(bytes, 0);
    std::vector<BYTE> out(text.size() * sizeof(wchar_t));
    if (!text.empty()) {
        std::memcpy(out.data(), text.data(), out.size());
    }
    return out;
}

// Parses the data after "=": a string, dword:, hex:, hex(N): or "-" (delete).
std::optional<RegValue> ParseData(std::wstring_view data, bool& remove, std::string& error) {
    RegValue value;
    remove = false;
    if (data == L"-") {
        remove = true;
        return value;
    }
    if (!data.empty() && data.front() == L'"') {
        std::size_t pos = 0;
        auto text = ReadQuoted(data, pos, error);
        if (!text) {
            return std::nullopt;
        }
        if (!Trim(data.substr(pos)).empty()) {
            error = "unexpected text after the closing quote";
            return std::nullopt;
        }
        value.type = REG_SZ;
        value.data = StringValueBytes(*text);
        return value;
    }
    if (data.starts_with(L"dword:")) {
        const auto digits = data.substr(6);
        if (digits.empty() || digits.size() > 8) {
            error = "dword value needs 1 to 8 hexadecimal digits";
            return std::nullopt;
        }
        std::uint32_t number = 0;
        for (const wchar_t c : digits) {
            const int d = HexDigit(c);
            if (d < 0) {
                error = "dword value needs 1 to 8 hexadecimal digits";
                return std::nullopt;
            }
            number = (number << 4) | static_cast<std::uint32_t>(d);
        }
        value.type = REG_DWORD;
        value.data.resize(sizeof number);
        std::memcpy(value.data.data(), &number, sizeof number);
        return value;
    }
    if (data.starts_with(L"hex")) {
        std::size_t pos = 3;
        value.type = REG_BINARY;
        if (pos < data.size() && data[pos] == L'(') {
            const auto close = data.find(L')', pos);
            if (close == std::wstring_view::npos || close == pos + 1 || close - pos > 9) {
                error = "hex(TYPE) needs a hexadecimal type number";
                return std::nullopt;
            }
            DWORD type = 0;
            for (std::size_t i = pos + 1; i < close; ++i) {
                const int d = HexDigit(data[i]);
                if (d < 0) {
                    error = "hex(TYPE) needs a hexadecimal type number";
                    return std::nullopt;
                }
                type = (type << 4) | static_cast<DWORD>(d);
            }
            value.type = type;
            pos = close + 1;
        }
        if (pos >= data.size() || data[pos] != L':') {
            error = "expected \":\" after hex";
            return std::nullopt;
        }
        std::wstring_view bytes = data.substr(pos + 1);
        while (!bytes.empty()) {
            const auto comma = bytes.find(L',');
            const auto item = Trim(bytes.substr(0, comma));
            if (item.size() != 2 || HexDigit(item[0]) < 0 || HexDigit(item[1]) < 0) {
                error = "hex data must be two-digit bytes separated by commas";
                return std::nullopt;
            }
            value.data.push_back(static_cast<BYTE>(HexDigit(item[0]) * 16 + HexDigit(item[1])));
            bytes =
                comma == std::wstring_view::npos ? std::wstring_view{} : bytes.substr(comma + 1);
            if (comma != std::wstring_view::npos && Trim(bytes).empty()) {
                error = "hex data ends with a comma";
                return std::nullopt;
            }
        }
        if (value.type == REG_SZ || value.type == REG_EXPAND_SZ || value.type == REG_MULTI_SZ) {
            if (value.data.size() % 2 != 0) {
                error = "string data in hex form needs an even number of bytes";
                return std::nullopt;
            }
            value.data = Utf16LeToValueBytes(value.data);
        }
        return value;
    }
    error = "value data must be \"text\", dword:, hex: or -";
    return std::nullopt;
}

class Parser {
public:
    explicit Parser(std::string name) : m_name(std::move(name)) {}

    RegParseResult Run(const std::wstring& text) {
        std::vector<std::wstring_view> lines;
        std::wstring_view rest(text);
        while (!rest.empty()) {
            const auto end = rest.find(L'\n');
            auto line = rest.substr(0, end);
            if (!line.empty() && line.back() == L'\r') {
                line.remove_suffix(1);
            }
            lines.push_back(line);
            rest = end == std::wstring_view::npos ? std::wstring_view{} : rest.substr(end + 1);
        }
        std::size_t i = 0;
        while (i < lines.size() && Trim(lines[i]).empty()) {
            ++i;
        }
        if (i == lines.size() || (Trim(lines[i]) != kHeader5 && Trim(lines[i]) != kHeader4)) {
            Report(i + 1, "not a registry file: the first line must be \"" +
                              Narrow(std::wstring(kHeader5)) + "\"");
            return std::move(m_result);
        }
        m_result.recognised = true;
        for (++i; i < lines.size(); ++i) {
            const std::size_t number = i + 1;
            std::wstring line(Trim(lines[i]));
            // Long hex data continues on the next line after a trailing backslash.
            while (!line.empty() && line.back() == L'\\' && IsHexLine(line) &&
                   i + 1 < lines.size()) {
                line.pop_back();
                line += Trim(lines[++i]);
            }
            if (line.empty() || line.front() == L';') {
                continue;
            }
            if (line.front() == L'[') {
                Section(line, number);
            } else {
                Value(line, number);
            }
        }
        return std::move(m_result);
    }

private:
    // True for a value line whose data is in hex form (the only form that may continue).
    static bool IsHexLine(std::wstring_view line) {
        std::size_t pos = 0;
        if (line.front() == L'@') {
            pos = 1;
        } else if (line.front() == L'"') {
            std::string error;
            if (!ReadQuoted(line, pos, error)) {
                return false;
            }
        } else {
            return false;
        }
        const auto rest = Trim(line.substr(pos));
        return rest.starts_with(L"=") && Trim(rest.substr(1)).starts_with(L"hex");
    }

    void Report(std::size_t line, const std::string& message) {
        m_result.messages.push_back(m_name + ":" + std::to_string(line) + ": " + message);
    }

    void Section(std::wstring_view line, std::size_t number) {
        m_current.reset();
        if (line.back() != L']') {
            Report(number, "key line must end with \"]\"");
            return;
        }
        std::wstring_view path = Trim(line.substr(1, line.size() - 2));
        const bool remove = !path.empty() && path.front() == L'-';
        if (remove) {
            path.remove_prefix(1);
        }
        while (!path.empty() && path.back() == L'\\') {
            path.remove_suffix(1);
        }
        const auto root = path.substr(0, path.find(L'\\'));
        bool known = false;
        for (const auto candidate : kRoots) {
            known = known || EqualNoCase(root, candidate);
        }
        if (!known) {
            Report(number, "unknown root key \"" + Narrow(std::wstring(root)) + "\"");
            return;
        }
        if (path.find(L"\\\\") != std::wstring_view::npos) {
            Report(number, "empty key name in \"" + Narrow(std::wstring(path)) + "\"");
            return;
        }
        const std::wstring folded = FoldCase(path);
        if (remove) {
            auto it = m_result.tree.lower_bound(folded);
            while (it != m_result.tree.end() &&
                   (it->first == folded || it->first.starts_with(folded + L"\\"))) {
                it = m_result.tree.erase(it);
            }
            return;
        }
        // Every ancestor exists too, as the registry creates them on import.
        for (std::size_t cut = path.find(L'\\'); cut != std::wstring_view::npos;
             cut = path.find(L'\\', cut + 1)) {
            auto& ancestor = m_result.tree[FoldCase(path.substr(0, cut))];
            if (ancestor.path.empty()) {
                ancestor.path = path.substr(0, cut);
            }
        }
        auto& key = m_result.tree[folded];
        key.path = path;
        m_current = folded;
    }

    void Value(std::wstring_view line, std::size_t number) {
        std::wstring name;
        std::size_t pos = 0;
        if (line.front() == L'@') {
            pos = 1;
        } else if (line.front() == L'"') {
            std::string error;
            auto quoted = ReadQuoted(line, pos, error);
            if (!quoted) {
                Report(number, "value name: " + error);
                return;
            }
            name = std::move(*quoted);
        } else {
            Report(number, "expected \"Name\"=value or @=value");
            return;
        }
        const auto rest = Trim(line.substr(pos));
        if (rest.empty() || rest.front() != L'=') {
            Report(number, "expected \"=\" after the value name");
            return;
        }
        bool remove = false;
        std::string error;
        auto value = ParseData(Trim(rest.substr(1)), remove, error);
        if (!value) {
            Report(number, error);
            return;
        }
        if (!m_current) {
            Report(number, "value outside a valid [KEY] section");
            return;
        }
        auto& values = m_result.tree[*m_current].values;
        if (remove) {
            values.erase(FoldCase(name));
            return;
        }
        value->name = name;
        values[FoldCase(name)] = std::move(*value);
    }

    std::string m_name;
    RegParseResult m_result;
    std::optional<std::wstring> m_current; // folded path of the section being read
};

} // namespace

std::vector<BYTE> StringValueBytes(const std::wstring& text) {
    std::vector<BYTE> out((text.size() + 1) * sizeof(wchar_t), 0);
    if (!text.empty()) {
        std::memcpy(out.data(), text.data(), text.size() * sizeof(wchar_t));
    }
    return out;
}

RegParseResult ParseRegFile(const std::string& bytes, const std::string& name) {
    return Parser(name).Run(DecodeFile(bytes));
}

} // namespace win::detail
