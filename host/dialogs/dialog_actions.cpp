// User actions on a modal dialog: each one goes through the same messages a person's mouse and
// keyboard would produce, and is refused with a message when the person could not do it.
#include "dialog.h"
#include "dialog_operator.h"
#include "window_state.h"
#include "winhost.h"

using namespace dialogs::detail;

namespace dialogs {

namespace {

std::string Quote(const std::wstring& text) {
    return "\"" + win::Narrow(text) + "\"";
}

std::string ControlName(int id) {
    return "control " + std::to_string(id);
}

// Depth-first in creation order; `shownOnly` skips hidden windows and everything inside them.
HWND FindControl(HWND window, int id, bool shownOnly) {
    const auto state = Find(window);
    if (state == nullptr) {
        return nullptr;
    }
    for (HWND child : state->children) {
        const auto control = Find(child);
        if (control == nullptr || (shownOnly && (control->style & WS_VISIBLE) == 0)) {
            continue;
        }
        if (control->id == id) {
            return child;
        }
        if (HWND inner = FindControl(child, id, shownOnly)) {
            return inner;
        }
    }
    return nullptr;
}

bool EnabledUpTo(HWND window, HWND dialog) {
    for (auto state = Find(window); state != nullptr; state = Find(state->parent)) {
        if ((state->style & WS_DISABLED) != 0) {
            return false;
        }
        if (state->handle == dialog) {
            break;
        }
    }
    return true;
}

// The control a person could reach, or nothing and the reason told.
std::shared_ptr<WindowState> Reachable(CDialog& dialog, int id, DialogOperator& op) {
    const HWND control = FindControl(dialog.m_hWnd, id, true);
    if (control == nullptr) {
        if (FindControl(dialog.m_hWnd, id, false) != nullptr) {
            op.Tell("dlg: " + ControlName(id) + " is hidden");
        } else {
            op.Tell("dlg: no " + ControlName(id) + " in dialog " +
                    std::to_string(dialog.GetTemplateId()));
        }
        return nullptr;
    }
    if (!EnabledUpTo(control, dialog.m_hWnd)) {
        op.Tell("dlg: " + ControlName(id) + " is disabled");
        return nullptr;
    }
    return Find(control);
}

// Gives the control the focus as clicking into it would; false when it went away meanwhile
// (another control, losing the focus, may close it).
bool Focus(const WindowState& control, DialogOperator& op) {
    if (control.kind != Kind::Label) {
        MoveFocus(control.handle);
    }
    if (!IsWindow(control.handle)) {
        op.Tell("dlg: " + ControlName(control.id) + " closed when it was clicked");
        return false;
    }
    return true;
}

void Type(CDialog& dialog, const WindowState& control, const std::wstring& text) {
    for (wchar_t ch : text) {
        if (!IsWindow(control.handle)) {
            return;
        }
        MSG typed{control.handle, WM_CHAR, static_cast<WPARAM>(ch), 1, 0, {0, 0}};
        Process(typed, dialog.m_hWnd);
    }
}

void SetText(CDialog& dialog, WindowState& control, const std::wstring& text, DialogOperator& op) {
    const std::string name = ControlName(control.id);
    if (control.kind == Kind::Edit) {
        if ((control.style & ES_READONLY) != 0) {
            op.Tell("dlg: " + name + " is read-only");
            return;
        }
        if ((control.style & ES_NUMBER) != 0 &&
            text.find_first_not_of(L"0123456789") != std::wstring::npos) {
            op.Tell("dlg: " + name + " takes digits only; " + Quote(text) + " was not typed");
            return;
        }
        if (!Focus(control, op)) {
            return;
        }
        // Select everything, then type over it; an empty text is a Backspace.
        auto& edit = std::get<EditData>(control.data);
        edit.selStart = 0;
        edit.selEnd = static_cast<int>(control.text.size());
        Type(dialog, control, text.empty() ? std::wstring(1, L'\b') : text);
        return;
    }
    if (control.kind == Kind::Combo) {
        if ((control.style & CBS_TYPEMASK) == CBS_DROPDOWNLIST) {
            op.Tell("dlg: " + name + " is a drop-down list; choose one of its items");
            return;
        }
        if (!Focus(control, op)) {
            return;
        }
        control.text.Empty();
        NotifyParentCommand(control.handle, CBN_EDITCHANGE);
        Type(dialog, control, text);
        return;
    }
    op.Tell("dlg: " + name + " takes no typing");
}

void Choose(WindowState& control, const std::wstring& item, DialogOperator& op) {
    const std::string name = ControlName(control.id);
    const std::string missing = "dlg: " + name + " has no item " + Quote(item);
    switch (control.kind) {
    case Kind::Combo: {
        const auto& items = std::get<ComboData>(control.data).items;
        for (size_t i = 0; i < items.size(); ++i) {
            if (items[i].text == item) {
                SelectComboItem(control.handle, static_cast<int>(i));
                return;
            }
        }
        op.Tell(missing);
        return;
    }
    case Kind::List: {
        const auto& rows = std::get<ListData>(control.data).rows;
        for (size_t i = 0; i < rows.size(); ++i) {
            if (!rows[i].texts.empty() && rows[i].texts.front() == item) {
                SelectListRow(control.handle, static_cast<int>(i));
                return;
            }
        }
        op.Tell(missing);
        return;
    }
    case Kind::Tab: {
        const auto& tabs = std::get<TabData>(control.data).items;
        for (size_t i = 0; i < tabs.size(); ++i) {
            if (tabs[i].text == item) {
                if (!SelectTab(control.handle, static_cast<int>(i))) {
                    op.Tell("dlg: " + name + " keeps its current tab");
                }
                return;
            }
        }
        op.Tell(missing);
        return;
    }
    case Kind::Tree: {
        // Walk the path, opening each level as a person clicking its "+" would.
        auto* level = &std::get<TreeData>(control.data).roots;
        TreeNode* found = nullptr;
        size_t start = 0;
        while (start <= item.size()) {
            const size_t slash = item.find(L'/', start);
            const std::wstring part = item.substr(
                start, slash == std::wstring::npos ? std::wstring::npos : slash - start);
            TreeNode* next = nullptr;
            for (TreeNode* node : *level) {
                if (node->text == part) {
                    next = node;
                    break;
                }
            }
            if (next == nullptr) {
                op.Tell(missing);
                return;
            }
            if (found != nullptr) {
                ExpandTreeItem(control.handle, found, true);
            }
            found = next;
            level = &next->children;
            if (slash == std::wstring::npos) {
                break;
            }
            start = slash + 1;
        }
        SelectTreeItem(control.handle, found);
        return;
    }
    default:
        op.Tell("dlg: " + name + " has no items to choose from");
        return;
    }
}

} // namespace

void ApplyAction(CDialog& dialog, const DialogAction& action, DialogOperator& op) {
    if (action.kind == DialogAction::Kind::Show) {
        op.Tell(DescribeDialog(dialog));
        return;
    }
    const auto control = Reachable(dialog, action.control, op);
    if (control == nullptr) {
        return;
    }
    const std::string name = ControlName(action.control);
    switch (action.kind) {
    case DialogAction::Kind::Set:
        SetText(dialog, *control, action.text, op);
        break;
    case DialogAction::Kind::Click:
        if (control->kind == Kind::Label) {
            op.Tell("dlg: " + name + " is a label; clicking it does nothing");
        } else if (Focus(*control, op) && control->kind == Kind::Button) {
            ClickButton(control->handle);
        }
        break;
    case DialogAction::Kind::Key:
        if (Focus(*control, op)) {
            MSG key{control->handle, WM_KEYDOWN, action.key, 1, 0, {0, 0}};
            Process(key, dialog.m_hWnd);
        }
        break;
    case DialogAction::Kind::Slide: {
        if (control->kind != Kind::Slider) {
            op.Tell("dlg: " + name + " is not a slider");
            break;
        }
        const auto& slider = std::get<SliderData>(control->data);
        if (action.number < slider.min || action.number > slider.max) {
            op.Tell("dlg: " + name + " moves from " + std::to_string(slider.min) + " to " +
                    std::to_string(slider.max) + "; it stops at the end");
        }
        if (Focus(*control, op)) {
            SetSliderPosition(control->handle, action.number, TB_THUMBPOSITION);
        }
        break;
    }
    case DialogAction::Kind::Choose:
        if (Focus(*control, op)) {
            Choose(*control, action.text, op);
        }
        break;
    case DialogAction::Kind::ResizeColumn:
        if (control->kind != Kind::List) {
            op.Tell("dlg: " + name + " has no columns");
        } else if (!ResizeColumn(control->handle, action.column, action.number)) {
            op.Tell("dlg: column " + std::to_string(action.column) + " of " + name +
                    " cannot be resized");
        }
        break;
    default:
        break;
    }
}

} // namespace dialogs
