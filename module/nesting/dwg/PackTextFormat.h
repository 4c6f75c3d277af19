// Numbers put into texts of the language pack. The pack is a file the user can replace, so its
// format strings are checked before any value is put into them.
#pragma once

#include <string>
#include <variant>
#include <vector>

namespace gantrel {

using FormatValue = std::variant<int, double>;

// The text with its printf conversions filled from the values in order. The text is used as a
// format only when its conversions match the values one for one: %d or %i for an int, %f, %e or
// %g (any case, with an optional l) for a double, each with optional flags, width and precision,
// and %% for a percent sign. Any other text is printed as it is, followed by the values, each
// after a blank, so that no number is lost when the pack is missing or its text is wrong.
std::wstring FormatPackText(const std::wstring& text, const std::vector<FormatValue>& values);

} // namespace gantrel
