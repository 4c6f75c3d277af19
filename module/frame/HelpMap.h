// The help map "help.cfg": one line per name, the name and its help topic separated by tabs.
#pragma once

#include <istream>
#include <map>
#include <string>
#include <vector>

namespace gantrel {

using HelpMap = std::map<std::wstring, std::wstring>;

// Splits a line at tabs (a run of tabs is one separator, empty fields are dropped). A line of
// exactly two fields maps the first to the second; a later line replaces an earlier value.
// With `trim`, each field is also trimmed of tabs, line feeds and blanks (the dialog map).
void AddHelpLine(HelpMap& map, const std::wstring& line, bool trim);
HelpMap ParseHelpMap(const std::vector<std::wstring>& lines, bool trim);
// Reads "help.cfg" from the suite folder; empty when it cannot be read.
HelpMap ReadHelpMap(bool trim);

// The drawing tools' map: read again at each drawing load.
HelpMap& ToolsHelpMap();
void RefreshToolsHelpMap();
// The nesting dialogs' map: read on its first use and kept.
HelpMap& DialogHelpMap();

// The topic stored for `name`. When absent, prints the name, ": " and the host's text of
// status 22, and returns the empty string.
std::wstring LookUpHelpTopic(const HelpMap& map, const std::wstring& name);

} // namespace gantrel
