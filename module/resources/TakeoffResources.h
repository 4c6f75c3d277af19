// The dialog templates of the takeoff: the value-list editor, the settings editor and its page,
// with the identifiers of their controls.
#pragma once

#include "afxwin.h"

namespace gantrel {

// The value-list editor.
inline constexpr UINT IDD_ATTRIBUTE_VALUES = 8008;
inline constexpr int IDC_ADD_VALUE = 59003;
inline constexpr int IDC_VALUES_FROM_FILE = 59004;
inline constexpr int IDC_COPY_TAG = 59005;
inline constexpr int IDC_REMOVE = 59006;
inline constexpr int IDC_REFILL = 59007;
inline constexpr int IDC_ATTRIBUTES_TREE = 59204;

// The settings editor and the page each of its tabs shows.
inline constexpr UINT IDD_TAKEOFF_SETTINGS = 59105;
inline constexpr int IDC_SETTINGS_UNUSED_TREE = 59205;
inline constexpr int IDC_SETTINGS_TABS = 59301;
inline constexpr UINT IDD_SETTINGS_PAGE = 59300;
inline constexpr int IDC_SETTINGS_GRID = 59302;

// Registers the three templates; called when the module is loaded, harmless to call again.
void RegisterTakeoffDialogs();

} // namespace gantrel
