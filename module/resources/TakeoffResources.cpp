#include "resources/TakeoffResources.h"

#include "dialog_resources.h"

namespace gantrel {

namespace {

// Button captions are placeholders that the dialogs replace with the language pack's texts.
const DialogItem kAttributeValuesItems[] = {
    {.id = IDC_ATTRIBUTES_TREE,
     .kind = DialogItemKind::Tree,
     .rect = {10, 10, 330, 330},
     .style = TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS},
    {.id = IDC_ADD_VALUE,
     .kind = DialogItemKind::PushButton,
     .text = L"_add",
     .rect = {340, 10, 470, 34}},
    {.id = IDC_VALUES_FROM_FILE,
     .kind = DialogItemKind::PushButton,
     .text = L"_load",
     .rect = {340, 40, 470, 64}},
    {.id = IDC_COPY_TAG,
     .kind = DialogItemKind::PushButton,
     .text = L"_copy",
     .rect = {340, 70, 470, 94}},
    {.id = IDC_REMOVE,
     .kind = DialogItemKind::PushButton,
     .text = L"_remove",
     .rect = {340, 100, 470, 124}},
    {.id = IDC_REFILL,
     .kind = DialogItemKind::PushButton,
     .text = L"_fromdwg",
     .rect = {340, 130, 470, 154},
     .visible = false,
     .enabled = false},
    {.id = IDOK,
     .kind = DialogItemKind::DefPushButton,
     .text = L"_save",
     .rect = {340, 276, 470, 300}},
    {.id = IDCANCEL,
     .kind = DialogItemKind::PushButton,
     .text = L"_cancel",
     .rect = {340, 306, 470, 330}},
};

const DialogItem kSettingsItems[] = {
    {.id = IDC_SETTINGS_TABS, .kind = DialogItemKind::Tab, .rect = {10, 10, 460, 330}},
    {.id = IDC_SETTINGS_UNUSED_TREE,
     .kind = DialogItemKind::Tree,
     .rect = {10, 10, 20, 20},
     .visible = false},
    {.id = IDOK,
     .kind = DialogItemKind::DefPushButton,
     .text = L"_save",
     .rect = {270, 340, 360, 364}},
    {.id = IDCANCEL,
     .kind = DialogItemKind::PushButton,
     .text = L"_cancel",
     .rect = {370, 340, 460, 364}},
};

const DialogItem kSettingsPageItems[] = {
    {.id = IDC_SETTINGS_GRID,
     .kind = DialogItemKind::ListReport,
     .rect = {0, 0, 440, 280},
     .style = LVS_SINGLESEL | WS_BORDER},
};

} // namespace

void RegisterTakeoffDialogs() {
    RegisterDialogResource({.id = IDD_ATTRIBUTE_VALUES,
                            .caption = L"Tallimo",
                            .rect = {0, 0, 480, 340},
                            .items = kAttributeValuesItems});
    RegisterDialogResource({.id = IDD_TAKEOFF_SETTINGS,
                            .caption = L"_settings",
                            .rect = {0, 0, 470, 374},
                            .items = kSettingsItems});
    RegisterDialogResource({.id = IDD_SETTINGS_PAGE,
                            .caption = L"",
                            .rect = {0, 0, 440, 280},
                            .items = kSettingsPageItems,
                            .style = WS_CHILD});
}

} // namespace gantrel
