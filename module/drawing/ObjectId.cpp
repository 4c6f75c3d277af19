#include "drawing/ObjectId.h"

#include <cwchar>

#include "drawing/HostStatus.h"
#include "zcdbhost.h"

namespace gantrel {

ObjectId::ObjectId(const wchar_t* handle) {
    zds_name name = {0, 0};
    zcdbHandEnt(handle != nullptr ? handle : L"", name);
    SetStatus(zcdbGetObjectId(m_id, name));
}

std::wstring ObjectId::HandleString() const {
    if (m_id.isNull()) {
        return {};
    }
    ZcDbObject* object = nullptr;
    if (zcdbOpenObject(object, m_id, ZcDb::kForRead, true) != Zcad::eOk) {
        return {};
    }
    wchar_t buffer[32] = {};
    object->handle().getIntoAsciiBuffer(buffer, 32);
    object->close();
    return buffer;
}

int ObjectId::IsValid() const {
    if (m_id.isNull()) {
        return HandleStatus::kInvalidId;
    }
    if (m_id.isErased()) {
        return HandleStatus::kErased;
    }
    return HandleStatus::kOk;
}

} // namespace gantrel
