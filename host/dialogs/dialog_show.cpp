// `dlg show`: the dialog as a person sees it, one control a line with its identifier, kind,
// text and state; items of lists, trees and tabs on indented lines below their control. A
// window placed over a list cell or a tree item (an in-place editor) is shown in that cell or
// on that item's line, other windows inside a control are indented under it. Hidden windows
// are left out, as they are not seen.
#include "dialog.h"
#include "dialog_operator.h"
#include "window_state.h"
#include "winhost.h"

#include <algorithm>
#include <map>
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

// Windows placed over an item of a list or tree (in-place editors), by the item they cover.
using Placed = std::map<std::pair<int, int>, std::shared_ptr<WindowState>>;

POINT CentreOf(const WindowState& state) {
    return POINT{(state.rect.left + state.rect.right) / 2,
                 (state.rect.top + state.rect.bottom) / 2};
}

std::vector<std::shared_ptr<WindowState>> ShownChildren(const WindowState& state) {
    std::vector<std::shared_ptr<WindowState>> shown;
    for (HWND child : state.children) {
        auto inner = Find(child);
        if (inner != nullptr && inner->kind != Kind::Header && (inner->style & WS_VISIBLE) != 0) {
            shown.push_back(std::move(inner));
        }
    }
    return shown;
}

// The control's own text and states, as its line and an in-place editor's cell show them.
struct Look {
    std::string text;
    std::vector<std::string> states;
    std::string items; // the choices of a combo box, quoted and separated by ", "
    size_t itemCount = 0;
};

Look LookOf(const WindowState& state) {
    Look look{Quote(state.text), {}, {}};
    switch (state.kind) {
    case Kind::Button:
        if ((state.style & BS_TYPEMASK) == BS_AUTOCHECKBOX ||
            (state.style & BS_TYPEMASK) == BS_CHECKBOX) {
            look.states.push_back(
                std::get<ButtonData>(state.data).check == BST_CHECKED ? "checked" : "unchecked");
        }
        break;
    case Kind::Edit:
        if ((state.style & ES_READONLY) != 0) {
            look.states.emplace_back("read-only");
        }
        break;
    case Kind::Combo: {
        const auto& combo = std::get<ComboData>(state.data);
        if ((state.style & CBS_TYPEMASK) == CBS_DROPDOWNLIST) {
            look.text =
                Quote(combo.current >= 0 ? combo.items[static_cast<size_t>(combo.current)].text
                                         : CString());
        }
        std::vector<CString> texts;
        for (const auto& item : combo.items) {
            texts.push_back(item.text);
        }
        look.items = texts.empty() ? "none" : Joined(texts, ", ");
        look.itemCount = texts.size();
        break;
    }
    case Kind::Tab: {
        const auto& tabs = std::get<TabData>(state.data);
        std::vector<CString> captions;
        for (const auto& tab : tabs.items) {
            captions.push_back(tab.text);
        }
        look.text = Joined(captions, " | ");
        if (tabs.current >= 0) {
            look.states.push_back("selected " +
                                  Quote(tabs.items[static_cast<size_t>(tabs.current)].text));
        }
        break;
    }
    case Kind::Slider: {
        const auto& slider = std::get<SliderData>(state.data);
        look.text = std::to_string(slider.pos);
        look.states.push_back("range " + std::to_string(slider.min) + ".." +
                              std::to_string(slider.max));
        break;
    }
    case Kind::List:
    case Kind::Tree:
        look.text.clear();
        break;
    default:
        break;
    }
    if ((state.style & WS_DISABLED) != 0) {
        look.states.emplace_back("disabled");
    }
    if (CurrentThread().focus == state.handle) {
        look.states.emplace_back("focus");
    }
    return look;
}

// An in-place editor as its cell or item shows it: kind, identifier, text, choices and states.
std::string Inline(const WindowState& state) {
    const Look look = LookOf(state);
    std::string line = KindName(state) + " " + std::to_string(state.id);
    const bool checkBox = state.kind == Kind::Button && state.text.empty() &&
                          ((state.style & BS_TYPEMASK) == BS_AUTOCHECKBOX ||
                           (state.style & BS_TYPEMASK) == BS_CHECKBOX);
    if (!checkBox) {
        line += " " + look.text;
    }
    // A long list is seen a screenful at a time; its length says enough in a cell.
    constexpr size_t kLongList = 12;
    if (look.itemCount > kLongList) {
        line += " of " + std::to_string(look.itemCount) + " items";
    } else if (!look.items.empty()) {
        line += " of " + look.items;
    }
    for (const auto& entry : look.states) {
        line += " " + entry;
    }
    return line;
}

void TreeLines(const std::vector<TreeNode*>& nodes, const TreeNode* selected,
               const std::map<const TreeNode*, std::string>& editors, const std::string& indent,
               std::ostringstream& out) {
    for (const TreeNode* node : nodes) {
        const char* sign = node->children.empty() ? "   " : (node->expanded ? "[-]" : "[+]");
        out << "\n" << indent << sign << " " << Quote(node->text);
        if (node == selected) {
            out << "  selected";
        }
        if (const auto editor = editors.find(node); editor != editors.end()) {
            out << "  editing: " << editor->second;
        }
        if (node->expanded) {
            TreeLines(node->children, selected, editors, indent + "    ", out);
        }
    }
}

// A list's columns and rows; a cell covered by an in-place editor shows the editor in brackets.
void ListLines(const WindowState& state, const std::string& indent,
               std::vector<HWND>& placedWindows, std::ostringstream& out) {
    const auto& list = std::get<ListData>(state.data);
    Placed placed;
    for (const auto& child : ShownChildren(state)) {
        int row = 0;
        int column = 0;
        if (ListCellAt(state, CentreOf(*child), row, column)) {
            placed.emplace(std::make_pair(row, column), child);
            placedWindows.push_back(child->handle);
        }
    }
    std::vector<CString> headings;
    for (const auto& column : list.columns) {
        headings.push_back(column.heading);
    }
    out << "\n" << indent << "columns: " << Joined(headings, " | ");
    for (size_t row = 0; row < list.rows.size(); ++row) {
        const auto& texts = list.rows[row].texts;
        std::string line;
        for (size_t column = 0; column < std::max(texts.size(), list.columns.size()); ++column) {
            const auto editor = placed.find({static_cast<int>(row), static_cast<int>(column)});
            line += column == 0 ? "" : " | ";
            if (editor != placed.end()) {
                line += "[" + Inline(*editor->second) + "]";
            } else {
                line += Quote(column < texts.size() ? texts[column] : CString());
            }
        }
        out << "\n" << indent << "row " << row << ": " << line;
        if ((list.rows[row].state & 0x2) != 0) { // LVIS_SELECTED
            out << "  selected";
        }
    }
}

void TreeItems(const WindowState& state, const std::string& indent,
               std::vector<HWND>& placedWindows, std::ostringstream& out) {
    const auto& tree = std::get<TreeData>(state.data);
    std::map<const TreeNode*, std::string> editors;
    for (const auto& child : ShownChildren(state)) {
        if (const TreeNode* node = TreeNodeAtY(state, CentreOf(*child).y)) {
            editors.emplace(node, Inline(*child));
            placedWindows.push_back(child->handle);
        }
    }
    TreeLines(tree.roots, tree.selected, editors, indent, out);
}

void Describe(const WindowState& state, int depth, HWND dialog, std::ostringstream& out) {
    const std::string indent(static_cast<size_t>(2 + 2 * depth), ' ');
    const std::string itemIndent = indent + std::string(8, ' ');
    const Look look = LookOf(state);
    std::ostringstream items;
    std::vector<HWND> placed;
    if (state.kind == Kind::Combo) {
        items << "\n" << itemIndent << "items: " << look.items;
    } else if (state.kind == Kind::List) {
        ListLines(state, itemIndent, placed, items);
    } else if (state.kind == Kind::Tree) {
        TreeItems(state, itemIndent, placed, items);
    }
    std::string line =
        indent + Pad(std::to_string(state.id), 6) + Pad(KindName(state), 15) + look.text;
    for (const auto& entry : look.states) {
        line += "  " + entry;
    }
    while (!line.empty() && line.back() == ' ') {
        line.pop_back();
    }
    out << "\n" << line << items.str();
    for (const auto& inner : ShownChildren(state)) {
        if (std::find(placed.begin(), placed.end(), inner->handle) == placed.end()) {
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
