// The window system's own records: the window table, each thread's queue, timers and focus, and
// the built-in behaviour of each kind of control. Not part of what the module sees.
#pragma once

#include "cwnd.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <future>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <variant>
#include <vector>

class CDialog;

namespace dialogs {
class DialogOperator;
}

namespace dialogs::detail {

enum class Kind { Window, Dialog, Label, Button, Edit, Combo, List, Header, Tree, Tab, Slider };

struct EditData {
    int selStart = 0; // the caret is at selEnd; a selection runs from selStart to selEnd
    int selEnd = 0;
};
struct ButtonData {
    int check = BST_UNCHECKED;
};
struct ComboItem {
    CString text;
    DWORD_PTR data = 0;
};
struct ComboData {
    std::vector<ComboItem> items;
    int current = -1;
    int droppedHeight = 0;
};
struct ListColumn {
    CString heading;
    int width = 0;
    int format = 0;
};
struct ListRow {
    std::vector<CString> texts; // one per column; the item's own text first
    DWORD_PTR data = 0;
    UINT state = 0;
};
struct ListData {
    std::vector<ListColumn> columns;
    std::vector<ListRow> rows;
    DWORD extendedStyle = 0;
    int imageHeight = 0; // height of the small-image list, 0 without one
    int scrollX = 0;
    int selectionMark = -1;
    HWND header = nullptr;
};
struct TreeNode {
    CString text;
    DWORD_PTR data = 0;
    TreeNode* parent = nullptr;
    std::vector<TreeNode*> children;
    bool expanded = false;
};
struct TreeData {
    std::unordered_map<TreeNode*, std::unique_ptr<TreeNode>> nodes; // every live item
    std::vector<TreeNode*> roots;
    TreeNode* selected = nullptr;
    int itemHeight = 16;
    int indent = 19;
};
struct TabItem {
    CString text;
    LPARAM param = 0;
};
struct TabData {
    std::vector<TabItem> items;
    int current = -1;
};
struct SliderData {
    int min = 0;
    int max = 100;
    int pos = 0;
    int line = 1;
    int page = 10;
};

using ControlData = std::variant<std::monostate, EditData, ButtonData, ComboData, ListData,
                                 TreeData, TabData, SliderData>;

struct WindowState {
    HWND handle = nullptr;
    Kind kind = Kind::Window;
    CString className;
    CWnd* object = nullptr;        // receives the messages
    std::unique_ptr<CWnd> builtIn; // the object the framework made for a template control
    int id = 0;
    CString text;
    DWORD style = 0;
    CRect rect; // in the parent's client coordinates (screen coordinates without a parent)
    HWND parent = nullptr;
    HWND owner = nullptr;
    DWORD thread = 0;
    std::vector<HWND> children; // in creation order, which is also the tab order
    CFont* font = nullptr;
    bool destroying = false;
    ControlData data;
};

// --- The window table (any thread) ---

std::shared_ptr<WindowState> Find(HWND window);
// Registers a new window made by the calling thread and returns its handle.
HWND Register(std::shared_ptr<WindowState> state);
void Unregister(HWND window);
// Every window of a thread, in creation order.
std::vector<HWND> WindowsOfThread(DWORD thread);

template <class T> T* DataOf(HWND window) {
    const auto state = Find(window);
    return state == nullptr ? nullptr : std::get_if<T>(&state->data);
}

// Creates a window record for `object` and sends it WM_CREATE; nullptr when creation fails.
HWND CreateWindowRecord(CWnd* object, Kind kind, LPCWSTR className, LPCWSTR text, DWORD style,
                        const RECT& rect, HWND parent, UINT id);
// Destroys a window and its children: WM_DESTROY, timers and focus dropped, PostNcDestroy.
bool Destroy(HWND window);
// Destroys every window the calling thread still has (when a UI thread ends).
void DestroyThreadWindows();
bool IsDescendant(HWND window, HWND ancestor);

// --- The calling thread's queue, timers, focus and modal dialogs ---

struct QueuedMessage {
    MSG msg{};
    // Set for a message sent from another thread: the sender waits for the result.
    std::shared_ptr<std::promise<LRESULT>> reply;
};

struct MessageQueue {
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<QueuedMessage> messages;
};

struct Timer {
    HWND window = nullptr;
    UINT_PTR id = 0;
    std::chrono::milliseconds period{0};
    std::chrono::steady_clock::time_point due;
};

struct ThreadState {
    DWORD id = 0;
    std::shared_ptr<MessageQueue> queue = std::make_shared<MessageQueue>();
    std::vector<Timer> timers;
    HWND focus = nullptr;
    std::vector<CDialog*> modal; // running modal loops, innermost last
    MSG current{};               // the message being processed, for CWnd::Default
    dialogs::DialogOperator* dialogOperator = nullptr;
};

ThreadState& CurrentThread();
std::shared_ptr<MessageQueue> QueueOfThread(DWORD thread);

// Calls the window's object; 0 when the window does not exist. A window of another thread gets
// the message through that thread's queue, and the caller waits for the answer (which never
// comes while that thread runs no message loop, as on the platform).
LRESULT Deliver(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Input and queued messages: PreTranslateMessage from the target window up to `stop`
// (inclusive), then dispatch when nobody consumed it.
void Process(MSG& msg, HWND stop);
// Moves the keyboard focus, sending WM_KILLFOCUS and WM_SETFOCUS; returns the old focus.
HWND MoveFocus(HWND window);

// WM_COMMAND from a control to its parent with the given notification code.
LRESULT NotifyParentCommand(HWND control, UINT code);
// WM_NOTIFY from a control to its parent; `header` is filled with the sender and code.
LRESULT NotifyParent(HWND control, NMHDR& header, UINT code);

// --- Built-in behaviour of each kind (DefWindowProc) ---

LRESULT EditProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ButtonProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ComboProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT SliderProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ListProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT TreeProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT TabProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// User-level operations shared by the keyboard and the dialog operator.
void ClickButton(HWND button);
void SelectComboItem(HWND combo, int index);
void SetSliderPosition(HWND slider, int pos, UINT code);
void SelectListRow(HWND list, int row);
// Dragging a column divider of a list's header; false when the list refused the drag.
bool ResizeColumn(HWND list, int column, int width);
void SelectTreeItem(HWND tree, TreeNode* node);
void ExpandTreeItem(HWND tree, TreeNode* node, bool expand);
// FALSE when the tab control's owner refuses to leave the current tab.
bool SelectTab(HWND tab, int index);

// The cell of a report list under a point of its client area; false outside every cell.
bool ListCellAt(const WindowState& list, POINT point, int& row, int& column);
// The shown tree item whose row holds the client coordinate y; nullptr below the last one.
TreeNode* TreeNodeAtY(const WindowState& tree, int y);

} // namespace dialogs::detail
