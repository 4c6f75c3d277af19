// The two LISP forms the command line understands, so that scripts can see and prepare the
// symbols modules set with zcedPutSym (there is no LISP interpreter behind them):
//   !NAME               prints the symbol's value ("nil" when it is unset);
//   (setq NAME VALUE)   sets it to a "string", an integer, a real or nil.
#pragma once

#include <string>

#include "zcadstrc.h"

namespace gantrel::editor {

class HostSession;

// Whether a line typed at the command line is one of the two forms.
bool isLispLine(const std::string& line);
// Runs it; the refusal text when it is malformed, empty when it ran.
std::string runLispLine(HostSession& session, const std::string& line);

// A symbol's value as LISP prints it: nil, "text", numbers, (lists of values).
std::string lispText(const resbuf* value);

} // namespace gantrel::editor
