// What the settings editor shows: one page per settings section, one row per key, each row
// knowing its key, its label, how it is edited and its value; and the settings a set of pages
// stands for when the editor is closed with OK.
#pragma once

#include "frame/Ini.h"

#include <string>
#include <vector>

namespace gantrel {

enum class RowKind {
    Text,       // typed
    Choice,     // chosen from a list ("Units", "Pattern")
    Template,   // a template path, typed or chosen with the "..." file button
    Tag,        // an attribute tag of the page's template block
    Background, // the background type, shown as a language-pack text
};

struct SettingsRow {
    std::wstring key;
    RowKind kind = RowKind::Text;
    std::wstring value;                // as shown
    std::vector<std::wstring> choices; // for Choice, Tag and Background rows
};

struct SettingsPage {
    unsigned caption = 0; // language-pack text of the tab
    std::wstring section;
    std::vector<SettingsRow> rows;
};

// The language-pack text of a key's row label; 0 for a key that has none (its label is the key).
unsigned RowLabelId(const std::wstring& key);

// The background type as shown: the text id for "frame", "wipeout" (any case) and anything else.
unsigned BackgroundTextId(const std::wstring& stored);
// The stored type of a shown text: "wipeout", "frame", or "none" for any other text.
std::wstring BackgroundStoredValue(const std::wstring& shown);

// The six pages for the settings, with the "Units" and "Hatches" choices of "Tallimo.cfg". A
// value that is not among a row's choices is added to them, so that opening and closing the
// editor never loses it. Tag rows get their choices from the page's template later.
std::vector<SettingsPage> SettingsPages(const INI& settings, const std::vector<std::wstring>& units,
                                        const std::vector<std::wstring>& hatches);

// Gives every Tag row of a description page the tags as choices, its own value kept among them.
void SetTagChoices(SettingsPage& page, const std::vector<std::wstring>& tags);

// The settings the pages stand for, section by section in page order: every row's key and
// value, the background type stored by its shown text.
INI CollectSettings(const std::vector<SettingsPage>& pages);

} // namespace gantrel
