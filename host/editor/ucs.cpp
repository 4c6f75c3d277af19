// The user coordinate system.
#include "ucs.h"

#include "sysvars.h"

namespace gantrel::editor {

namespace {

ZcGePoint3d pointVar(const SystemVariables& variables, const wchar_t* name,
                     const ZcDbDatabase* db) {
    std::optional<ZcDbHeaderValue> v = variables.value(name, db);
    const auto* p = v ? std::get_if<ZcGePoint3d>(&*v) : nullptr;
    return p ? *p : ZcGePoint3d::kOrigin;
}

ZcGeVector3d asVector(const ZcGePoint3d& p) {
    return ZcGeVector3d(p.x, p.y, p.z);
}

} // namespace

ZcGePoint3d UserSystem::toWorld(const ZcGePoint3d& p, bool displacement) const {
    ZcGeVector3d w = x * p.x + y * p.y + z * p.z;
    ZcGePoint3d base = displacement ? ZcGePoint3d::kOrigin : origin;
    return ZcGePoint3d(base.x + w.x, base.y + w.y, base.z + w.z);
}

ZcGePoint3d UserSystem::toUser(const ZcGePoint3d& p, bool displacement) const {
    ZcGeVector3d d = displacement ? asVector(p) : p - origin;
    return ZcGePoint3d(d.dotProduct(x), d.dotProduct(y), d.dotProduct(z));
}

UserSystem userSystem(const SystemVariables& variables, const ZcDbDatabase* db) {
    UserSystem ucs;
    ucs.origin = pointVar(variables, L"UCSORG", db);
    ZcGeVector3d x = asVector(pointVar(variables, L"UCSXDIR", db));
    ZcGeVector3d y = asVector(pointVar(variables, L"UCSYDIR", db));
    if (x.isZeroLength())
        return ucs;
    x = x.normal();
    y = y - x * y.dotProduct(x);
    if (y.isZeroLength())
        return ucs;
    ucs.x = x;
    ucs.y = y.normal();
    ucs.z = ucs.x.crossProduct(ucs.y);
    return ucs;
}

} // namespace gantrel::editor
