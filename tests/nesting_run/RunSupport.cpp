#include "RunSupport.h"

namespace gantrel::testing {

NestPolygon Rectangle(const std::wstring& name, double w, double h) {
    NestPolygon p{GePoint(0, 0), GePoint(w, 0), GePoint(w, h), GePoint(0, h)};
    p.SetName(name);
    return p;
}

} // namespace gantrel::testing
