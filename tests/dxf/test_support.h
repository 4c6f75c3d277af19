// Saving to and loading from text for the DXF tests.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "dxf_io.h"
#include "zcdball.h"

namespace dxftest {

inline std::string save(const ZcDbDatabase& db) {
    std::ostringstream out;
    std::string error;
    EXPECT_TRUE(gantrel::dxf::writeDxf(db, out, &error)) << error;
    return out.str();
}

// Loads text that must read without error; repairs are allowed only when asked for.
inline std::unique_ptr<ZcDbDatabase> load(const std::string& text, bool allowRepairs = false,
                                          const std::string& name = "test.dxf") {
    auto db = std::make_unique<ZcDbDatabase>(false);
    const gantrel::dxf::ReadResult result = gantrel::dxf::readDxfText(*db, text, name);
    EXPECT_TRUE(result.ok) << result.message;
    if (!allowRepairs) {
        for (const std::string& r : result.repairs)
            ADD_FAILURE() << "unexpected repair: " << r;
    }
    return db;
}

template <class T> const T* objectByHandle(const ZcDbDatabase& db, std::uint64_t handle) {
    ZcDbObjectId id;
    const_cast<ZcDbDatabase&>(db).getZcDbObjectId(id, false, ZcDbHandle(handle));
    ZcDbObject* obj = nullptr;
    if (zcdbOpenObject(obj, id, ZcDb::kForRead) != Zcad::eOk)
        return nullptr;
    obj->close();
    return T::cast(obj);
}

// The entities of model space, in order, of one class.
template <class T> std::vector<const T*> entitiesOf(ZcDbDatabase& db) {
    std::vector<const T*> out;
    ZcDbBlockTableRecord* ms = nullptr;
    if (zcdbOpenObject(ms, db.modelSpaceId(), ZcDb::kForRead) != Zcad::eOk)
        return out;
    for (const ZcDbObjectId& id : ms->entityIds()) {
        ZcDbEntity* e = nullptr;
        if (zcdbOpenObject(e, id, ZcDb::kForRead) == Zcad::eOk) {
            if (const T* t = T::cast(e); t && t->isA() == T::desc())
                out.push_back(t);
            e->close();
        }
    }
    ms->close();
    return out;
}

inline std::string dataPath(const std::string& relative) {
    return std::string(GANTREL_TEST_DATA) + "/" + relative;
}

} // namespace dxftest
