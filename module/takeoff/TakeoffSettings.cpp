#include "takeoff/TakeoffSettings.h"

#include "drawing/ZWDrawer.h"
#include "frame/Printer.h"
#include "takeoff/CompanionSymbols.h"
#include "takeoff/PrzedmiarStore.h"
#include "takeoff/TakeoffFiles.h"

namespace gantrel {

namespace {

INI& Effective() {
    static INI settings;
    return settings;
}

INI& FromFile() {
    static INI settings;
    return settings;
}

// Where the entries of the legacy positional list go: position, section (kAllDescriptions:
// the three description sections; kArealAndLinear: the areal and the linear one), key.
// Positions 0 and 5 carry nothing the settings keep.
struct LegacySlot {
    std::size_t position;
    const wchar_t* section;
    const wchar_t* key;
};

constexpr wchar_t kAllDescriptions[] = L"*";
constexpr wchar_t kArealAndLinear[] = L"*AL";

const LegacySlot kLegacySlots[] = {
    {1, kAllDescriptions, L"Size"},
    {2, L"Hatch", L"Pattern"},
    {3, L"Hatch", L"Scale"},
    {4, L"Drawing", L"Units"},
    {6, kAllDescriptions, L"Template"},
    {7, kAllDescriptions, L"AutoNrAttrName"},
    {8, kAllDescriptions, L"DescAttrName"},
    {9, kArealAndLinear, L"LenAttrName"},
    {10, kArealAndLinear, L"LenAttrUnit"},
    {11, L"ArealDescription", L"AreaAttrName"},
    {12, L"ArealDescription", L"AreaAttrUnit"},
    {13, kAllDescriptions, L"LocalAttr"},
    {14, kAllDescriptions, L"ExpressionAttr"},
    // Filed under the key the current settings use for the identifier tag.
    {15, kAllDescriptions, L"IDAttrName"},
    {16, L"BackGround", L"Type"},
};

} // namespace

void MergeSettings(INI& effective, const INI& drawing) {
    for (const INI::Section& section : drawing.Sections()) {
        const std::wstring name = INI::NameOf(section);
        for (const auto& [key, value] : section) {
            if (key != INI::kNameKey) {
                effective.SetValue(name, key, value);
            }
        }
    }
}

INI LegacySettings(const std::vector<std::wstring>& entries) {
    INI settings;
    for (const LegacySlot& slot : kLegacySlots) {
        if (entries.size() <= slot.position || entries[slot.position].empty()) {
            continue;
        }
        const std::wstring& value = entries[slot.position];
        const std::wstring section = slot.section;
        if (section == kAllDescriptions) {
            for (const wchar_t* description : kDescriptionSections) {
                settings.SetValue(description, slot.key, value);
            }
        } else if (section == kArealAndLinear) {
            settings.SetValue(L"ArealDescription", slot.key, value);
            settings.SetValue(L"LinearDescription", slot.key, value);
        } else {
            settings.SetValue(section, slot.key, value);
        }
    }
    return settings;
}

SettingsDWGReader::SettingsDWGReader(ZcDbDatabase* db) {
    const std::vector<std::wstring> lines = ReadPrzedmiarEntry(db, kSettingsEntry);
    if (!lines.empty()) {
        m_settings.Parse(lines);
        return;
    }
    // A drawing from before the sectioned entry: its positional list stands in, and only
    // until the settings are saved in the current form.
    m_settings = LegacySettings(ReadPrzedmiarEntry(db, kLegacySettingsEntry));
}

const INI& LoadSettings() {
    INI& effective = Effective();
    if (!effective.Empty()) {
        return effective;
    }
    INI& fromFile = FromFile();
    fromFile.Clear();
    const std::wstring path = TallimoIniPath();
    if (!ReadIniFile(path, fromFile)) {
        PrintOnCommandLine(path + L"! ", true);
        PrintErrorStatus(Zcad::eFileNotFound);
    }
    effective = fromFile;
    MergeSettings(effective, SettingsDWGReader(WorkingDatabase()).Settings());
    return effective;
}

void ResetSettings() {
    Effective().Clear();
}

const INI& FileSettings() {
    return FromFile();
}

void SettingsSaver::AfterSave() {
    ResetSettingsSymbols();
    ResetSettings();
    LoadSettings();
}

void SettingsSaver_DictionaryXData::AfterSave() {
    SettingsSaver::AfterSave();
}

int SettingsSaver_DictionaryXData::Save(const INI& settings) {
    const int status = WritePrzedmiarEntry(m_db, kSettingsEntry, settings.Write());
    if (status != Zcad::eOk) {
        PrintErrorStatus(status);
    }
    AfterSave();
    return status;
}

} // namespace gantrel
