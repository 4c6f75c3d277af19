// A sectioned key/value container read from and written as text lines ("[Section]",
// "key=value"), in which the takeoff settings are held.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace gantrel {

class INI {
public:
    // Keys in ordinal order; the section's own name is kept under kNameKey.
    using Section = std::map<std::wstring, std::wstring>;
    static constexpr wchar_t kNameKey[] = L"__NAME";

    INI() = default;
    INI(const INI&) = default;
    INI& operator=(const INI&) = default;
    virtual ~INI() = default;

    // Copies of every section whose name equals `name` without regard to case, in order.
    virtual INI SelectSections(const std::wstring& name) const;

    // The value of `key` in the first section named `section` (without regard to case); empty
    // when there is no such section or key.
    std::wstring GetValue(const std::wstring& section, const std::wstring& key) const;
    // Sets key = value in every section named `section`; appends a new section of that name when
    // there is none. The reserved key kNameKey is not set this way.
    void SetValue(const std::wstring& section, const std::wstring& key, const std::wstring& value);

    // Reads the lines, appending the sections they hold. Text from the first ";" on is a comment;
    // "[name]" opens a section; "key = value" sets a key of the current section (the first two
    // non-empty fields between "=", trimmed; a line with fewer sets nothing); lines before the
    // first section are ignored.
    void Parse(const std::vector<std::wstring>& lines);
    // "[name]" for each section in order, then "key=value" for each of its keys in key order.
    // A value holding ";" or "=" does not survive being read back.
    std::vector<std::wstring> Write() const;

    const std::vector<Section>& Sections() const { return sections_; }
    bool Empty() const { return sections_.empty(); }
    void Clear() { sections_.clear(); }

    static std::wstring NameOf(const Section& section);
    // Section names compare without regard to case.
    static bool SameName(const std::wstring& a, const std::wstring& b);

private:
    std::vector<Section> sections_;
};

// Parses the lines of a UTF-8 text file into `ini`; false (and `ini` unchanged) when the file
// cannot be read.
bool ReadIniFile(const std::wstring& path, INI& ini);

} // namespace gantrel
