#include "drawing/UserInput.h"

#include <algorithm>
#include <string>

#include "zcdbhost.h"
#include "zced.h"

namespace gantrel {

int ZWVariable::GetInt() const {
    resbuf value{};
    value.restype = RTSHORT;
    if (zcedGetVar(m_name.c_str(), &value) != RTNORM) {
        return 0;
    }
    return value.resval.rint;
}

double ZWVariable::GetReal() const {
    resbuf value{};
    value.restype = RTREAL;
    if (zcedGetVar(m_name.c_str(), &value) != RTNORM) {
        return 0.0;
    }
    return value.resval.rreal;
}

bool ZWVariable::SetInt(int value) const {
    resbuf element{};
    element.restype = RTSHORT;
    element.resval.rint = static_cast<short>(value);
    return zcedSetVar(m_name.c_str(), &element) == RTNORM;
}

void FilterByType::Filter(const ZcRxClass* cls, std::vector<ZcDbObjectId>& out) const {
    for (const ZcDbObjectId& id : m_ids) {
        if (id.isNull() || id.isErased()) {
            continue;
        }
        ZcDbObject* object = nullptr;
        if (zcdbOpenObject(object, id, ZcDb::kForRead) != Zcad::eOk) {
            continue;
        }
        if (object->isKindOf(cls)) {
            out.push_back(id);
        }
        object->close();
    }
}

EntitySelector::EntitySelector(int mode) : m_mode(mode) {
    m_ids.reserve(8);
    const ZWVariable pickStyle(L"PICKSTYLE");
    m_savedPickStyle = pickStyle.GetInt();
    pickStyle.SetInt(0);
}

EntitySelector::~EntitySelector() {
    ZWVariable(L"PICKSTYLE").SetInt(m_savedPickStyle);
}

const wchar_t* EntitySelector::ModeString(int mode) {
    switch (mode) {
    case All:
        return L"X";
    case Implied:
        return L"I";
    case Crossing:
        return L"C";
    case Single:
        return L":S";
    case Last:
        return L"L";
    case Window:
        return L"W";
    default:
        return nullptr;
    }
}

int EntitySelector::Select() {
    m_ids.clear();
    zds_name set = {0, 0};
    const int answer = zcedSSGet(ModeString(m_mode), m_corner1, m_corner2, m_filter, set);
    if (answer == RTCAN) {
        return kSelectionCancelled;
    }
    if (answer == RTNORM) {
        Collect(set);
        zcedSSFree(set);
    }
    return 0;
}

void EntitySelector::Collect(const zds_name set) {
    std::int32_t length = 0;
    if (zcedSSLength(set, &length) != RTNORM) {
        return;
    }
    for (std::int32_t i = 0; i < length; ++i) {
        zds_name name = {0, 0};
        ZcDbObjectId id;
        if (zcedSSName(set, i, name) != RTNORM || zcdbGetObjectId(id, name) != Zcad::eOk) {
            continue;
        }
        m_ids.push_back(id);
    }
    resbuf* info = nullptr;
    if (zcedSSNameX(&info, set, 0) == RTNORM) {
        for (const resbuf* rb = info; rb != nullptr; rb = rb->rbnext) {
            if (rb->restype == RT3DPOINT) {
                for (int k = 0; k < 3; ++k) {
                    m_pick[k] = rb->resval.rpoint[k];
                }
                break;
            }
        }
    }
    if (info != nullptr) {
        zcutRelRb(info);
    }
}

int ZWUserInput::PickEntity() {
    zds_name name = {0, 0};
    m_status = zcedEntSel(GetPrompt().c_str(), name, m_pick);
    if (m_status != RTNORM) {
        return m_status;
    }
    zcdbGetObjectId(m_picked, name);
    m_status = RTENAME;
    return RTENAME;
}

int ZWUserInput::GetInt(int& value, int defaultValue) {
    m_prompt += L":<" + std::to_wstring(defaultValue) + L">";
    int answer = 0;
    const int status = zcedGetInt(m_prompt.c_str(), &answer);
    if (status == RTNONE) {
        value = defaultValue;
        return RTNORM;
    }
    if (status == RTNORM) {
        value = answer;
    }
    return status;
}

namespace {

std::vector<ZcDbObjectId> SelectInMode(int mode, bool* cancelled = nullptr) {
    EntitySelector selector(mode);
    const int status = selector.Select();
    if (cancelled != nullptr) {
        *cancelled = status == kSelectionCancelled;
    }
    return selector.Ids();
}

bool Transform(const ZcGePoint3d& point, int from, int to, ZcGePoint3d& result) {
    resbuf fromRb{};
    fromRb.restype = RTSHORT;
    fromRb.resval.rint = static_cast<short>(from);
    resbuf toRb{};
    toRb.restype = RTSHORT;
    toRb.resval.rint = static_cast<short>(to);
    const zds_point in = {point.x, point.y, point.z};
    zds_point out = {0.0, 0.0, 0.0};
    if (zcedTrans(in, &fromRb, &toRb, 0, out) != RTNORM) {
        return false;
    }
    result = {out[0], out[1], out[2]};
    return true;
}

enum class PointPrompt { Point, Corner };

int AskPoint(PointPrompt kind, ZcGePoint3d& point, const std::wstring& prompt,
             const ZcGePoint3d* base, bool toWorld) {
    const std::wstring text = L"\n" + prompt + L": ";
    zds_point basePoint = {0.0, 0.0, 0.0};
    if (base != nullptr) {
        const ZcGePoint3d user = WorldToUser(*base);
        basePoint[0] = user.x;
        basePoint[1] = user.y;
        basePoint[2] = user.z;
    }
    zds_point result = {0.0, 0.0, 0.0};
    int status = RTERROR;
    if (kind == PointPrompt::Point) {
        status = zcedGetPoint(base != nullptr ? basePoint : nullptr, text.c_str(), result);
    } else if (base != nullptr) {
        status = zcedGetCorner(basePoint, text.c_str(), result);
    }
    if (status != RTNORM) {
        return RTERROR;
    }
    const ZcGePoint3d user(result[0], result[1], result[2]);
    point = toWorld ? UserToWorld(user) : user;
    return RTNORM;
}

} // namespace

std::vector<ZcDbObjectId> SelectEntities() {
    return SelectInMode(EntitySelector::Interactive);
}

std::vector<ZcDbObjectId> SelectImplied() {
    return SelectInMode(EntitySelector::Implied);
}

std::vector<ZcDbObjectId> SelectIds(const std::wstring& /*prompt: the host shows its own*/) {
    bool cancelled = false;
    std::vector<ZcDbObjectId> ids = SelectInMode(EntitySelector::Interactive, &cancelled);
    if (cancelled) {
        ids.clear();
    }
    return ids;
}

ZcDbObjectId PickEntityOfKind(const std::wstring& prompt,
                              std::initializer_list<const ZcRxClass*> kinds) {
    for (;;) {
        zds_name name = {0, 0};
        zds_point pick = {0.0, 0.0, 0.0};
        const int status = zcedEntSel(prompt.c_str(), name, pick);
        if (status == RTCAN) {
            return ZcDbObjectId::kNull;
        }
        ZcDbObjectId id;
        if (status != RTNORM || zcdbGetObjectId(id, name) != Zcad::eOk) {
            continue;
        }
        ZcDbObject* object = nullptr;
        if (zcdbOpenObject(object, id, ZcDb::kForRead) != Zcad::eOk) {
            continue;
        }
        const bool wanted =
            std::any_of(kinds.begin(), kinds.end(),
                        [object](const ZcRxClass* kind) { return object->isKindOf(kind); });
        object->close();
        if (wanted) {
            return id;
        }
    }
}

ZcDbObjectId PickPolyline(const std::wstring& prompt) {
    return PickEntityOfKind(prompt, {ZcDbPolyline::desc(), ZcDb2dPolyline::desc()});
}

int GetPointFromUser(ZcGePoint3d& point, const std::wstring& prompt, const ZcGePoint3d* base,
                     bool toWorld) {
    return AskPoint(PointPrompt::Point, point, prompt, base, toWorld);
}

int GetCornerFromUser(ZcGePoint3d& point, const std::wstring& prompt, const ZcGePoint3d* base,
                      bool toWorld) {
    return AskPoint(PointPrompt::Corner, point, prompt, base, toWorld);
}

ZcGePoint3d WorldToUser(const ZcGePoint3d& point) {
    ZcGePoint3d result = point;
    Transform(point, 0, 1, result);
    return result;
}

ZcGePoint3d UserToWorld(const ZcGePoint3d& point) {
    ZcGePoint3d result = point;
    Transform(point, 1, 0, result);
    return result;
}

bool SetIntVariable(const std::wstring& name, int value) {
    return ZWVariable(name).SetInt(value);
}

double GetRealVariable(const std::wstring& name) {
    return ZWVariable(name).GetReal();
}

int RunQuietly(const std::wstring& command) {
    const ZWVariable echo(L"cmdecho");
    const int saved = echo.GetInt();
    echo.SetInt(0);
    const int status = zcedCommand(RTSTR, command.c_str(), RTNONE);
    echo.SetInt(saved);
    return status;
}

} // namespace gantrel
