// The rectangles the module's grids and trees place their in-place editors by: list cells and
// the row height a small-image list sets, tree items and labels, tab items and pages.
#include "dialog_test_support.h"

#include <gtest/gtest.h>

namespace {

class Host : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_parent.Create(L"Host", L"", WS_VISIBLE, CRect(50, 40, 650, 540), nullptr, 0));
    }
    CWnd m_parent;
};

} // namespace

TEST_F(Host, ListCellsFollowColumnsRowHeightAndScrolling) {
    CListCtrl grid;
    ASSERT_TRUE(
        grid.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(10, 10, 210, 210), &m_parent, 1000));
    grid.InsertColumn(0, L"Key", LVCFMT_LEFT, 100);
    grid.InsertColumn(1, L"Value", LVCFMT_LEFT, 120);
    grid.InsertColumn(2, L"", LVCFMT_LEFT, 20);
    EXPECT_EQ(grid.GetHeaderCtrl()->GetItemCount(), 3);
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(grid.InsertItem(row, L"k"), row);
    }
    EXPECT_EQ(grid.GetRowHeight(), 17); // the font's 13 pixels plus 4
    CImageList tall;
    ASSERT_TRUE(tall.Create(1, 24, ILC_COLOR32, 1, 1));
    grid.SetImageList(&tall, LVSIL_SMALL);
    EXPECT_EQ(grid.GetRowHeight(), 24);

    CRect cell;
    ASSERT_TRUE(grid.GetSubItemRect(2, 1, LVIR_BOUNDS, cell));
    EXPECT_EQ(cell, CRect(100, 20 + 2 * 24, 220, 20 + 3 * 24));
    ASSERT_TRUE(grid.GetItemRect(1, &cell, LVIR_BOUNDS));
    EXPECT_EQ(cell, CRect(0, 44, 240, 68));
    // Columns wider than the client area scroll; a cell moves left with them.
    EXPECT_TRUE(grid.Scroll(CSize(500, 0)));
    EXPECT_EQ(grid.GetScrollPos(0), 40); // no further than the last column's right edge
    ASSERT_TRUE(grid.GetSubItemRect(0, 2, LVIR_BOUNDS, cell));
    EXPECT_EQ(cell.left, 220 - 40);
    EXPECT_FALSE(grid.GetSubItemRect(3, 0, LVIR_BOUNDS, cell));
    EXPECT_FALSE(grid.GetSubItemRect(0, 3, LVIR_BOUNDS, cell));

    // Sub-items and item data stay with their rows when rows come and go.
    grid.SetItemText(1, 1, L"second");
    grid.SetItemData(1, 0xBEEF);
    grid.InsertItem(0, L"first");
    EXPECT_EQ(grid.GetItemText(2, 1), L"second");
    EXPECT_EQ(grid.GetItemData(2), 0xBEEFu);
    EXPECT_TRUE(grid.DeleteItem(0));
    EXPECT_EQ(grid.GetItemText(1, 1), L"second");
    EXPECT_FALSE(grid.SetItemText(1, 3, L"beyond the columns"));
}

TEST_F(Host, TreeItemsHaveRectanglesOnlyWhenShown) {
    CTreeCtrl tree;
    ASSERT_TRUE(tree.Create(WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_LINESATROOT,
                            CRect(0, 0, 300, 200), &m_parent, 59204));
    HTREEITEM block = tree.InsertItem(L"Door");
    HTREEITEM tag = tree.InsertItem(L"WIDTH", block);
    HTREEITEM value = tree.InsertItem(L"900", tag);
    tree.SetItemData(tag, 7);
    EXPECT_EQ(tree.GetParentItem(value), tag);
    EXPECT_EQ(tree.GetItemData(tag), 7u);
    EXPECT_EQ(tree.GetCount(), 3u);

    CRect rect;
    EXPECT_FALSE(tree.GetItemRect(tag, &rect, TRUE)); // under a collapsed item
    tree.Expand(block, TVE_EXPAND);
    ASSERT_TRUE(tree.GetItemRect(tag, &rect, TRUE));
    EXPECT_EQ(rect, CRect(2 * 19, 16, 2 * 19 + 6 * 5 + 4, 32));
    ASSERT_TRUE(tree.GetItemRect(tag, &rect, FALSE));
    EXPECT_EQ(rect, CRect(0, 16, 300, 32));

    // A child window over an item, as an in-place editor is placed.
    CEdit editor;
    tree.GetItemRect(tag, &rect, TRUE);
    ASSERT_TRUE(editor.Create(WS_CHILD | WS_VISIBLE, rect, &tree, 99));
    CRect screen;
    editor.GetWindowRect(&screen);
    EXPECT_EQ(screen, CRect(50 + 38, 40 + 16, 50 + 72, 40 + 32));

    // Deleting an item deletes its children; their handles are no longer items.
    EXPECT_TRUE(tree.DeleteItem(tag));
    EXPECT_EQ(tree.GetCount(), 1u);
    EXPECT_EQ(tree.GetItemText(value), L"");
    EXPECT_FALSE(tree.SetItemText(value, L"gone"));
    EXPECT_EQ(tree.InsertItem(L"orphan", value), nullptr);
}

TEST_F(Host, TabItemsAndTheirDisplayArea) {
    CTabCtrl tabs;
    ASSERT_TRUE(tabs.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 300), &m_parent, 59301));
    EXPECT_EQ(tabs.GetCurSel(), -1);
    tabs.InsertItem(0, L"Drawing");
    tabs.InsertItem(1, L"Hatch");
    EXPECT_EQ(tabs.GetCurSel(), 0);
    CRect item;
    ASSERT_TRUE(tabs.GetItemRect(1, &item));
    EXPECT_EQ(item, CRect(2 + 6 * 7 + 12, 2, 2 + 6 * 7 + 12 + 6 * 5 + 12, 22));
    CRect area(0, 0, 400, 300);
    tabs.AdjustRect(FALSE, &area);
    EXPECT_EQ(area, CRect(2, 24, 398, 298));
}
