// The root of the handle hierarchy: a host object id and the last status.
#pragma once

#include <string>

#include "zcdb.h"

namespace gantrel {

class ObjectId {
public:
    ObjectId() = default;
    ObjectId(ZcDbObjectId id) : m_id(id) {} // NOLINT: a host id converts to a handle
    // From the object's handle text: handle -> entity name -> id; the status is the result of
    // the last step (0 on success).
    explicit ObjectId(const wchar_t* handle);
    virtual ~ObjectId() = default;

    ZcDbObjectId Id() const { return m_id; }
    int Status() const { return m_status; }
    // The object's handle as hexadecimal text; empty when the id is null or cannot be opened.
    std::wstring HandleString() const;
    // 374 for a null id, 80 for an erased object, else 0.
    int IsValid() const;

protected:
    int SetStatus(int status) {
        m_status = status;
        return status;
    }
    ZcDbObjectId m_id;

private:
    int m_status = 374;
};

} // namespace gantrel
