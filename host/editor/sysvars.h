// System variables with the host's types. Those that belong to the drawing live in its header;
// the others belong to the editor session.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "zcadstrc.h"
#include "zcdb.h"

namespace gantrel::editor {

enum class VarType { Short, Real, String, Point };

struct VarInfo {
    const wchar_t* name;
    VarType type;
    bool inDrawing; // kept in the drawing's header
    bool readOnly;
    double min, max; // allowed range of numbers
    ZcDbHeaderValue initial;
};

// The known variable of that name (any case), or null.
const VarInfo* findVariable(const std::wstring& name);

class SystemVariables {
public:
    // Fills result with the variable's value in its type. RTNORM, or RTERROR when unknown.
    int get(const std::wstring& name, const ZcDbDatabase* db, resbuf* result) const;
    // Sets from a result buffer. RTNORM, or RTERROR with the reason in why.
    int set(const std::wstring& name, ZcDbDatabase* db, const resbuf* value, std::string& why);
    // Sets from the text of a `setvar` line.
    int setFromText(const std::wstring& name, ZcDbDatabase* db, const std::string& text,
                    std::string& why);
    // The value of a variable, read-only ones included (computed ones are set by the session).
    std::optional<ZcDbHeaderValue> value(const std::wstring& name, const ZcDbDatabase* db) const;
    // For variables the session computes (DWGNAME, CMDACTIVE ...).
    void setComputed(const std::wstring& name, ZcDbHeaderValue value);
    double real(const std::wstring& name, const ZcDbDatabase* db) const;
    int integer(const std::wstring& name, const ZcDbDatabase* db) const;

private:
    int store(const VarInfo& info, ZcDbDatabase* db, ZcDbHeaderValue value, std::string& why);
    std::map<std::wstring, ZcDbHeaderValue> m_values;
};

} // namespace gantrel::editor
