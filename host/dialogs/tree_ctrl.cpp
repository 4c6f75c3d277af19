// The tree control: items with parents, data, expansion, selection and geometry.
#include "tree_ctrl.h"
#include "window_state.h"

#include <algorithm>

using namespace dialogs::detail;

namespace {

struct TreeRef {
    std::shared_ptr<WindowState> state;
    TreeData* tree = nullptr;
    explicit operator bool() const { return tree != nullptr; }
};

TreeRef TreeOf(HWND window) {
    auto state = Find(window);
    auto* tree = state == nullptr ? nullptr : std::get_if<TreeData>(&state->data);
    return {std::move(state), tree};
}

// The node behind a handle, or nullptr for a handle that is not a live item of this tree.
TreeNode* NodeOf(const TreeData& tree, HTREEITEM item) {
    auto* node = reinterpret_cast<TreeNode*>(item);
    return tree.nodes.contains(node) ? node : nullptr;
}

HTREEITEM HandleOf(TreeNode* node) {
    return reinterpret_cast<HTREEITEM>(node);
}

std::vector<TreeNode*>& Siblings(TreeData& tree, TreeNode* node) {
    return node->parent == nullptr ? tree.roots : node->parent->children;
}

int Level(const TreeNode* node) {
    int level = 0;
    for (node = node->parent; node != nullptr; node = node->parent) {
        ++level;
    }
    return level;
}

void CollectShown(const std::vector<TreeNode*>& nodes, std::vector<TreeNode*>& shown) {
    for (TreeNode* node : nodes) {
        shown.push_back(node);
        if (node->expanded) {
            CollectShown(node->children, shown);
        }
    }
}

std::vector<TreeNode*> Shown(const TreeData& tree) {
    std::vector<TreeNode*> shown;
    CollectShown(tree.roots, shown);
    return shown;
}

void Forget(TreeData& tree, TreeNode* node) {
    for (TreeNode* child : node->children) {
        Forget(tree, child);
    }
    if (tree.selected == node) {
        tree.selected = nullptr;
    }
    tree.nodes.erase(node);
}

void NotifyTree(HWND window, UINT code, UINT action, TreeNode* oldNode, TreeNode* newNode) {
    NMTREEVIEW info{};
    info.action = action;
    info.itemOld = HandleOf(oldNode);
    info.itemNew = HandleOf(newNode);
    NotifyParent(window, info.hdr, code);
}

void Select(HWND window, TreeNode* node, UINT action) {
    auto ref = TreeOf(window);
    if (!ref || ref.tree->selected == node) {
        return;
    }
    TreeNode* old = std::exchange(ref.tree->selected, node);
    NotifyTree(window, TVN_SELCHANGED, action, old, node);
}

} // namespace

namespace dialogs::detail {

void SelectTreeItem(HWND window, TreeNode* node) {
    Select(window, node, TVC_BYMOUSE);
    NMHDR click{};
    NotifyParent(window, click, NM_CLICK);
}

void ExpandTreeItem(HWND window, TreeNode* node, bool expand) {
    if (node == nullptr || node->expanded == expand || node->children.empty()) {
        return;
    }
    node->expanded = expand;
    NotifyTree(window, TVN_ITEMEXPANDED, expand ? TVE_EXPAND : TVE_COLLAPSE, nullptr, node);
}

TreeNode* TreeNodeAtY(const WindowState& state, int y) {
    const auto* tree = std::get_if<TreeData>(&state.data);
    if (tree == nullptr || y < 0 || tree->itemHeight <= 0) {
        return nullptr;
    }
    const auto shown = Shown(*tree);
    const auto index = static_cast<size_t>(y / tree->itemHeight);
    return index < shown.size() ? shown[index] : nullptr;
}

LRESULT TreeProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto ref = TreeOf(window);
    if (!ref) {
        return 0;
    }
    if (message == WM_HELP) {
        return Deliver(ref.state->parent, message, wParam, lParam);
    }
    if (message == WM_SETFOCUS || message == WM_KILLFOCUS) {
        NMHDR focus{};
        NotifyParent(window, focus, message == WM_SETFOCUS ? NM_SETFOCUS : NM_KILLFOCUS);
        return 0;
    }
    if (message != WM_KEYDOWN) {
        return 0;
    }
    const auto shown = Shown(*ref.tree);
    TreeNode* current = ref.tree->selected;
    const auto at = std::find(shown.begin(), shown.end(), current);
    switch (wParam) {
    case VK_UP:
        if (at != shown.end() && at != shown.begin()) {
            Select(window, *(at - 1), TVC_BYKEYBOARD);
        }
        break;
    case VK_DOWN:
        if (at == shown.end() && !shown.empty()) {
            Select(window, shown.front(), TVC_BYKEYBOARD);
        } else if (at != shown.end() && at + 1 != shown.end()) {
            Select(window, *(at + 1), TVC_BYKEYBOARD);
        }
        break;
    case VK_RIGHT:
        if (current != nullptr && !current->children.empty()) {
            if (current->expanded) {
                Select(window, current->children.front(), TVC_BYKEYBOARD);
            } else {
                ExpandTreeItem(window, current, true);
            }
        }
        break;
    case VK_LEFT:
        if (current != nullptr) {
            if (current->expanded) {
                ExpandTreeItem(window, current, false);
            } else if (current->parent != nullptr) {
                Select(window, current->parent, TVC_BYKEYBOARD);
            }
        }
        break;
    default:
        break;
    }
    return 0;
}

} // namespace dialogs::detail

BOOL CTreeCtrl::Create(DWORD style, const RECT& rect, CWnd* parentWnd, UINT id) {
    return CreateKind(static_cast<int>(Kind::Tree), L"SysTreeView32", L"", style, rect, parentWnd,
                      id);
}

HTREEITEM CTreeCtrl::InsertItem(LPCWSTR text, HTREEITEM parent, HTREEITEM after) {
    auto ref = TreeOf(m_hWnd);
    if (!ref) {
        return nullptr;
    }
    TreeNode* parentNode = nullptr;
    if (parent != TVI_ROOT && parent != nullptr) {
        parentNode = NodeOf(*ref.tree, parent);
        if (parentNode == nullptr) {
            return nullptr;
        }
    }
    auto& siblings = parentNode == nullptr ? ref.tree->roots : parentNode->children;
    auto position = siblings.end();
    const CString label = text != nullptr ? text : L"";
    if (after == TVI_FIRST) {
        position = siblings.begin();
    } else if (after == TVI_SORT) {
        position = std::find_if(siblings.begin(), siblings.end(), [&](const TreeNode* node) {
            return node->text.CompareNoCase(label) > 0;
        });
    } else if (after != TVI_LAST && after != nullptr) {
        TreeNode* sibling = NodeOf(*ref.tree, after);
        const auto found = std::find(siblings.begin(), siblings.end(), sibling);
        if (found == siblings.end()) {
            return nullptr;
        }
        position = found + 1;
    }
    auto node = std::make_unique<TreeNode>();
    node->text = label;
    node->parent = parentNode;
    TreeNode* raw = node.get();
    ref.tree->nodes.emplace(raw, std::move(node));
    siblings.insert(position, raw);
    return HandleOf(raw);
}

BOOL CTreeCtrl::DeleteItem(HTREEITEM item) {
    auto ref = TreeOf(m_hWnd);
    if (!ref) {
        return FALSE;
    }
    if (item == TVI_ROOT) {
        return DeleteAllItems();
    }
    TreeNode* node = NodeOf(*ref.tree, item);
    if (node == nullptr) {
        return FALSE;
    }
    std::erase(Siblings(*ref.tree, node), node);
    Forget(*ref.tree, node);
    return TRUE;
}

BOOL CTreeCtrl::DeleteAllItems() {
    auto ref = TreeOf(m_hWnd);
    if (!ref) {
        return FALSE;
    }
    ref.tree->roots.clear();
    ref.tree->selected = nullptr;
    ref.tree->nodes.clear();
    return TRUE;
}

UINT CTreeCtrl::GetCount() const {
    const auto ref = TreeOf(m_hWnd);
    return ref ? static_cast<UINT>(ref.tree->nodes.size()) : 0;
}

CString CTreeCtrl::GetItemText(HTREEITEM item) const {
    const auto ref = TreeOf(m_hWnd);
    const TreeNode* node = ref ? NodeOf(*ref.tree, item) : nullptr;
    return node == nullptr ? CString() : node->text;
}

BOOL CTreeCtrl::SetItemText(HTREEITEM item, LPCWSTR text) {
    auto ref = TreeOf(m_hWnd);
    TreeNode* node = ref ? NodeOf(*ref.tree, item) : nullptr;
    if (node == nullptr) {
        return FALSE;
    }
    node->text = text != nullptr ? text : L"";
    return TRUE;
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM item) const {
    const auto ref = TreeOf(m_hWnd);
    const TreeNode* node = ref ? NodeOf(*ref.tree, item) : nullptr;
    return node == nullptr ? 0 : node->data;
}

BOOL CTreeCtrl::SetItemData(HTREEITEM item, DWORD_PTR data) {
    auto ref = TreeOf(m_hWnd);
    TreeNode* node = ref ? NodeOf(*ref.tree, item) : nullptr;
    if (node == nullptr) {
        return FALSE;
    }
    node->data = data;
    return TRUE;
}

HTREEITEM CTreeCtrl::GetRootItem() const {
    const auto ref = TreeOf(m_hWnd);
    return ref && !ref.tree->roots.empty() ? HandleOf(ref.tree->roots.front()) : nullptr;
}

HTREEITEM CTreeCtrl::GetParentItem(HTREEITEM item) const {
    const auto ref = TreeOf(m_hWnd);
    const TreeNode* node = ref ? NodeOf(*ref.tree, item) : nullptr;
    return node == nullptr ? nullptr : HandleOf(node->parent);
}

HTREEITEM CTreeCtrl::GetChildItem(HTREEITEM item) const {
    const auto ref = TreeOf(m_hWnd);
    if (!ref) {
        return nullptr;
    }
    if (item == TVI_ROOT || item == nullptr) {
        return GetRootItem();
    }
    const TreeNode* node = NodeOf(*ref.tree, item);
    return node == nullptr || node->children.empty() ? nullptr : HandleOf(node->children.front());
}

HTREEITEM CTreeCtrl::GetNextSiblingItem(HTREEITEM item) const {
    const auto ref = TreeOf(m_hWnd);
    TreeNode* node = ref ? NodeOf(*ref.tree, item) : nullptr;
    if (node == nullptr) {
        return nullptr;
    }
    const auto& siblings = Siblings(*ref.tree, node);
    const auto at = std::find(siblings.begin(), siblings.end(), node);
    return at + 1 == siblings.end() ? nullptr : HandleOf(*(at + 1));
}

HTREEITEM CTreeCtrl::GetPrevSiblingItem(HTREEITEM item) const {
    const auto ref = TreeOf(m_hWnd);
    TreeNode* node = ref ? NodeOf(*ref.tree, item) : nullptr;
    if (node == nullptr) {
        return nullptr;
    }
    const auto& siblings = Siblings(*ref.tree, node);
    const auto at = std::find(siblings.begin(), siblings.end(), node);
    return at == siblings.begin() ? nullptr : HandleOf(*(at - 1));
}

HTREEITEM CTreeCtrl::GetNextVisibleItem(HTREEITEM item) const {
    const auto ref = TreeOf(m_hWnd);
    if (!ref) {
        return nullptr;
    }
    const auto shown = Shown(*ref.tree);
    const auto at = std::find(shown.begin(), shown.end(), NodeOf(*ref.tree, item));
    return at == shown.end() || at + 1 == shown.end() ? nullptr : HandleOf(*(at + 1));
}

HTREEITEM CTreeCtrl::GetNextItem(HTREEITEM item, UINT code) const {
    switch (code) {
    case TVGN_ROOT:
        return GetRootItem();
    case TVGN_NEXT:
        return GetNextSiblingItem(item);
    case TVGN_PREVIOUS:
        return GetPrevSiblingItem(item);
    case TVGN_PARENT:
        return GetParentItem(item);
    case TVGN_CHILD:
        return GetChildItem(item);
    case TVGN_NEXTVISIBLE:
        return GetNextVisibleItem(item);
    case TVGN_CARET:
        return GetSelectedItem();
    default:
        return nullptr;
    }
}

BOOL CTreeCtrl::ItemHasChildren(HTREEITEM item) const {
    return GetChildItem(item) != nullptr ? TRUE : FALSE;
}

BOOL CTreeCtrl::Expand(HTREEITEM item, UINT code) {
    auto ref = TreeOf(m_hWnd);
    TreeNode* node = ref ? NodeOf(*ref.tree, item) : nullptr;
    if (node == nullptr) {
        return FALSE;
    }
    // Set by the program: no notification, as on the platform.
    if (code == TVE_EXPAND) {
        node->expanded = true;
    } else if (code == TVE_COLLAPSE) {
        node->expanded = false;
    } else if (code == TVE_TOGGLE) {
        node->expanded = !node->expanded;
    }
    return TRUE;
}

UINT CTreeCtrl::GetItemState(HTREEITEM item, UINT mask) const {
    const auto ref = TreeOf(m_hWnd);
    const TreeNode* node = ref ? NodeOf(*ref.tree, item) : nullptr;
    if (node == nullptr) {
        return 0;
    }
    UINT state = 0;
    if (node->expanded) {
        state |= TVIS_EXPANDED;
    }
    if (ref.tree->selected == node) {
        state |= TVIS_SELECTED;
    }
    return state & mask;
}

BOOL CTreeCtrl::SelectItem(HTREEITEM item) {
    const auto ref = TreeOf(m_hWnd);
    if (!ref) {
        return FALSE;
    }
    TreeNode* node = item == nullptr ? nullptr : NodeOf(*ref.tree, item);
    if (item != nullptr && node == nullptr) {
        return FALSE;
    }
    for (TreeNode* up = node != nullptr ? node->parent : nullptr; up != nullptr; up = up->parent) {
        up->expanded = true; // the selection is always shown
    }
    Select(m_hWnd, node, TVC_UNKNOWN);
    return TRUE;
}

HTREEITEM CTreeCtrl::GetSelectedItem() const {
    const auto ref = TreeOf(m_hWnd);
    return ref ? HandleOf(ref.tree->selected) : nullptr;
}

BOOL CTreeCtrl::EnsureVisible(HTREEITEM item) {
    auto ref = TreeOf(m_hWnd);
    TreeNode* node = ref ? NodeOf(*ref.tree, item) : nullptr;
    if (node == nullptr) {
        return FALSE;
    }
    for (TreeNode* up = node->parent; up != nullptr; up = up->parent) {
        up->expanded = true;
    }
    return TRUE;
}

BOOL CTreeCtrl::GetItemRect(HTREEITEM item, LPRECT rect, BOOL textOnly) const {
    const auto ref = TreeOf(m_hWnd);
    TreeNode* node = ref ? NodeOf(*ref.tree, item) : nullptr;
    if (node == nullptr || rect == nullptr) {
        return FALSE;
    }
    const auto shown = Shown(*ref.tree);
    const auto at = std::find(shown.begin(), shown.end(), node);
    if (at == shown.end()) {
        return FALSE;
    }
    const int top = static_cast<int>(at - shown.begin()) * ref.tree->itemHeight;
    const int bottom = top + ref.tree->itemHeight;
    if (!textOnly) {
        *rect = CRect(0, top, ref.state->rect.Width(), bottom);
        return TRUE;
    }
    const int rootIndent = (ref.state->style & TVS_LINESATROOT) != 0 ? 1 : 0;
    const int left = (Level(node) + rootIndent) * ref.tree->indent;
    *rect = CRect(left, top, left + TextWidth(node->text) + 4, bottom);
    return TRUE;
}

int CTreeCtrl::GetItemHeight() const {
    const auto ref = TreeOf(m_hWnd);
    return ref ? ref.tree->itemHeight : 0;
}

int CTreeCtrl::SetItemHeight(int height) {
    auto ref = TreeOf(m_hWnd);
    return ref ? std::exchange(ref.tree->itemHeight, std::max(1, height)) : 0;
}

UINT CTreeCtrl::GetIndent() const {
    const auto ref = TreeOf(m_hWnd);
    return ref ? static_cast<UINT>(ref.tree->indent) : 0;
}
