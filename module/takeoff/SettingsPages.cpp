#include "takeoff/SettingsPages.h"

#include "frame/TextProvider.h"

#include <algorithm>
#include <utility>

namespace gantrel {

namespace {

constexpr unsigned kFrameText = 51019;
constexpr unsigned kWipeoutText = 51020;
constexpr unsigned kNoneText = 51021;

const std::pair<const wchar_t*, unsigned> kRowLabels[] = {
    {L"Size", 51001},           {L"Pattern", 51003},      {L"Scale", 51004},
    {L"Units", 51005},          {L"Template", 51006},     {L"AreaAttrName", 51008},
    {L"AreaAttrUnit", 51009},   {L"LenAttrName", 51010},  {L"LenAttrUnit", 51011},
    {L"AutoNrAttrName", 51012}, {L"DescAttrName", 51013}, {L"LocalAttr", 51014},
    {L"ExpressionAttr", 51015}, {L"IDAttrName", 51016},   {L"Type", 51018},
    {L"Precision", 51024}};

// The page captions, in page order, with their sections.
const std::pair<unsigned, const wchar_t*> kPages[] = {
    {51100, L"Drawing"},          {51101, L"Hatch"},
    {51102, L"ArealDescription"}, {51103, L"LinearDescription"},
    {51104, L"CountDescription"}, {51105, L"BackGround"}};

std::vector<std::wstring> WithValue(std::vector<std::wstring> choices, const std::wstring& value) {
    if (!value.empty() && std::find(choices.begin(), choices.end(), value) == choices.end()) {
        choices.push_back(value);
    }
    return choices;
}

// The keys of the first section of that name, in key order, but for the reserved name key and
// the given ones.
std::vector<std::wstring> OtherKeys(const INI& settings, const std::wstring& section,
                                    std::initializer_list<const wchar_t*> shownAlready) {
    std::vector<std::wstring> keys;
    const INI selected = settings.SelectSections(section);
    if (selected.Empty()) {
        return keys;
    }
    for (const auto& [key, value] : selected.Sections().front()) {
        if (key == INI::kNameKey ||
            std::any_of(shownAlready.begin(), shownAlready.end(),
                        [&](const wchar_t* shown) { return key == shown; })) {
            continue;
        }
        keys.push_back(key);
    }
    return keys;
}

} // namespace

unsigned RowLabelId(const std::wstring& key) {
    for (const auto& [name, id] : kRowLabels) {
        if (key == name) {
            return id;
        }
    }
    return 0;
}

unsigned BackgroundTextId(const std::wstring& stored) {
    if (INI::SameName(stored, L"frame")) {
        return kFrameText;
    }
    if (INI::SameName(stored, L"wipeout")) {
        return kWipeoutText;
    }
    return kNoneText;
}

std::wstring BackgroundStoredValue(const std::wstring& shown) {
    if (shown == GetPackText(kWipeoutText)) {
        return L"wipeout";
    }
    if (shown == GetPackText(kFrameText)) {
        return L"frame";
    }
    return L"none";
}

std::vector<SettingsPage> SettingsPages(const INI& settings, const std::vector<std::wstring>& units,
                                        const std::vector<std::wstring>& hatches) {
    std::vector<SettingsPage> pages;
    for (const auto& [caption, section] : kPages) {
        SettingsPage page{caption, section, {}};
        auto value = [&](const std::wstring& key) { return settings.GetValue(section, key); };
        const std::wstring name = section;
        if (name == L"Drawing") {
            page.rows.push_back(
                {L"Units", RowKind::Choice, value(L"Units"), WithValue(units, value(L"Units"))});
            page.rows.push_back({L"Precision", RowKind::Text, value(L"Precision"), {}});
        } else if (name == L"Hatch") {
            page.rows.push_back({L"Pattern", RowKind::Choice, value(L"Pattern"),
                                 WithValue(hatches, value(L"Pattern"))});
            page.rows.push_back({L"Scale", RowKind::Text, value(L"Scale"), {}});
        } else if (name == L"BackGround") {
            // The type is edited as a choice whatever other keys the section holds; the
            // others are typed.
            for (const std::wstring& key : OtherKeys(settings, section, {})) {
                if (key == L"Type") {
                    std::vector<std::wstring> shown;
                    for (const unsigned id : {kFrameText, kWipeoutText, kNoneText}) {
                        shown.push_back(GetPackText(id));
                    }
                    page.rows.push_back({key, RowKind::Background,
                                         GetPackText(BackgroundTextId(value(key))), shown});
                } else {
                    page.rows.push_back({key, RowKind::Text, value(key), {}});
                }
            }
        } else {
            page.rows.push_back({L"Template", RowKind::Template, value(L"Template"), {}});
            page.rows.push_back({L"Size", RowKind::Text, value(L"Size"), {}});
            for (const std::wstring& key : OtherKeys(settings, section, {L"Template", L"Size"})) {
                page.rows.push_back({key, RowKind::Tag, value(key), WithValue({}, value(key))});
            }
        }
        pages.push_back(std::move(page));
    }
    return pages;
}

void SetTagChoices(SettingsPage& page, const std::vector<std::wstring>& tags) {
    for (SettingsRow& row : page.rows) {
        if (row.kind == RowKind::Tag) {
            row.choices = WithValue(tags, row.value);
        }
    }
}

INI CollectSettings(const std::vector<SettingsPage>& pages) {
    INI settings;
    for (const SettingsPage& page : pages) {
        for (const SettingsRow& row : page.rows) {
            settings.SetValue(page.section, row.key,
                              row.kind == RowKind::Background ? BackgroundStoredValue(row.value)
                                                              : row.value);
        }
    }
    return settings;
}

} // namespace gantrel
