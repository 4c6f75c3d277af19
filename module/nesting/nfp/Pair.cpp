#include "nesting/nfp/Pair.h"

#include <fmt/xchar.h>

namespace gantrel {

Pair Pair::Of(const NestPolygon& a, const NestPolygon& b, bool inner) {
    Pair pair;
    pair.a = a;
    pair.b = b;
    pair.nameA = a.Name();
    pair.nameB = b.Name();
    pair.inner = inner;
    pair.rotationA = a.Rotation();
    pair.rotationB = b.Rotation();
    return pair;
}

std::wstring Pair::KeyText() const {
    // Locale-independent, same digits as printf's "%0.4f".
    return fmt::format(L"{}|{}|{}|{:.4f}|{:.4f}", nameA, nameB, inner ? L"t" : L"f", rotationA,
                       rotationB);
}

} // namespace gantrel
