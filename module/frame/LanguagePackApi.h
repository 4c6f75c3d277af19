// The one function a language pack exports: "SetUp" fills `text` with the text of `id` (and
// leaves it empty for an identifier it does not know).
#pragma once

#include <string>

namespace gantrel {

using LanguagePackSetUp = void (*)(unsigned id, std::wstring& text);

inline constexpr char kLanguagePackFunction[] = "SetUp";
inline constexpr wchar_t kLanguagePackFile[] = L"LanguagePack.dll";
inline constexpr wchar_t kModuleFile[] = L"Gantrel.zrx";

} // namespace gantrel
