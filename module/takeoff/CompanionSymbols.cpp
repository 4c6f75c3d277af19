#include "takeoff/CompanionSymbols.h"

#include "zced.h"

#include <initializer_list>

namespace gantrel {

namespace {

void SetToNil(const wchar_t* name) {
    resbuf nil{};
    nil.restype = RTNIL;
    zcedPutSym(name, &nil);
}

} // namespace

void ResetValueListSymbols() {
    for (const wchar_t* name :
         {L"*Lokals*", L"*IDs*", L"*DescsList*", L"*SelDescs*", L"*P_Desc_dlg:mem*"}) {
        SetToNil(name);
    }
}

void ResetSettingsSymbols() {
    for (const wchar_t* name : {L"*DescBlockName*", L"*Tallimo:Settings*"}) {
        SetToNil(name);
    }
}

} // namespace gantrel
