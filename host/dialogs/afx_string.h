// The framework's string and string array: wide text with the operations window code uses.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

class CString : public std::wstring {
public:
    CString() = default;
    CString(const wchar_t* text) : std::wstring(text == nullptr ? L"" : text) {} // NOLINT
    CString(std::wstring text) : std::wstring(std::move(text)) {}                // NOLINT
    CString(wchar_t ch, int count) : std::wstring(static_cast<std::size_t>(count), ch) {}

    int GetLength() const { return static_cast<int>(size()); }
    bool IsEmpty() const { return empty(); }
    void Empty() { clear(); }
    wchar_t GetAt(int index) const { return at(static_cast<std::size_t>(index)); }
    operator const wchar_t*() const { return c_str(); } // NOLINT: the framework's conversion
    const wchar_t* GetString() const { return c_str(); }

    CString Left(int count) const { return CString(substr(0, Clamp(count))); }
    CString Mid(int first) const { return CString(substr(Clamp(first))); }
    CString Mid(int first, int count) const {
        return CString(substr(Clamp(first), static_cast<std::size_t>(count < 0 ? 0 : count)));
    }
    CString Right(int count) const {
        const std::size_t n = Clamp(count);
        return CString(substr(size() - n));
    }
    int Find(wchar_t ch, int start = 0) const { return Position(find(ch, Clamp(start))); }
    int Find(const wchar_t* text, int start = 0) const {
        return Position(find(text, Clamp(start)));
    }
    int CompareNoCase(const wchar_t* other) const;
    CString& MakeLower();
    CString& MakeUpper();
    CString& Trim();

private:
    std::size_t Clamp(int n) const {
        return n < 0 ? 0 : (static_cast<std::size_t>(n) > size() ? size() : static_cast<size_t>(n));
    }
    static int Position(std::size_t at) { return at == npos ? -1 : static_cast<int>(at); }
};

inline CString operator+(const CString& a, const CString& b) {
    return CString(static_cast<const std::wstring&>(a) + static_cast<const std::wstring&>(b));
}
inline CString operator+(const CString& a, const wchar_t* b) {
    return a + CString(b);
}
inline CString operator+(const wchar_t* a, const CString& b) {
    return CString(a) + b;
}

class CStringArray {
public:
    virtual ~CStringArray() = default;
    int GetSize() const { return static_cast<int>(m_items.size()); }
    int GetCount() const { return GetSize(); }
    bool IsEmpty() const { return m_items.empty(); }
    int Add(const CString& text) {
        m_items.push_back(text);
        return GetSize() - 1;
    }
    const CString& GetAt(int index) const { return m_items.at(static_cast<std::size_t>(index)); }
    void SetAt(int index, const CString& text) {
        m_items.at(static_cast<std::size_t>(index)) = text;
    }
    CString& operator[](int index) { return m_items.at(static_cast<std::size_t>(index)); }
    const CString& operator[](int index) const { return GetAt(index); }
    void RemoveAt(int index) {
        if (index >= 0 && index < GetSize()) {
            m_items.erase(m_items.begin() + index);
        }
    }
    void RemoveAll() { m_items.clear(); }

private:
    std::vector<CString> m_items;
};
