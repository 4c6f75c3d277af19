// The host's application services as the database side sees them: the working drawing, entity
// names and the host heap.
#pragma once

#include <cstddef>

#include "zcadstrc.h"
#include "zcdb.h"

class ZcDbHostApplicationServices {
public:
    virtual ~ZcDbHostApplicationServices() = default;
    // The drawing commands work on; null when no drawing is open.
    virtual ZcDbDatabase* workingDatabase() const = 0;
    // Looks a file up as zcedFindFile does; eFileNotFound when absent.
    virtual Zcad::ErrorStatus findFile(wchar_t* fileOut, int bufLength, const wchar_t* fileName,
                                       ZcDbDatabase* db = nullptr) = 0;
};

ZcDbHostApplicationServices* zcdbHostApplicationServices();

// Entity names (zds_name) stand for entities of the open drawing.
Zcad::ErrorStatus zcdbGetObjectId(ZcDbObjectId& objId, const zds_name objName);
Zcad::ErrorStatus zcdbGetZdsName(zds_name objName, ZcDbObjectId objId);
// The entity name of an entity given by its handle text; RTNORM, or RTERROR (name zeroed).
int zcdbHandEnt(const wchar_t* handle, zds_name entres);

// The host heap, for memory the host and a module hand to each other.
void* zcHeapAlloc(void* heap, std::size_t size);
void zcHeapFree(void* heap, void* p);
