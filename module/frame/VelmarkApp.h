// Loads the companion module Velmark and queues the loading of its two support files.
#pragma once

#include <string>

namespace gantrel {

class VelmarkApp {
public:
    virtual ~VelmarkApp() = default;

    // Loads "Velmark.zrx" from the install folder unless it is loaded already, then the
    // support files in every case; the result is LoadSupportFiles'.
    virtual bool Load();
    virtual bool LoadSupportFiles();
    // Queues `(command "_netload" "P")` for "Velmark.dll" when the file is found.
    virtual bool LoadAssembly();
    // Queues `(load "P")` for "Colors.zelx" when the file is found.
    virtual bool LoadColors();
    virtual bool IsAssemblyLoaded();
    // Whether the host lists "Velmark.zrx" (any case) among its loaded modules.
    virtual bool IsLoaded();
    virtual std::wstring GetProductName();
    virtual std::wstring GetVersion();
    // "Path" of the product's registry key; empty when the key or value is absent.
    virtual std::wstring GetInstallDir();

private:
    // Finds the file of the install folder and queues the expression built from its path;
    // false when the file is missing or the queueing failed.
    bool QueueForFile(const std::wstring& fileName, const std::wstring& before,
                      const std::wstring& after);
};

class Velmark2027App : public VelmarkApp {
public:
    std::wstring GetVersion() override;
};

// Every backslash of the path as a forward slash; a doubled backslash becomes one slash.
std::wstring ForwardSlashes(const std::wstring& path);
// The text as a LISP string literal, quotes included: a double quote and a backslash are
// escaped, so an expression built from any path stays one valid expression.
std::wstring LispString(const std::wstring& text);

} // namespace gantrel
