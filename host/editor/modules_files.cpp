// Loaded modules, file look-up and function help as the module interface offers them.
#include <sys/stat.h>

#include <cstring>

#include "rb_util.h"
#include "session.h"
#include "winhost.h"
#include "zcdbhost.h"
#include "zced.h"

using gantrel::editor::HostSession;

resbuf* zcedZrxLoaded() {
    HostSession* s = HostSession::current();
    if (!s)
        return nullptr;
    resbuf* head = nullptr;
    resbuf** tail = &head;
    for (auto* m : s->modules().list()) {
        *tail = gantrel::editor::newRbText(RTSTR, m->fileName);
        tail = &(*tail)->rbnext;
    }
    return head;
}

int zcedZrxLoad(const wchar_t* app) {
    HostSession* s = HostSession::current();
    if (!s || !app)
        return RTERROR;
    std::string error;
    if (!s->loadModule(win::NativePath(app), error)) {
        s->transcript().message(error);
        return RTERROR;
    }
    return RTNORM;
}

int zcedZrxUnload(const wchar_t* app) {
    HostSession* s = HostSession::current();
    if (!s || !app)
        return RTERROR;
    ZcRxDynamicLinker* linker = zcrxDynamicLinker;
    return linker && linker->unloadModule(app) ? RTNORM : RTERROR;
}

namespace {

bool isFile(const std::string& path) {
    struct stat st {};
    return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string folderOf(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

} // namespace

int zcedFindFile(const wchar_t* fname, wchar_t* result, std::size_t bufLen) {
    HostSession* s = HostSession::current();
    if (!fname || !*fname || !result || bufLen == 0)
        return RTERROR;
    std::string path = win::NativePath(fname);
    std::vector<std::string> candidates{path};
    if (s && path[0] != '/') {
        resbuf rb{};
        if (s->variables().get(L"DWGPREFIX", s->database(), &rb) == RTNORM) {
            std::string prefix = win::NativePath(rb.resval.rstring);
            std::free(rb.resval.rstring);
            if (!prefix.empty())
                candidates.push_back(prefix + (prefix.back() == '/' ? "" : "/") + path);
        }
        for (auto* m : s->modules().list())
            candidates.push_back(folderOf(m->path) + path);
    }
    for (const std::string& c : candidates) {
        if (!isFile(c))
            continue;
        std::wstring found = win::Widen(c);
        if (found.size() >= bufLen)
            return RTERROR;
        std::wcscpy(result, found.c_str());
        return RTNORM;
    }
    return RTERROR;
}

int zcedSetFunHelp(const wchar_t* functionName, const wchar_t* helpFile, const wchar_t* topic,
                   int cmd) {
    HostSession* s = HostSession::current();
    if (!s || !functionName || !*functionName)
        return RTERROR;
    s->functionHelp()[gantrel::editor::upperName(functionName)] = {helpFile ? helpFile : L"",
                                                                   topic ? topic : L"", cmd};
    return RTNORM;
}
