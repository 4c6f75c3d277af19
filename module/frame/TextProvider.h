// Texts by numeric identifier, fetched from the language pack "LanguagePack.dll" that lies
// beside "Gantrel.zrx", so that the language is changed by replacing that library.
#pragma once

#include <string>

namespace gantrel {

// What every text look-up answers when the language pack or its function is missing.
inline constexpr wchar_t kMissingText[] = L"failed to load resource";

class TextProvider {
public:
    virtual std::wstring GetText(unsigned id) = 0;
    virtual ~TextProvider() = default;
};

// The drawing tools' text provider, over the pack loaded by LoadLanguagePack.
class TTxt : public TextProvider {
public:
    std::wstring GetText(unsigned id) override;
};

// Loads the drawing tools' language pack unless its "SetUp" was already found. A missing
// library or function leaves every text at kMissingText.
void LoadLanguagePack();
// Frees the drawing tools' language pack.
void UnloadLanguagePack();

// The nesting look-up: loads the pack into a handle of its own on first use and keeps it.
std::wstring GetPackText(unsigned id);

} // namespace gantrel
