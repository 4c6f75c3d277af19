// `dlg show`: the dialog as a person sees it, one control a line with its identifier, kind,
// text and state; items of lists, trees and tabs on indented lines below their control, and
// windows placed over a control (in-place editors) indented under it. Hidden windows are left
// out, as they are not seen.
#include "dialog.h"
#include "dialog_operator.h"
#include "window_state.h"
#include "winhost.h"

#include <sstream>

using namespace dialogs::detail;

namespace dialogs {

namespace {

std::string Quote(const CString& text) {
    return "\"" + win::Narrow(text) + "\"";
}

std::string Pad(std::string text, size_t width) {
    if (text.size() < width) {
        text.append(width - text.size(), ' ');
    }
    return text + " ";
}

std::string KindName(const WindowState& state) {
    switch (state.kind) {
    case Kind::Label:
        return "label";
    case Kind::Button:
        switch (state.style & BS_TYPEMASK) {
        case BS_DEFPUSHBUTTON:
            return "default button";
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
            return "check box";
        default:
            return "push button";
        }
    case Kind::Edit:
        return (state.style & ES_NUMBER) != 0 ? "number edit" : "edit";
    case Kind::Combo:
        return (state.style & CBS_TYPEMASK) == CBS_DROPDOWNLIST ? "drop-down list" : "combo box";
    case Kind::List:
        return "list";
    case Kind::Tree:
        return "tree";
    case Kind::Tab:
        return "tab";
    case Kind::Slider:
        return "slider";
    case Kind::Dialog:
        return "page";
    default:
        return state.className.IsEmpty() ? "window" : win::Narrow(state.className);
    }
}

std::string Joined(const std::vector<CString>& texts, const char* separator) {
    std::string line;
    for (size_t i = 0; i < texts.size(); ++i) {
        line += (i == 0 ? "" : separator) + Quote(texts[i]);
    }
    return line;
}

void TreeLines(const std::vector<TreeNode*>& nodes, const TreeNode* selected,
               const std::string& indent, std::ostringstream& out) {
    for (const TreeNode* node : nodes) {
        const char* sign = node->children.empty() ? "   " : (node->expanded ? "[-]" : "[+]");
        out << "\n" << indent << sign << " " << Quote(node->text);
        if (node == selected) {
            out << "  selected";
        }
        if (node->expanded) {
            TreeLines(node->children, selected, indent + "    ", out);
        }
    }
}

void Describe(const WindowState& state, int depth, HWND dialog, std::ostringstream& out) {
    const std::string indent(static_cast<size_t>(2 + 2 * depth), ' ');
    const std::string itemIndent = indent + std::string(8, ' ');
    std::string text = Quote(state.text);
    std::vector<std::string> states;
    std::ostringstream items;
    switch (state.kind) {
    case Kind::Button:
        if ((state.style & BS_TYPEMASK) == BS_AUTOCHECKBOX ||
            (state.style & BS_TYPEMASK) == BS_CHECKBOX) {
            states.push_back(std::get<ButtonData>(state.data).check == BST_CHECKED ? "checked"
                                                                                   : "unchecked");
        }
        break;
    case Kind::Edit:
        if ((state.style & ES_READONLY) != 0) {
            states.emplace_back("read-only");
        }
        break;
    case Kind::Combo: {
        const auto& combo = std::get<ComboData>(state.data);
        if ((state.style & CBS_TYPEMASK) == CBS_DROPDOWNLIST) {
            text = Quote(combo.current >= 0 ? combo.items[static_cast<size_t>(combo.current)].text
                                            : CString());
        }
        std::vector<CString> texts;
        for (const auto& item : combo.items) {
            texts.push_back(item.text);
        }
        items << "\n" << itemIndent << "items: " << (texts.empty() ? "none" : Joined(texts, ", "));
        break;
    }
    case Kind::List: {
        const auto& list = std::get<ListData>(state.data);
        text.clear();
        std::vector<CString> headings;
        for (const auto& column : list.columns) {
            headings.push_back(column.heading);
        }
        items << "\n" << itemIndent << "columns: " << Joined(headings, " | ");
        for (size_t row = 0; row < list.rows.size(); ++row) {
            items << "\n"
                  << itemIndent << "row " << row << ": " << Joined(list.rows[row].texts, " | ");
            if ((list.rows[row].state & 0x2) != 0) { // LVIS_SELECTED
                items << "  selected";
            }
        }
        break;
    }
    case Kind::Tree: {
        const auto& tree = std::get<TreeData>(state.data);
        text.clear();
        TreeLines(tree.roots, tree.selected, itemIndent, items);
        break;
    }
    case Kind::Tab: {
        const auto& tabs = std::get<TabData>(state.data);
        std::vector<CString> captions;
        for (const auto& tab : tabs.items) {
            captions.push_back(tab.text);
        }
        text = Joined(captions, " | ");
        if (tabs.current >= 0) {
            states.push_back("selected " +
                             Quote(tabs.items[static_cast<size_t>(tabs.current)].text));
        }
        break;
    }
    case Kind::Slider: {
        const auto& slider = std::get<SliderData>(state.data);
        text = std::to_string(slider.pos);
        states.push_back("range " + std::to_string(slider.min) + ".." + std::to_string(slider.max));
        break;
    }
    default:
        break;
    }
    if ((state.style & WS_DISABLED) != 0) {
        states.emplace_back("disabled");
    }
    if (CurrentThread().focus == state.handle) {
        states.emplace_back("focus");
    }
    std::string line = indent + Pad(std::to_string(state.id), 6) + Pad(KindName(state), 15) + text;
    for (const auto& entry : states) {
        line += "  " + entry;
    }
    while (!line.empty() && line.back() == ' ') {
        line.pop_back();
    }
    out << "\n" << line << items.str();
    for (HWND child : state.children) {
        const auto inner = Find(child);
        if (inner != nullptr && inner->kind != Kind::Header && (inner->style & WS_VISIBLE) != 0) {
            Describe(*inner, depth + 1, dialog, out);
        }
    }
}

} // namespace

std::string DescribeDialog(const CDialog& dialog) {
    const auto state = Find(dialog.m_hWnd);
    if (state == nullptr) {
        return "dlg: the dialog is closed";
    }
    std::ostringstream out;
    out << "dialog " << dialog.GetTemplateId() << " " << Quote(state->text);
    for (HWND child : state->children) {
        const auto control = Find(child);
        if (control != nullptr && (control->style & WS_VISIBLE) != 0) {
            Describe(*control, 0, dialog.m_hWnd, out);
        }
    }
    return out.str();
}

} // namespace dialogs
