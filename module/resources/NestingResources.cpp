#include "resources/NestingResources.h"

namespace gantrel {

namespace {

// Labels on the left, their controls on the right; the texts are placeholders that the dialog
// replaces with the language pack's.
const DialogItem kSettingsItems[] = {
    {.id = IDC_ROTATION_LABEL,
     .kind = DialogItemKind::Label,
     .text = L"_rotation",
     .rect = {10, 12, 150, 28}},
    {.id = IDC_ROTATION_ALLOWED, .kind = DialogItemKind::CheckBox, .rect = {160, 12, 176, 28}},
    {.id = IDC_ROTATION_STEP, .kind = DialogItemKind::Edit, .rect = {180, 10, 290, 30}},
    {.id = IDC_SPACING_LABEL,
     .kind = DialogItemKind::Label,
     .text = L"_offset",
     .rect = {10, 42, 150, 58}},
    {.id = IDC_SPACING, .kind = DialogItemKind::Edit, .rect = {180, 40, 290, 60}},
    {.id = IDC_POPULATION_LABEL,
     .kind = DialogItemKind::Label,
     .text = L"_population",
     .rect = {10, 72, 150, 88}},
    {.id = IDC_POPULATION, .kind = DialogItemKind::NumberEdit, .rect = {180, 70, 290, 90}},
    {.id = IDC_ARC_PRECISION_LABEL,
     .kind = DialogItemKind::Label,
     .text = L"_arcprecision",
     .rect = {10, 102, 150, 118}},
    {.id = IDC_ARC_PRECISION, .kind = DialogItemKind::NumberEdit, .rect = {180, 100, 290, 120}},
    {.id = IDC_MAX_TIME_LABEL,
     .kind = DialogItemKind::Label,
     .text = L"_maxCalcTime",
     .rect = {10, 132, 150, 148}},
    {.id = IDC_MAX_TIME, .kind = DialogItemKind::NumberEdit, .rect = {180, 130, 290, 150}},
    {.id = IDC_GENERATIONS_LABEL,
     .kind = DialogItemKind::Label,
     .text = L"_generations",
     .rect = {10, 162, 150, 178}},
    {.id = IDC_GENERATIONS, .kind = DialogItemKind::NumberEdit, .rect = {180, 160, 290, 180}},
    {.id = IDC_MUTATION_LABEL,
     .kind = DialogItemKind::Label,
     .text = L"_mutation rate",
     .rect = {10, 192, 150, 208}},
    {.id = IDC_MUTATION_MINUS,
     .kind = DialogItemKind::Label,
     .text = L"-",
     .rect = {160, 192, 172, 208}},
    {.id = IDC_MUTATION_RATE, .kind = DialogItemKind::Slider, .rect = {174, 190, 276, 210}},
    {.id = IDC_MUTATION_PLUS,
     .kind = DialogItemKind::Label,
     .text = L"+",
     .rect = {278, 192, 290, 208}},
    {.id = IDC_IMPROVE_LABEL,
     .kind = DialogItemKind::Label,
     .text = L"_improve",
     .rect = {10, 222, 150, 238}},
    {.id = IDC_IMPROVE, .kind = DialogItemKind::CheckBox, .rect = {160, 222, 176, 238}},
    {.id = IDOK,
     .kind = DialogItemKind::DefPushButton,
     .text = L"_save",
     .rect = {110, 255, 195, 280}},
    {.id = IDCANCEL,
     .kind = DialogItemKind::PushButton,
     .text = L"_cancel",
     .rect = {205, 255, 290, 280}},
};

const DialogItem kStopItems[] = {
    {.id = IDC_STOP,
     .kind = DialogItemKind::DefPushButton,
     .text = L"_stop",
     .rect = {10, 10, 150, 36}},
};

} // namespace

void RegisterNestingDialogs() {
    RegisterDialogResource({.id = IDD_NEST_SETTINGS,
                            .caption = L"Dialog",
                            .rect = {0, 0, 300, 290},
                            .items = kSettingsItems});
    RegisterDialogResource({.id = IDD_STOP_NESTING,
                            .caption = L"Dialog",
                            .rect = {0, 0, 160, 46},
                            .items = kStopItems});
}

} // namespace gantrel
