// The dialog framework as the module includes it: windows, controls, dialogs, data exchange,
// UI threads and dialog templates, over the Windows stand-ins.
#pragma once

#include "winstandin.h"

#include "controls.h"
#include "cwnd.h"
#include "data_exchange.h"
#include "dialog.h"
#include "dialog_resources.h"
#include "list_ctrl.h"
#include "tab_ctrl.h"
#include "tree_ctrl.h"
#include "ui_thread.h"
