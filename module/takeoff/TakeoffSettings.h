// The takeoff settings: "Tallimo.ini" of the suite, overridden key by key by the drawing's
// "Tallimo_Settings" entry. The effective settings are module-wide, loaded on first use and
// again only after a save empties them.
#pragma once

#include "frame/Ini.h"

#include <string>
#include <vector>

#include "zcdball.h"

namespace gantrel {

// The six sections the settings editor shows, in the order they are saved.
inline const wchar_t* const kSettingsSections[] = {L"Drawing",          L"Hatch",
                                                   L"ArealDescription", L"LinearDescription",
                                                   L"CountDescription", L"BackGround"};
// The three description sections, in the order areal, linear, count.
inline const wchar_t* const kDescriptionSections[] = {L"ArealDescription", L"LinearDescription",
                                                      L"CountDescription"};

// The effective settings, loaded first when they are empty: "Tallimo.ini" is read (a file
// that cannot be opened is reported on the command line, every time), the drawing's entry
// read, and each of its keys set in the file's settings.
const INI& LoadSettings();
// Empties the effective settings; the next use loads them again.
void ResetSettings();
// The settings last read from "Tallimo.ini" (empty before the first load or when it is
// missing).
const INI& FileSettings();

// Sets every key of `drawing`, section by section in order, in `effective` (a section is
// appended when there is none of that name); keys only `effective` has stay.
void MergeSettings(INI& effective, const INI& drawing);

// The settings a legacy positional list stands for (see the .cpp for the positions); empty
// entries set nothing.
INI LegacySettings(const std::vector<std::wstring>& entries);

// The settings the working drawing holds: its "Tallimo_Settings" entry parsed as "Tallimo.ini"
// is; a drawing without that entry but with the legacy "P_Ustawienia" list gives that list's
// settings instead.
class SettingsDWGReader {
public:
    explicit SettingsDWGReader(ZcDbDatabase* db);
    virtual ~SettingsDWGReader() = default;
    const INI& Settings() const { return m_settings; }

private:
    INI m_settings;
};

// What follows a save of the drawing's settings: the companion program's cached settings are
// dropped, and the effective settings are emptied and loaded again.
class SettingsSaver {
public:
    virtual ~SettingsSaver() = default;
    virtual void AfterSave();
};

// Saves the settings as the drawing's "Tallimo_Settings" entry (replacing it whole).
class SettingsSaver_DictionaryXData : public SettingsSaver {
public:
    explicit SettingsSaver_DictionaryXData(ZcDbDatabase* db) : m_db(db) {}
    ~SettingsSaver_DictionaryXData() override = default;
    void AfterSave() override;
    // Writes the entry (a failure is printed and leaves the entry as it was), then AfterSave
    // runs whatever the outcome. 0 or the host's status of the write.
    virtual int Save(const INI& settings);

private:
    ZcDbDatabase* m_db;
};

} // namespace gantrel
