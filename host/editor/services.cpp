// The runtime's system registry and its services, the host application services, entity names
// and the host heap.
#include <cstdlib>
#include <map>
#include <string>

#include "database_impl.h"
#include "session.h"
#include "winhost.h"
#include "zcdbhost.h"
#include "zced.h"
#include "zcrxapp.h"

ZCRX_DEFINE_MEMBERS(ZcRxDictionary, ZcRxObject, nullptr)
ZCRX_DEFINE_MEMBERS(ZcRxDynamicLinker, ZcRxObject, nullptr)

using gantrel::editor::HostSession;

namespace {

class DynamicLinker : public ZcRxDynamicLinker {
public:
    bool unlockApplication(void* appId) const override { return setLocked(appId, false); }
    bool lockApplication(void* appId) const override { return setLocked(appId, true); }
    bool isApplicationLocked(const wchar_t* name) const override {
        HostSession* s = HostSession::current();
        auto* m = s && name ? s->modules().findByName(name) : nullptr;
        return m && m->locked;
    }
    bool registerAppMDIAware(void* appId) const override {
        HostSession* s = HostSession::current();
        auto* m = s ? s->modules().find(appId) : nullptr;
        if (m)
            m->mdiAware = true;
        return m != nullptr;
    }
    bool loadModule(const wchar_t* fileName, bool printit, bool) override {
        HostSession* s = HostSession::current();
        if (!s || !fileName)
            return false;
        std::string error;
        bool ok = s->loadModule(win::NativePath(fileName), error) != nullptr;
        if (!ok && printit)
            s->transcript().message(error);
        return ok;
    }
    bool unloadModule(const wchar_t* fileName, bool) override {
        HostSession* s = HostSession::current();
        std::wstring name = fileName ? fileName : L"";
        std::size_t slash = name.find_last_of(L"/\\");
        if (slash != std::wstring::npos)
            name = name.substr(slash + 1);
        auto* m = s ? s->modules().findByName(name) : nullptr;
        if (!m || m->locked)
            return false;
        s->unloadModule(m);
        return true;
    }

private:
    static bool setLocked(void* appId, bool locked) {
        HostSession* s = HostSession::current();
        auto* m = s ? s->modules().find(appId) : nullptr;
        if (m)
            m->locked = locked;
        return m != nullptr;
    }
};

// The system registry: the host's services, plus whatever modules store in it.
class SystemRegistry : public ZcRxDictionary {
public:
    ZcRxObject* at(const wchar_t* key) const override {
        if (!key)
            return nullptr;
        std::wstring k = key;
        if (k == ZCRX_DYNAMIC_LINKER)
            return &m_linker;
        if (k == ZCRX_COMMAND_DOCK) {
            HostSession* s = HostSession::current();
            return s ? &s->commands() : nullptr;
        }
        auto it = m_entries.find(k);
        return it == m_entries.end() ? nullptr : it->second;
    }
    ZcRxObject* atPut(const wchar_t* key, ZcRxObject* obj) override {
        if (!key)
            return nullptr;
        ZcRxObject*& slot = m_entries[key];
        ZcRxObject* old = slot;
        slot = obj;
        return old;
    }
    ZcRxObject* remove(const wchar_t* key) override {
        auto it = key ? m_entries.find(key) : m_entries.end();
        if (it == m_entries.end())
            return nullptr;
        ZcRxObject* old = it->second;
        m_entries.erase(it);
        return old;
    }
    unsigned numEntries() const override { return static_cast<unsigned>(m_entries.size()) + 2; }

private:
    mutable DynamicLinker m_linker;
    std::map<std::wstring, ZcRxObject*> m_entries;
};

class HostServices : public ZcDbHostApplicationServices {
public:
    ZcDbDatabase* workingDatabase() const override {
        HostSession* s = HostSession::current();
        return s ? s->database() : nullptr;
    }
    Zcad::ErrorStatus findFile(wchar_t* fileOut, int bufLength, const wchar_t* fileName,
                               ZcDbDatabase*) override {
        if (bufLength <= 0)
            return Zcad::eInvalidInput;
        return zcedFindFile(fileName, fileOut, static_cast<std::size_t>(bufLength)) == RTNORM
                   ? Zcad::eOk
                   : Zcad::eFileNotFound;
    }
};

} // namespace

ZcRxDictionary* zcrxSysRegistry() {
    static SystemRegistry registry;
    return &registry;
}

bool zcrxRegisterAppMDIAware(void* appId) {
    return zcrxDynamicLinker->registerAppMDIAware(appId);
}

bool zcrxUnlockApplication(void* appId) {
    return zcrxDynamicLinker->unlockApplication(appId);
}

bool zcrxLockApplication(void* appId) {
    return zcrxDynamicLinker->lockApplication(appId);
}

ZcDbHostApplicationServices* zcdbHostApplicationServices() {
    static HostServices services;
    return &services;
}

// An entity name holds the object's handle and the serial of its drawing, so that a name kept
// from a drawing that was closed finds nothing rather than another object.
Zcad::ErrorStatus zcdbGetObjectId(ZcDbObjectId& objId, const zds_name objName) {
    objId = ZcDbObjectId::kNull;
    HostSession* s = HostSession::current();
    if (!s || !objName)
        return Zcad::eInvalidInput;
    ZcDbDatabase* db = s->databaseBySerial(objName[1]);
    if (!db || objName[0] == 0)
        return Zcad::eInvalidInput;
    return db->getZcDbObjectId(objId, false, ZcDbHandle(static_cast<std::uint64_t>(objName[0])));
}

Zcad::ErrorStatus zcdbGetZdsName(zds_name objName, ZcDbObjectId objId) {
    objName[0] = objName[1] = 0;
    HostSession* s = HostSession::current();
    if (objId.isNull())
        return Zcad::eNullObjectId;
    std::int64_t serial = s ? s->databaseSerial(objId.database()) : 0;
    if (serial == 0)
        return Zcad::eInvalidInput;
    objName[0] = static_cast<std::int64_t>(objId.handle().value());
    objName[1] = serial;
    return Zcad::eOk;
}

int zcdbHandEnt(const wchar_t* handle, zds_name entres) {
    entres[0] = entres[1] = 0;
    HostSession* s = HostSession::current();
    if (!s || !handle)
        return RTERROR;
    ZcDbHandle h(handle);
    ZcDbObjectId id;
    if (h.isNull() || s->database()->getZcDbObjectId(id, false, h) != Zcad::eOk ||
        !ZcDbAccess::objectAs<ZcDbEntity>(id))
        return RTERROR;
    return zcdbGetZdsName(entres, id) == Zcad::eOk ? RTNORM : RTERROR;
}

void* zcHeapAlloc(void*, std::size_t size) {
    return std::malloc(size == 0 ? 1 : size);
}

void zcHeapFree(void*, void* p) {
    std::free(p);
}
