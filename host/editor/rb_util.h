// Helpers for result-buffer chains built by the editor.
#pragma once

#include <string>

#include "zcadstrc.h"
#include "zcge.h"

namespace gantrel::editor {

// A copy of text allocated as zcutRelRb releases it.
wchar_t* newRbString(const std::wstring& text);
// New elements (zcutNewRb) carrying a value.
resbuf* newRbText(int type, const std::wstring& text);
resbuf* newRbPoint(int type, const ZcGePoint3d& p);
resbuf* newRbShort(short value);
resbuf* newRbName(const std::int64_t name[2]);
// A deep copy of a chain.
resbuf* copyChain(const resbuf* rb);
// The text an answer value gives at a prompt (numbers with 17 significant digits, points as
// x,y,z, entity names as #HANDLE); nothing for a type that is no answer.
bool answerText(const resbuf* rb, std::string& text);

} // namespace gantrel::editor
