// Reading a UTF-8 text file as wide lines.
#pragma once

#include <string>
#include <vector>

namespace gantrel {

// The lines of the file without their line ends ("\r\n" or "\n") and without a leading
// byte-order mark; false when it cannot be read.
bool ReadTextLines(const std::wstring& path, std::vector<std::wstring>& lines);

} // namespace gantrel
