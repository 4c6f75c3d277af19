#include "takeoff/Settings_List.h"

namespace gantrel {

void Settings_List::OnFileSelChanged(int row, int /*column*/, UI_DG_B_FileSelector& button) {
    SetCellText(row, 1, button.GetPath());
    if (onFileChosen) {
        onFileChosen(row);
    }
}

} // namespace gantrel
