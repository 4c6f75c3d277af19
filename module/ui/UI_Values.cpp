#include "ui/UI_Values.h"

namespace gantrel {

UI_Path::UI_Path(const CString& path) {
    reserve(path.size());
    for (size_t i = 0; i < path.size(); ++i) {
        if (path[i] != L'\\') {
            push_back(path[i]);
            continue;
        }
        push_back(L'/');
        if (i + 1 < path.size() && path[i + 1] == L'\\') {
            ++i; // a doubled backslash (an escaped one) is one separator
        }
    }
}

} // namespace gantrel
