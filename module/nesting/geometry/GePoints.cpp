#include "nesting/geometry/GePoints.h"

#include <algorithm>
#include <fmt/xchar.h>

namespace gantrel {

void GePoints::Reverse() {
    std::reverse(Items().begin(), Items().end());
}

std::wstring GePoints::ToString() const {
    std::wstring text;
    for (const GePoint& p : *this) {
        // Locale-independent, same digits as printf's "%0.4f %0.4f".
        text += fmt::format(L"  {:.4f} {:.4f}", p.x, p.y);
    }
    return text;
}

} // namespace gantrel
