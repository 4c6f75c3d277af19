// The grid of a settings page: label, value and a narrow column for the template's "..."
// button. A file chosen with that button becomes the row's value and is handed to the page.
#pragma once

#include "ui/UI_DataGrid.h"

#include <functional>

namespace gantrel {

class Settings_List : public UI_DataGrid_2 {
public:
    // Called with the row whose file was chosen, after its value shows the path.
    std::function<void(int row)> onFileChosen;

protected:
    void OnFileSelChanged(int row, int column, UI_DG_B_FileSelector& button) override;
};

} // namespace gantrel
