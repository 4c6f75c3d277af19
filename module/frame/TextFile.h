// Reading a UTF-8 text file as wide lines.
#pragma once

#include <string>
#include <vector>

namespace gantrel {

// The lines of the file without their line ends ("\r\n" or "\n") and without a leading
// byte-order mark; false when it cannot be read.
bool ReadTextLines(const std::wstring& path, std::vector<std::wstring>& lines);

// The text without leading and trailing tabs, line feeds and blanks.
std::wstring TrimmedField(const std::wstring& text);
// The fields of a line between separators; with `trim` each is trimmed first. Fields left
// empty are dropped, so a run of separators counts as one.
std::vector<std::wstring> SplitFields(const std::wstring& line, wchar_t separator, bool trim);

} // namespace gantrel
