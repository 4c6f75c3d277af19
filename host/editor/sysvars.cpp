// System variables.
#include "sysvars.h"

#include <cmath>
#include <limits>

#include "answers.h"
#include "command_stack.h"
#include "rb_util.h"
#include "winhost.h"

namespace gantrel::editor {

namespace {

constexpr double kBig = std::numeric_limits<double>::max();

// The variables the host knows. Numbers outside [min, max] are refused.
const VarInfo kVariables[] = {
    // Drawing header.
    {L"INSUNITS", VarType::Short, true, false, 0, 24, std::int16_t{4}},
    {L"DIMASZ", VarType::Real, true, false, 0, kBig, 2.5},
    {L"DIMSCALE", VarType::Real, true, false, 0, kBig, 1.0},
    {L"LUNITS", VarType::Short, true, false, 1, 5, std::int16_t{2}},
    {L"LUPREC", VarType::Short, true, false, 0, 8, std::int16_t{4}},
    {L"MEASUREMENT", VarType::Short, true, false, 0, 1, std::int16_t{1}},
    {L"PDMODE", VarType::Short, true, false, -32768, 32767, std::int16_t{0}},
    {L"PDSIZE", VarType::Real, true, false, -kBig, kBig, 0.0},
    {L"TEXTSIZE", VarType::Real, true, false, 1e-12, kBig, 2.5},
    {L"CLAYER", VarType::String, true, false, 0, 0, std::wstring(L"0")},
    {L"INSBASE", VarType::Point, true, false, 0, 0, ZcGePoint3d::kOrigin},
    {L"EXTMIN", VarType::Point, true, true, 0, 0, ZcGePoint3d::kOrigin},
    {L"EXTMAX", VarType::Point, true, true, 0, 0, ZcGePoint3d::kOrigin},
    // The user coordinate system: origin and axis directions in world coordinates.
    {L"UCSORG", VarType::Point, true, true, 0, 0, ZcGePoint3d::kOrigin},
    {L"UCSXDIR", VarType::Point, true, true, 0, 0, ZcGePoint3d(1, 0, 0)},
    {L"UCSYDIR", VarType::Point, true, true, 0, 0, ZcGePoint3d(0, 1, 0)},
    // Editor session.
    {L"PICKSTYLE", VarType::Short, false, false, 0, 3, std::int16_t{1}},
    {L"CMDECHO", VarType::Short, false, false, 0, 1, std::int16_t{1}},
    // Half the side of the pick box, in drawing units (there is no screen to measure pixels).
    {L"PICKBOX", VarType::Real, false, false, 0, kBig, 3.0},
    {L"PICKFIRST", VarType::Short, false, false, 0, 1, std::int16_t{1}},
    {L"FILEDIA", VarType::Short, false, false, 0, 1, std::int16_t{1}},
    {L"EXPERT", VarType::Short, false, false, 0, 5, std::int16_t{0}},
    // The last point given at a prompt, in user coordinates; "@" answers are relative to it.
    {L"LASTPOINT", VarType::Point, false, false, 0, 0, ZcGePoint3d::kOrigin},
    {L"OSMODE", VarType::Short, false, false, 0, 32767, std::int16_t{0}},
    {L"CMDACTIVE", VarType::Short, false, true, 0, 0, std::int16_t{0}},
    {L"DWGNAME", VarType::String, false, true, 0, 0, std::wstring(L"Drawing1.dwg")},
    {L"DWGPREFIX", VarType::String, false, true, 0, 0, std::wstring()},
};

double asNumber(const ZcDbHeaderValue& v) {
    if (const auto* s = std::get_if<std::int16_t>(&v))
        return *s;
    if (const auto* l = std::get_if<std::int32_t>(&v))
        return *l;
    if (const auto* d = std::get_if<double>(&v))
        return *d;
    return 0.0;
}

} // namespace

const VarInfo* findVariable(const std::wstring& name) {
    for (const VarInfo& v : kVariables)
        if (sameName(v.name, name))
            return &v;
    return nullptr;
}

std::optional<ZcDbHeaderValue> SystemVariables::value(const std::wstring& name,
                                                      const ZcDbDatabase* db) const {
    const VarInfo* info = findVariable(name);
    if (!info)
        return std::nullopt;
    if (info->inDrawing && db) {
        if (const ZcDbHeaderValue* v = db->headerVar(info->name))
            return *v;
        return info->initial;
    }
    auto it = m_values.find(info->name);
    return it != m_values.end() ? it->second : info->initial;
}

void SystemVariables::setComputed(const std::wstring& name, ZcDbHeaderValue value) {
    if (const VarInfo* info = findVariable(name))
        m_values[info->name] = std::move(value);
}

double SystemVariables::real(const std::wstring& name, const ZcDbDatabase* db) const {
    auto v = value(name, db);
    return v ? asNumber(*v) : 0.0;
}

int SystemVariables::integer(const std::wstring& name, const ZcDbDatabase* db) const {
    return static_cast<int>(real(name, db));
}

int SystemVariables::get(const std::wstring& name, const ZcDbDatabase* db, resbuf* result) const {
    const VarInfo* info = findVariable(name);
    auto v = value(name, db);
    if (!info || !v || !result)
        return RTERROR;
    switch (info->type) {
    case VarType::Short:
        result->restype = RTSHORT;
        result->resval.rint = static_cast<short>(asNumber(*v));
        break;
    case VarType::Real:
        result->restype = RTREAL;
        result->resval.rreal = asNumber(*v);
        break;
    case VarType::Point: {
        ZcGePoint3d p;
        if (const auto* q = std::get_if<ZcGePoint3d>(&*v))
            p = *q;
        result->restype = RT3DPOINT;
        result->resval.rpoint[0] = p.x;
        result->resval.rpoint[1] = p.y;
        result->resval.rpoint[2] = p.z;
        break;
    }
    case VarType::String: {
        std::wstring text;
        if (const auto* s = std::get_if<std::wstring>(&*v))
            text = *s;
        // The caller releases the element (and so the string) with zcutRelRb.
        result->restype = RTSTR;
        result->resval.rstring = newRbString(text);
        break;
    }
    }
    return RTNORM;
}

int SystemVariables::store(const VarInfo& info, ZcDbDatabase* db, ZcDbHeaderValue value,
                           std::string& why) {
    if (info.readOnly) {
        why = win::Narrow(info.name) + " is read-only";
        return RTERROR;
    }
    if (info.type == VarType::Short || info.type == VarType::Real) {
        double n = asNumber(value);
        if (n < info.min || n > info.max) {
            why = win::Narrow(info.name) + " must lie between " +
                  std::to_string(static_cast<long long>(info.min)) + " and " +
                  (info.max == kBig ? std::string("any larger value")
                                    : std::to_string(static_cast<long long>(info.max)));
            return RTERROR;
        }
    }
    if (sameName(info.name, L"CLAYER")) {
        const auto& layer = std::get<std::wstring>(value);
        ZcDbLayerTable* table = nullptr;
        bool known = false;
        if (db && db->getLayerTable(table, ZcDb::kForRead) == Zcad::eOk) {
            known = table->has(layer.c_str());
            table->close();
        }
        if (!known) {
            why = "no layer named \"" + win::Narrow(layer) + "\"";
            return RTERROR;
        }
    }
    if (info.inDrawing) {
        if (!db) {
            why = "no drawing is open";
            return RTERROR;
        }
        db->setHeaderVar(info.name, std::move(value));
    } else {
        m_values[info.name] = std::move(value);
    }
    return RTNORM;
}

int SystemVariables::set(const std::wstring& name, ZcDbDatabase* db, const resbuf* rb,
                         std::string& why) {
    const VarInfo* info = findVariable(name);
    if (!info) {
        why = "unknown variable \"" + win::Narrow(name) + "\"";
        return RTERROR;
    }
    if (!rb) {
        why = "no value";
        return RTERROR;
    }
    std::optional<double> number;
    if (rb->restype == RTSHORT)
        number = rb->resval.rint;
    else if (rb->restype == RTLONG)
        number = rb->resval.rlong;
    else if (rb->restype == RTREAL)
        number = rb->resval.rreal;
    switch (info->type) {
    case VarType::Short:
        if (!number || std::floor(*number) != *number) {
            why = win::Narrow(info->name) + " takes an integer";
            return RTERROR;
        }
        if (*number < info->min || *number > info->max)
            return store(*info, db, *number, why);
        return store(*info, db, static_cast<std::int16_t>(*number), why);
    case VarType::Real:
        if (!number || !std::isfinite(*number)) {
            why = win::Narrow(info->name) + " takes a number";
            return RTERROR;
        }
        return store(*info, db, *number, why);
    case VarType::Point:
        if (rb->restype != RT3DPOINT && rb->restype != RTPOINT) {
            why = win::Narrow(info->name) + " takes a point";
            return RTERROR;
        }
        return store(*info, db,
                     ZcGePoint3d(rb->resval.rpoint[0], rb->resval.rpoint[1],
                                 rb->restype == RT3DPOINT ? rb->resval.rpoint[2] : 0.0),
                     why);
    case VarType::String:
        if (rb->restype != RTSTR || !rb->resval.rstring) {
            why = win::Narrow(info->name) + " takes a text";
            return RTERROR;
        }
        return store(*info, db, std::wstring(rb->resval.rstring), why);
    }
    return RTERROR;
}

int SystemVariables::setFromText(const std::wstring& name, ZcDbDatabase* db,
                                 const std::string& text, std::string& why) {
    const VarInfo* info = findVariable(name);
    if (!info) {
        why = "unknown variable \"" + win::Narrow(name) + "\"";
        return RTERROR;
    }
    resbuf rb{};
    std::wstring wide;
    switch (info->type) {
    case VarType::Short: {
        auto v = parseShort(text);
        if (!v) {
            why = "\"" + text + "\" is not an integer";
            return RTERROR;
        }
        rb.restype = RTSHORT;
        rb.resval.rint = static_cast<short>(*v);
        break;
    }
    case VarType::Real: {
        auto v = parseReal(text);
        if (!v) {
            why = "\"" + text + "\" is not a number";
            return RTERROR;
        }
        rb.restype = RTREAL;
        rb.resval.rreal = *v;
        break;
    }
    case VarType::Point: {
        auto p = parsePoint(text);
        if (!p) {
            why = "\"" + text + "\" is not a point";
            return RTERROR;
        }
        rb.restype = RT3DPOINT;
        rb.resval.rpoint[0] = p->x;
        rb.resval.rpoint[1] = p->y;
        rb.resval.rpoint[2] = p->z;
        break;
    }
    case VarType::String:
        wide = win::Widen(text);
        rb.restype = RTSTR;
        rb.resval.rstring = wide.data();
        break;
    }
    return set(name, db, &rb, why);
}

} // namespace gantrel::editor
