// Dialog templates: the module describes each of its dialogs as a table of controls and
// registers the tables when it is loaded; CDialog builds its window and controls from them.
//
// Rectangles are pixels in the dialog's client area. Every control is a visible child with a
// tab stop unless its entry says otherwise; `style` adds the platform's style bits of its kind
// (ES_NUMBER, ES_READONLY, TVS_HASBUTTONS, LVS_SINGLESEL, WS_BORDER ...).
//
//     const DialogItem kStopItems[] = {
//         {.id = 1, .kind = DialogItemKind::DefPushButton, .text = L"_stop", .rect = {10, 10, 90,
//         34}},
//     };
//     RegisterDialogResource({.id = 8007, .caption = L"Dialog", .rect = {0, 0, 100, 44},
//                             .items = kStopItems});
#pragma once

#include "afx_types.h"

#include <span>

enum class DialogItemKind {
    Label,
    PushButton,
    DefPushButton, // the button Enter presses
    CheckBox,
    Edit,
    NumberEdit,    // an edit that takes digits only (ES_NUMBER)
    ComboDropDown, // the user may type or choose
    ComboDropList, // the user may only choose
    ListReport,    // a list control in report view
    Tree,
    Tab,
    Slider,
};

struct DialogItem {
    int id = 0;
    DialogItemKind kind = DialogItemKind::Label;
    const wchar_t* text = L"";
    RECT rect{0, 0, 0, 0};
    DWORD style = 0;
    bool visible = true;
    bool enabled = true;
    bool tabStop = true; // labels never have one
};

struct DialogResource {
    UINT id = 0;
    const wchar_t* caption = L"";
    RECT rect{0, 0, 0, 0};
    std::span<const DialogItem> items{};
    // WS_CHILD for a dialog shown inside another window (a tab page); WS_VISIBLE shows a
    // modeless dialog at once. Modal dialogs are always shown.
    DWORD style = 0;
};

// Keeps a copy of the resource (so the module's tables may go away); a later registration of
// the same identifier replaces it.
void RegisterDialogResource(const DialogResource& resource);
void UnregisterDialogResource(UINT id);
bool HasDialogResource(UINT id);
