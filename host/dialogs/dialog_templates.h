// The registered dialog templates, as CDialog reads them. Not part of what the module sees.
#pragma once

#include "cwnd.h"
#include "dialog_resources.h"

#include <optional>
#include <string>
#include <vector>

namespace dialogs::detail {

struct StoredItem {
    int id = 0;
    DialogItemKind kind = DialogItemKind::Label;
    std::wstring text;
    RECT rect{0, 0, 0, 0};
    DWORD style = 0; // the kind's own style bits, WS_VISIBLE, WS_DISABLED and WS_TABSTOP included
};

struct StoredDialog {
    UINT id = 0;
    std::wstring caption;
    RECT rect{0, 0, 0, 0};
    DWORD style = 0;
    std::vector<StoredItem> items;
};

std::optional<StoredDialog> FindDialogResource(UINT id);
// Creates the control of one template item as a child of `parent`; false when it cannot be made.
bool CreateTemplateControl(const StoredItem& item, CWnd& parent);

} // namespace dialogs::detail
