// The string's letter-case and trimming operations.
#include "afx_string.h"

#include <algorithm>
#include <cwctype>
#include <string_view>

int CString::CompareNoCase(const wchar_t* other) const {
    const std::wstring_view right = other == nullptr ? L"" : other;
    const std::size_t count = std::min(size(), right.size());
    for (std::size_t i = 0; i < count; ++i) {
        const auto a = std::towlower(static_cast<wint_t>((*this)[i]));
        const auto b = std::towlower(static_cast<wint_t>(right[i]));
        if (a != b) {
            return a < b ? -1 : 1;
        }
    }
    if (size() == right.size()) {
        return 0;
    }
    return size() < right.size() ? -1 : 1;
}

CString& CString::MakeLower() {
    for (auto& ch : *this) {
        ch = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(ch)));
    }
    return *this;
}

CString& CString::MakeUpper() {
    for (auto& ch : *this) {
        ch = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(ch)));
    }
    return *this;
}

CString& CString::Trim() {
    const auto blank = [](wchar_t ch) { return std::iswspace(static_cast<wint_t>(ch)) != 0; };
    while (!empty() && blank(back())) {
        pop_back();
    }
    std::size_t first = 0;
    while (first < size() && blank((*this)[first])) {
        ++first;
    }
    erase(0, first);
    return *this;
}
