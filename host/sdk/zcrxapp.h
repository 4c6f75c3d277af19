// The module side of the runtime: application messages, the system registry with its services
// (the dynamic linker and the command stack), and the two functions every module exports.
#pragma once

#include "zcadstatus.h"
#include "zcrx.h"

namespace ZcRx {
// Messages the host sends to a module's zcrxEntryPoint.
enum AppMsgCode {
    kNullMsg = 0,
    kInitAppMsg = 1,   // the module was loaded
    kUnloadAppMsg = 2, // the module is about to be unloaded
    kLoadDwgMsg = 3,   // a drawing was opened (also the one open when the module loads)
    kUnloadDwgMsg = 4,
};
enum AppRetCode { kRetOK = 0, kRetError = 3 };
} // namespace ZcRx

// The interface version this host implements. A module's zcrxGetApiVersion must return it, or
// the host refuses to initialise the module.
constexpr int ZCRX_API_VERSION = 0x07E9000A;

// The functions a module exports (the host looks them up by name).
extern "C" {
typedef ZcRx::AppRetCode (*ZcRxEntryPointFn)(ZcRx::AppMsgCode msg, void* appId);
typedef int (*ZcRxGetApiVersionFn)();
}

// A dictionary of named runtime objects. The system registry is one.
class ZcRxDictionary : public ZcRxObject {
public:
    ZCRX_DECLARE_MEMBERS(ZcRxDictionary)
    // The object stored under key, or null.
    virtual ZcRxObject* at(const wchar_t* key) const = 0;
    // Stores obj under key and returns what was stored there before (the caller owns it).
    virtual ZcRxObject* atPut(const wchar_t* key, ZcRxObject* obj) = 0;
    virtual bool has(const wchar_t* key) const { return at(key) != nullptr; }
    virtual ZcRxObject* remove(const wchar_t* key) = 0;
    virtual unsigned numEntries() const = 0;
};

// The host's system registry.
ZcRxDictionary* zcrxSysRegistry();

// Names of the services in the system registry.
#define ZCRX_DYNAMIC_LINKER L"DynamicLinker"
#define ZCRX_COMMAND_DOCK L"ZCAD_REGISTERED_COMMANDS"

// Loads and unloads modules. A module is locked after loading (it cannot be unloaded) until it
// unlocks itself.
class ZcRxDynamicLinker : public ZcRxObject {
public:
    ZCRX_DECLARE_MEMBERS(ZcRxDynamicLinker)
    virtual bool unlockApplication(void* appId) const = 0;
    virtual bool lockApplication(void* appId) const = 0;
    // By the module's file name, without folder.
    virtual bool isApplicationLocked(const wchar_t* name) const = 0;
    virtual bool registerAppMDIAware(void* appId) const = 0;
    virtual bool loadModule(const wchar_t* fileName, bool printit, bool asCmd = false) = 0;
    virtual bool unloadModule(const wchar_t* fileName, bool asCmd = false) = 0;
};

#define zcrxDynamicLinker ZcRxDynamicLinker::cast(zcrxSysRegistry()->at(ZCRX_DYNAMIC_LINKER))

// Declares the module able to work with several open drawings.
bool zcrxRegisterAppMDIAware(void* appId);
bool zcrxUnlockApplication(void* appId);
bool zcrxLockApplication(void* appId);

// --- Command stack -----------------------------------------------------------------------------

typedef void (*ZcRxFunctionPtr)();
class ZcEdUIContext;

// Command flags.
constexpr int ZCRX_CMD_MODAL = 0x0;
constexpr int ZCRX_CMD_TRANSPARENT = 0x1;
constexpr int ZCRX_CMD_USEPICKSET = 0x2;
constexpr int ZCRX_CMD_REDRAW = 0x4;

class ZcEdCommand : public ZcRxObject {
public:
    ZCRX_DECLARE_MEMBERS(ZcEdCommand)
    virtual const wchar_t* globalName() const = 0;
    virtual const wchar_t* localName() const = 0;
    virtual const wchar_t* groupName() const = 0;
    virtual int commandFlags() const = 0;
    virtual ZcRxFunctionPtr functionAddr() const = 0;
    virtual int functionCode() const = 0;
};

// The commands a person can type, in groups. A name is found without regard to case; groups
// added later are searched first.
class ZcEdCommandStack : public ZcRxObject {
public:
    ZCRX_DECLARE_MEMBERS(ZcEdCommandStack)
    // eDuplicateKey when the group already has a command of that global or local name (the old
    // one stays); eInvalidInput for an empty name or a null function.
    virtual Zcad::ErrorStatus addCommand(const wchar_t* cmdGroupName, const wchar_t* cmdGlobalName,
                                         const wchar_t* cmdLocalName, int commandFlags,
                                         ZcRxFunctionPtr functionAddr,
                                         ZcEdUIContext* UIContext = nullptr, int fcode = -1,
                                         void* hResourceHandle = nullptr,
                                         ZcEdCommand** cmdPtrRet = nullptr) = 0;
    virtual Zcad::ErrorStatus removeCmd(const wchar_t* cmdGroupName,
                                        const wchar_t* cmdGlobalName) = 0;
    // eKeyNotFound when no such group exists.
    virtual Zcad::ErrorStatus removeGroup(const wchar_t* groupName) = 0;
    virtual ZcEdCommand* lookupGlobalCmd(const wchar_t* cmdName) = 0;
    virtual ZcEdCommand* lookupLocalCmd(const wchar_t* cmdName) = 0;
    virtual ZcEdCommand* lookupCmd(const wchar_t* cmdName, bool globalFlag) = 0;
};

#define zcedRegCmds ZcEdCommandStack::cast(zcrxSysRegistry()->at(ZCRX_COMMAND_DOCK))
