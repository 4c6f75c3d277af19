// The table of registered dialog templates and the making of their controls.
#include "dialog_templates.h"
#include "list_ctrl.h"
#include "tab_ctrl.h"
#include "tree_ctrl.h"
#include "window_state.h"

#include <map>
#include <memory>
#include <mutex>

using namespace dialogs::detail;

namespace {

struct ResourceTable {
    std::mutex mutex;
    std::map<UINT, StoredDialog> dialogs;
};

ResourceTable& Resources() {
    static auto* table = new ResourceTable; // read by UI threads that may outlive main
    return *table;
}

DWORD KindStyle(DialogItemKind kind) {
    switch (kind) {
    case DialogItemKind::DefPushButton:
        return BS_DEFPUSHBUTTON;
    case DialogItemKind::CheckBox:
        return BS_AUTOCHECKBOX;
    case DialogItemKind::Edit:
        return ES_AUTOHSCROLL | WS_BORDER;
    case DialogItemKind::NumberEdit:
        return ES_AUTOHSCROLL | WS_BORDER | ES_NUMBER;
    case DialogItemKind::ComboDropDown:
        return CBS_DROPDOWN | WS_VSCROLL;
    case DialogItemKind::ComboDropList:
        return CBS_DROPDOWNLIST | WS_VSCROLL;
    case DialogItemKind::ListReport:
        return LVS_REPORT | WS_BORDER;
    case DialogItemKind::Tree:
        return WS_BORDER;
    default:
        return 0;
    }
}

} // namespace

void RegisterDialogResource(const DialogResource& resource) {
    StoredDialog stored;
    stored.id = resource.id;
    stored.caption = resource.caption != nullptr ? resource.caption : L"";
    stored.rect = resource.rect;
    stored.style = resource.style;
    for (const DialogItem& item : resource.items) {
        StoredItem copy;
        copy.id = item.id;
        copy.kind = item.kind;
        copy.text = item.text != nullptr ? item.text : L"";
        copy.rect = item.rect;
        copy.style = WS_CHILD | KindStyle(item.kind) | item.style;
        if (item.visible) {
            copy.style |= WS_VISIBLE;
        }
        if (!item.enabled) {
            copy.style |= WS_DISABLED;
        }
        if (item.tabStop && item.kind != DialogItemKind::Label) {
            copy.style |= WS_TABSTOP;
        }
        stored.items.push_back(std::move(copy));
    }
    auto& table = Resources();
    std::lock_guard lock(table.mutex);
    table.dialogs[resource.id] = std::move(stored);
}

void UnregisterDialogResource(UINT id) {
    auto& table = Resources();
    std::lock_guard lock(table.mutex);
    table.dialogs.erase(id);
}

bool HasDialogResource(UINT id) {
    return FindDialogResource(id).has_value();
}

namespace dialogs::detail {

std::optional<StoredDialog> FindDialogResource(UINT id) {
    auto& table = Resources();
    std::lock_guard lock(table.mutex);
    const auto found = table.dialogs.find(id);
    if (found == table.dialogs.end()) {
        return std::nullopt;
    }
    return found->second;
}

bool CreateTemplateControl(const StoredItem& item, CWnd& parent) {
    const CRect rect(item.rect);
    const auto id = static_cast<UINT>(item.id);
    std::unique_ptr<CWnd> control;
    BOOL made = FALSE;
    switch (item.kind) {
    case DialogItemKind::Label: {
        auto label = std::make_unique<CStatic>();
        made = label->Create(item.text.c_str(), item.style, rect, &parent, id);
        control = std::move(label);
        break;
    }
    case DialogItemKind::PushButton:
    case DialogItemKind::DefPushButton:
    case DialogItemKind::CheckBox: {
        auto button = std::make_unique<CButton>();
        made = button->Create(item.text.c_str(), item.style, rect, &parent, id);
        control = std::move(button);
        break;
    }
    case DialogItemKind::Edit:
    case DialogItemKind::NumberEdit: {
        auto edit = std::make_unique<CEdit>();
        made = edit->Create(item.style, rect, &parent, id);
        if (made) {
            edit->SetWindowText(item.text.c_str());
        }
        control = std::move(edit);
        break;
    }
    case DialogItemKind::ComboDropDown:
    case DialogItemKind::ComboDropList: {
        auto combo = std::make_unique<CComboBox>();
        made = combo->Create(item.style, rect, &parent, id);
        control = std::move(combo);
        break;
    }
    case DialogItemKind::ListReport: {
        auto list = std::make_unique<CListCtrl>();
        made = list->Create(item.style, rect, &parent, id);
        control = std::move(list);
        break;
    }
    case DialogItemKind::Tree: {
        auto tree = std::make_unique<CTreeCtrl>();
        made = tree->Create(item.style, rect, &parent, id);
        control = std::move(tree);
        break;
    }
    case DialogItemKind::Tab: {
        auto tab = std::make_unique<CTabCtrl>();
        made = tab->Create(item.style, rect, &parent, id);
        control = std::move(tab);
        break;
    }
    case DialogItemKind::Slider: {
        auto slider = std::make_unique<CSliderCtrl>();
        made = slider->Create(item.style, rect, &parent, id);
        control = std::move(slider);
        break;
    }
    }
    if (!made) {
        return false;
    }
    // The window record owns the framework's object; a dialog member may take its place later.
    const auto state = Find(control->m_hWnd);
    state->builtIn = std::move(control);
    return true;
}

} // namespace dialogs::detail
