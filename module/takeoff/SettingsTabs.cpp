#include "takeoff/SettingsTabs.h"

#include "frame/TextProvider.h"
#include "resources/TakeoffResources.h"
#include "takeoff/DescriptionBlocks.h"
#include "takeoff/TakeoffFiles.h"

#include <memory>

namespace gantrel {

namespace {

constexpr int kLabelColumn = 0;
constexpr int kValueColumn = 1;
constexpr int kButtonColumn = 2;

UI_StringArray Choices(const std::vector<std::wstring>& choices) {
    UI_StringArray array;
    for (const std::wstring& choice : choices) {
        array.Add(choice.c_str());
    }
    return array;
}

} // namespace

SettingsTab::SettingsTab(SettingsPage page) : Tab(IDD_SETTINGS_PAGE), m_page(std::move(page)) {}

BOOL SettingsTab::OnInitDialog() {
    Tab::OnInitDialog();
    m_grid.SubclassDlgItem(IDC_SETTINGS_GRID, this);
    m_grid.m_lock = 1;
    m_grid.InsertColumn(kLabelColumn, GetPackText(51022).c_str(), LVCFMT_LEFT, 200);
    m_grid.InsertColumn(kValueColumn, GetPackText(51023).c_str(), LVCFMT_LEFT, 200);
    m_grid.InsertColumn(kButtonColumn, L"", LVCFMT_LEFT, 20);
    m_grid.SetRowHeight(22);
    for (int row = 0; row < static_cast<int>(m_page.rows.size()); ++row) {
        const SettingsRow& setting = m_page.rows[static_cast<std::size_t>(row)];
        const unsigned label = RowLabelId(setting.key);
        m_grid.InsertRow(row, label != 0 ? GetPackText(label).c_str() : setting.key.c_str());
        m_grid.SetItemText(row, kValueColumn, setting.value.c_str());
        ShowRow(row);
    }
    return TRUE;
}

void SettingsTab::ShowRow(int row) {
    const SettingsRow& setting = m_page.rows[static_cast<std::size_t>(row)];
    switch (setting.kind) {
    case RowKind::Text:
        m_grid.AddEdit(row, kValueColumn);
        break;
    case RowKind::Template:
        m_grid.AddEdit(row, kValueColumn);
        m_grid.AddFileButton(row, kButtonColumn);
        break;
    case RowKind::Choice:
    case RowKind::Tag:
    case RowKind::Background:
        m_grid.AddCombo(row, kValueColumn, Choices(setting.choices), false);
        m_grid.SelectComboText(row, kValueColumn, setting.value.c_str());
        break;
    }
}

SettingsPage SettingsTab::Collect() {
    SettingsPage page = m_page;
    for (int row = 0; row < static_cast<int>(page.rows.size()); ++row) {
        page.rows[static_cast<std::size_t>(row)].value = m_grid.GetCellText(row, kValueColumn);
    }
    return page;
}

BOOL Tab_Description::OnInitDialog() {
    SettingsTab::OnInitDialog();
    m_grid.onFileChosen = [this](int row) { UseTemplate(m_grid.GetCellText(row, kValueColumn)); };
    if (!m_page.rows.empty()) {
        UseTemplate(m_page.rows.front().value);
    }
    return TRUE;
}

void Tab_Description::UseTemplate(const std::wstring& path) {
    const std::optional<std::vector<std::wstring>> tags = TemplateTags(path);
    if (!tags) {
        return;
    }
    // Each tag row keeps what it shows now among its new choices.
    SettingsPage shown = Collect();
    SetTagChoices(shown, *tags);
    for (int row = 0; row < static_cast<int>(shown.rows.size()); ++row) {
        SettingsRow& setting = shown.rows[static_cast<std::size_t>(row)];
        if (setting.kind != RowKind::Tag) {
            continue;
        }
        m_page.rows[static_cast<std::size_t>(row)].choices = setting.choices;
        m_grid.SetComboChoices(row, kValueColumn, Choices(setting.choices));
        m_grid.SelectComboText(row, kValueColumn, setting.value.c_str());
    }
}

void SettingsTabs::Fill(const INI& settings) {
    for (SettingsPage& page :
         SettingsPages(settings, ReadCfgBlock(L"Units"), ReadCfgBlock(L"Hatches"))) {
        const unsigned caption = page.caption;
        const std::wstring section = page.section;
        std::unique_ptr<SettingsTab> tab;
        if (section == L"Drawing") {
            tab = std::make_unique<Tab_Project>(std::move(page));
        } else if (section == L"Hatch") {
            tab = std::make_unique<Tab_Draw>(std::move(page));
        } else if (section == L"BackGround") {
            tab = std::make_unique<Tab_BackGround>(std::move(page));
        } else {
            tab = std::make_unique<Tab_Description>(std::move(page));
        }
        if (!tab->CreatePage(this)) {
            continue;
        }
        m_tabs.push_back(tab.get());
        AddPage(tab.release(), GetPackText(caption).c_str());
    }
}

INI SettingsTabs::Collect() {
    std::vector<SettingsPage> pages;
    for (SettingsTab* tab : m_tabs) {
        pages.push_back(tab->Collect());
    }
    return CollectSettings(pages);
}

} // namespace gantrel
