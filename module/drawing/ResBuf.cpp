#include "drawing/ResBuf.h"

#include <cstring>
#include <cwchar>

#include "zcdbhost.h"
#include "zced.h"

namespace gantrel {

ResBuf::~ResBuf() {
    if (m_head != nullptr) {
        zcutRelRb(m_head);
    }
}

void ResBuf::Append(resbuf* element) {
    if (element == nullptr) {
        return;
    }
    if (m_tail == nullptr) {
        m_head = element;
    } else {
        m_tail->rbnext = element;
    }
    m_tail = element;
}

void ResBuf::AddSelection(std::vector<ZcDbObjectId> ids) {
    zds_name set = {0, 0};
    if (zcedSSAdd(nullptr, nullptr, set) != RTNORM) {
        return;
    }
    for (const ZcDbObjectId& id : ids) {
        zds_name name = {0, 0};
        if (zcdbGetZdsName(name, id) != Zcad::eOk) {
            continue;
        }
        zds_name result = {0, 0};
        zcedSSAdd(name, set, result);
    }
    resbuf* element = zcutNewRb(RTPICKS);
    element->resval.rlname[0] = set[0];
    element->resval.rlname[1] = set[1];
    Append(element);
}

void ResBuf::AddEntity(ZcDbObjectId id) {
    resbuf* element = zcutNewRb(RTENAME);
    zds_name name = {0, 0};
    zcdbGetZdsName(name, id);
    element->resval.rlname[0] = name[0];
    element->resval.rlname[1] = name[1];
    Append(element);
}

void ResBuf::AddPoint(const ZcGePoint3d& point) {
    resbuf* element = zcutNewRb(RTPOINT);
    element->resval.rpoint[0] = point.x;
    element->resval.rpoint[1] = point.y;
    element->resval.rpoint[2] = point.z;
    Append(element);
}

void ResBuf::AddString(const wchar_t* text) {
    AddTyped(RTSTR, text);
}

void ResBuf::AddReal(double value) {
    resbuf* element = zcutNewRb(RTREAL);
    element->resval.rreal = value;
    Append(element);
}

void ResBuf::AddShort(int value) {
    resbuf* element = zcutNewRb(RTSHORT);
    element->resval.rint = static_cast<short>(value);
    Append(element);
}

void ResBuf::AddTyped(int type, const wchar_t* text) {
    resbuf* element = zcutNewRb(type);
    if (element == nullptr) {
        return;
    }
    if (zcutResValueKind(type) != ZcResValueKind::String) {
        // A type that holds no string keeps no copy: the chain's release would not free it.
        Append(element);
        return;
    }
    const wchar_t* source = text != nullptr ? text : L"";
    const std::size_t length = std::wcslen(source);
    // zcutRelRb frees strings with the host heap.
    auto* copy = static_cast<wchar_t*>(zcHeapAlloc(nullptr, (length + 1) * sizeof(wchar_t)));
    std::wmemcpy(copy, source, length + 1);
    element->resval.rstring = copy;
    Append(element);
}

} // namespace gantrel
