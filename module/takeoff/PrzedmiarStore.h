// The drawing's takeoff store: the dictionary "Przedmiar" in the named-objects dictionary, whose
// entries are extended data on the dictionary object itself, one registered application name
// per entry ("Tallimo_Settings" for the drawing's settings, an attribute tag for its value list).
#pragma once

#include <string>
#include <vector>

#include "zcdball.h"

namespace gantrel {

inline constexpr wchar_t kPrzedmiarDictionary[] = L"Przedmiar";
inline constexpr wchar_t kSettingsEntry[] = L"Tallimo_Settings";
inline constexpr wchar_t kLegacySettingsEntry[] = L"P_Ustawienia";

// The id of the "Przedmiar" dictionary, which is created empty when the drawing has none; 0
// or the host's status.
int PrzedmiarDictionary(ZcDbDatabase* db, ZcDbObjectId& id);

// The text one extended-data record reads as: strings (1000 to 1003, 1005) as they are; the
// first coordinate of a point (1010 to 1013, 1020 to 1023, 1030 to 1033) and reals (1040 to
// 1042) with six decimals; a 16-bit integer (1070) in decimal; anything else as empty text.
std::wstring XDataRecordText(const resbuf& record);

// The entry's records after its application name, read as XDataRecordText; empty when the
// entry is absent or the store cannot be reached.
std::vector<std::wstring> ReadPrzedmiarEntry(ZcDbDatabase* db, const std::wstring& appName);

// Replaces the whole entry by one string record per value (an empty list removes the entry),
// registering the application name first. 0 or the host's status; on failure the stored
// entry is as it was.
int WritePrzedmiarEntry(ZcDbDatabase* db, const std::wstring& appName,
                        const std::vector<std::wstring>& values);

} // namespace gantrel
