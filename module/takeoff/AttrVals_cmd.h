// The commands "Tallimo:Attributes" (the value-list editor) and "Tallimo:Settings" (the
// settings editor): their command classes, which alone name them.
#pragma once

#include "frame/Commands.h"

#include <string>

namespace gantrel {

class AttrVals_cmd : public Tallimo_cmd {
public:
    std::wstring GetGlobalName() override { return L"Tallimo:Attributes"; }
    std::wstring GetLocalName() override { return L"Tallimo:Attributes"; }
};

class Settings_cmd : public Tallimo_cmd {
public:
    std::wstring GetGlobalName() override { return L"Tallimo:Settings"; }
    std::wstring GetLocalName() override { return L"Tallimo:Settings"; }
};

} // namespace gantrel
