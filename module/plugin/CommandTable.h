// The module's commands in the order they are added to the host's command stack, and the
// shared objects the drawing-tool commands are handed.
#pragma once

#include "zcrxapp.h"

#include <string>
#include <vector>

namespace gantrel {

class TextProvider;

struct CommandRow {
    std::wstring group;
    std::wstring globalName;
    std::wstring localName;
    int flags = 0;
    ZcRxFunctionPtr handler = nullptr;
};

// Every command whose class exists, in table order. The names of Plaxen and Tallimo commands
// come from a fresh object of their command class.
std::vector<CommandRow> CommandTable();

// The three groups, in the order they are removed at unload.
inline const wchar_t* const kCommandGroups[] = {L"Gantrel", L"Plaxen", L"Tallimo"};

// The drawing tools' shared text provider: created at the first drawing load, deleted at
// unload; null in between.
TextProvider* SharedTexts();
void CreateSharedTexts();
void DeleteSharedTexts();

} // namespace gantrel
