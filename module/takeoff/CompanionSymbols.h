// The companion takeoff program caches what it read from the settings and the value lists in
// host LISP symbols; they are set to nil whenever the module changes either, so that the
// program reads them again.
#pragma once

namespace gantrel {

// "*Lokals*", "*IDs*", "*DescsList*", "*SelDescs*", "*P_Desc_dlg:mem*", in that order.
void ResetValueListSymbols();
// "*DescBlockName*", "*Tallimo:Settings*", in that order.
void ResetSettingsSymbols();

} // namespace gantrel
