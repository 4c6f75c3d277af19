// The dialog templates of nesting: the settings dialog and the stop dialog, with the
// identifiers of their controls.
#pragma once

#include "afxwin.h"

namespace gantrel {

// The nesting settings dialog.
inline constexpr UINT IDD_NEST_SETTINGS = 8006;
inline constexpr int IDC_ROTATION_STEP = 1002;
inline constexpr int IDC_SPACING = 1003;
inline constexpr int IDC_POPULATION = 1004;
inline constexpr int IDC_SPACING_LABEL = 1005;
inline constexpr int IDC_ROTATION_LABEL = 1006;
inline constexpr int IDC_POPULATION_LABEL = 1007;
// Named by the dialog's texts but absent from the template.
inline constexpr int IDC_UNUSED_LABEL = 1010;
inline constexpr int IDC_ARC_PRECISION = 1012;
inline constexpr int IDC_ARC_PRECISION_LABEL = 1013;
inline constexpr int IDC_ROTATION_ALLOWED = 1014;
inline constexpr int IDC_MAX_TIME = 1015;
inline constexpr int IDC_MAX_TIME_LABEL = 1016;
inline constexpr int IDC_MUTATION_LABEL = 1020;
inline constexpr int IDC_MUTATION_RATE = 1023;
inline constexpr int IDC_MUTATION_MINUS = 1024;
inline constexpr int IDC_MUTATION_PLUS = 1025;
inline constexpr int IDC_GENERATIONS = 1026;
inline constexpr int IDC_GENERATIONS_LABEL = 1027;
inline constexpr int IDC_IMPROVE = 1028;
inline constexpr int IDC_IMPROVE_LABEL = 1029;

// The stop dialog of a nesting run: one button.
inline constexpr UINT IDD_STOP_NESTING = 8007;
inline constexpr int IDC_STOP = 1;

// Registers both templates with the dialog framework; called when the module is loaded, and
// harmless to call again.
void RegisterNestingDialogs();

} // namespace gantrel
