// The suite's takeoff files: "Tallimo.ini" (the settings every drawing starts from) and
// "Tallimo.cfg" (choices and extra values in "<Name>" ... "</Name>" blocks). Both are read
// only; the module never writes them.
#pragma once

#include <string>
#include <vector>

namespace gantrel {

// The suite folder + "\Tallimo.ini" and + "\Tallimo.cfg".
std::wstring TallimoIniPath();
std::wstring TallimoCfgPath();

// The lines of block `name`: those after the first line equal to "<name>" up to the next line
// equal to "</name>", or to the end when that marker is missing. Markers are compared whole and
// without regard to case; content lines are taken as they are. No such block: no lines.
std::vector<std::wstring> CfgBlock(const std::vector<std::wstring>& lines,
                                   const std::wstring& name);

// CfgBlock of the suite's "Tallimo.cfg"; no lines when the file cannot be read.
std::vector<std::wstring> ReadCfgBlock(const std::wstring& name);

// The block name a template path stands for: the file name without folder and extension.
std::wstring TemplateBlockName(const std::wstring& templatePath);

// The file a template path is loaded from: the path itself when it exists; for a path ending in
// ".dwg" (any case) that does not exist, the drawing of the same name ending in ".dxf" beside it
// when that exists. Empty when neither exists.
std::wstring ResolveTemplateFile(const std::wstring& templatePath);

} // namespace gantrel
