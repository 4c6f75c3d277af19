#include "tools/AttManager_cmd.h"

#include "tools/AttManager_dlg.h"

namespace gantrel {

int AttManager_cmd::Run() {
    if (Start() != 0) {
        return IDCANCEL;
    }
    AttManager_dlg dialog;
    return static_cast<int>(dialog.DoModal());
}

} // namespace gantrel
