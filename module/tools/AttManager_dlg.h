// The attribute manager's dialog: a plain dialog with no template of its own, so showing it
// modally returns at once.
#pragma once

#include "afxwin.h"

namespace gantrel {

class AttManager_dlg : public CDialog {
public:
    AttManager_dlg() = default;
};

} // namespace gantrel
