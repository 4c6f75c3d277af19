#include "frame/VelmarkApp.h"

#include "frame/Printer.h"
#include "frame/Registry.h"

#include "zcadstatus.h"
#include "zced.h"
#include "zcutil.h"

#include <cwctype>

namespace gantrel {

namespace {

bool EqualNoCase(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::towlower(a[i]) != std::towlower(b[i])) {
            return false;
        }
    }
    return true;
}

} // namespace

std::wstring ForwardSlashes(const std::wstring& path) {
    std::wstring text;
    text.reserve(path.size());
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (path[i] != L'\\') {
            text += path[i];
            continue;
        }
        text += L'/';
        if (i + 1 < path.size() && path[i + 1] == L'\\') {
            ++i;
        }
    }
    return text;
}

std::wstring LispString(const std::wstring& text) {
    std::wstring literal = L"\"";
    for (const wchar_t c : text) {
        if (c == L'"' || c == L'\\') {
            literal += L'\\';
        }
        literal += c;
    }
    return literal + L"\"";
}

bool VelmarkApp::Load() {
    if (!IsLoaded()) {
        const std::wstring path = GetInstallDir() + L"\\" + L"Velmark.zrx";
        PrintOnCommandLine(path, false);
        zcedZrxLoad(path.c_str());
    }
    return LoadSupportFiles();
}

bool VelmarkApp::LoadSupportFiles() {
    const bool colors = LoadColors();
    const bool assembly = LoadAssembly();
    return colors && assembly;
}

bool VelmarkApp::LoadAssembly() {
    if (IsAssemblyLoaded()) {
        return true;
    }
    return QueueForFile(L"Velmark.dll", L"(command \"_netload\" ", L")");
}

bool VelmarkApp::LoadColors() {
    return QueueForFile(L"Colors.zelx", L"(load ", L")");
}

bool VelmarkApp::QueueForFile(const std::wstring& fileName, const std::wstring& before,
                              const std::wstring& after) {
    const std::wstring path = ForwardSlashes(GetInstallDir() + L"\\" + fileName);
    wchar_t found[260] = L"";
    if (zcedFindFile(path.c_str(), found, 260) != RTNORM) {
        return false;
    }
    const std::wstring expression = before + LispString(path) + after;
    int queued = RTERROR;
    try {
        queued = zds_queueexpr(expression.c_str());
    } catch (...) {
        queued = RTERROR;
    }
    if (queued != RTNORM) {
        PrintOnCommandLine(expression + L" failed ! ", false);
        return false;
    }
    return true;
}

bool VelmarkApp::IsAssemblyLoaded() {
    return false;
}

bool VelmarkApp::IsLoaded() {
    resbuf* loaded = zcedZrxLoaded();
    bool found = false;
    for (const resbuf* item = loaded; item != nullptr && !found; item = item->rbnext) {
        found = item->restype == RTSTR && item->resval.rstring != nullptr &&
                EqualNoCase(item->resval.rstring, L"Velmark.zrx");
    }
    zcutRelRb(loaded);
    return found;
}

std::wstring VelmarkApp::GetProductName() {
    return L"Velmark";
}

std::wstring VelmarkApp::GetVersion() {
    return L"2022";
}

std::wstring VelmarkApp::GetInstallDir() {
    return ReadRegistryString(HKEY_LOCAL_MACHINE, ProductKey(GetProductName(), GetVersion()),
                              L"Path");
}

std::wstring Velmark2027App::GetVersion() {
    return L"2027";
}

} // namespace gantrel
