// The pages of the settings editor: one SettingsTab per settings section, each a grid of the
// section's rows (Tab_Project "Drawing", Tab_Draw "Hatch", Tab_Description for each description
// section, Tab_BackGround), held by the tab control SettingsTabs.
#pragma once

#include "takeoff/SettingsPages.h"
#include "takeoff/Settings_List.h"
#include "ui/Tabs.h"

#include <vector>

namespace gantrel {

class SettingsTab : public Tab {
public:
    explicit SettingsTab(SettingsPage page);

    BOOL OnInitDialog() override;
    // The page with every row's value as the grid shows it now.
    virtual SettingsPage Collect();
    const SettingsPage& Page() const { return m_page; }

protected:
    // Puts the row's editor in the grid: an edit, a combo of its choices, the file button.
    void ShowRow(int row);

    SettingsPage m_page;
    Settings_List m_grid;
};

class Tab_Project : public SettingsTab {
public:
    using SettingsTab::SettingsTab;
};

class Tab_Draw : public SettingsTab {
public:
    using SettingsTab::SettingsTab;
};

class Tab_BackGround : public SettingsTab {
public:
    using SettingsTab::SettingsTab;
};

// A description page: its template's block is loaded (when the drawing lacks it) and its tags
// offered in every row from the third on, when the page is filled and whenever a template file
// is chosen with the "..." button.
class Tab_Description : public SettingsTab {
public:
    using SettingsTab::SettingsTab;
    BOOL OnInitDialog() override;

private:
    void UseTemplate(const std::wstring& path);
};

class SettingsTabs : public Tabs {
public:
    // Makes the six pages of the settings inside this control.
    void Fill(const INI& settings);
    // The settings of every page, in page order.
    INI Collect();

private:
    std::vector<SettingsTab*> m_tabs;
};

} // namespace gantrel
