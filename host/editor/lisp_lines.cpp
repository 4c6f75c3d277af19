#include "lisp_lines.h"

#include <cstdio>
#include <cstdlib>

#include "answers.h"
#include "rb_util.h"
#include "session.h"
#include "winhost.h"
#include "zced.h"

namespace gantrel::editor {

namespace {

std::string number(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    std::string text = buffer;
    // A real keeps its point, as LISP prints it.
    if (text.find_first_of(".eEn") == std::string::npos)
        text += ".0";
    return text;
}

std::string atomText(const resbuf* rb) {
    switch (rb->restype) {
    case RTNIL:
        return "nil";
    case RTT:
        return "T";
    case RTSTR:
        return "\"" + win::Narrow(rb->resval.rstring ? rb->resval.rstring : L"") + "\"";
    case RTSHORT:
        return std::to_string(rb->resval.rint);
    case RTLONG:
        return std::to_string(rb->resval.rlong);
    case RTREAL:
    case RTANG:
        return number(rb->resval.rreal);
    case RTPOINT:
    case RT3DPOINT:
        return "(" + number(rb->resval.rpoint[0]) + " " + number(rb->resval.rpoint[1]) +
               (rb->restype == RT3DPOINT ? " " + number(rb->resval.rpoint[2]) : "") + ")";
    default:
        return "<" + std::to_string(rb->restype) + ">";
    }
}

} // namespace

bool isLispLine(const std::string& line) {
    return !line.empty() && (line[0] == '!' || line[0] == '(');
}

std::string lispText(const resbuf* value) {
    if (!value)
        return "nil";
    if (!value->rbnext)
        return atomText(value);
    // A chain prints as a list; list marks open and close inner lists.
    std::string text = value->restype == RTLB ? "" : "(";
    bool separate = false;
    for (const resbuf* rb = value; rb; rb = rb->rbnext) {
        if (rb->restype == RTLE) {
            text += ")";
            separate = true;
            continue;
        }
        if (separate)
            text += " ";
        text += rb->restype == RTLB ? "(" : atomText(rb);
        separate = rb->restype != RTLB;
    }
    return value->restype == RTLB ? text : text + ")";
}

std::string runLispLine(HostSession& session, const std::string& line) {
    if (line[0] == '!') {
        const std::string name = trimBlanks(line.substr(1));
        if (name.empty() || name.find_first_of(" \t()\"") != std::string::npos)
            return "! needs a symbol name: !NAME";
        resbuf* value = nullptr;
        zcedGetSym(win::Widen(name).c_str(), &value);
        session.transcript().message(lispText(value));
        zcutRelRb(value);
        return {};
    }
    const std::string usage = "the command line takes (setq NAME VALUE) with a \"string\", a "
                              "number or nil";
    if (line.size() < 2 || line.back() != ')')
        return usage;
    const std::string inner = trimBlanks(line.substr(1, line.size() - 2));
    std::vector<std::string> words = splitWords(inner);
    if (words.size() < 3 || upperAscii(words[0]) != "SETQ")
        return usage;
    const std::string& name = words[1];
    std::string rest = trimBlanks(inner.substr(inner.find(name, words[0].size()) + name.size()));
    resbuf* value = nullptr;
    if (upperAscii(rest) == "NIL") {
        value = zcutNewRb(RTNIL);
    } else if (rest.size() >= 2 && rest.front() == '"' && rest.back() == '"') {
        value = newRbText(RTSTR, win::Widen(rest.substr(1, rest.size() - 2)));
    } else {
        char* end = nullptr;
        const double real = std::strtod(rest.c_str(), &end);
        if (rest.empty() || end != rest.c_str() + rest.size())
            return usage;
        if (rest.find_first_of(".eE") == std::string::npos && real >= -32768 && real <= 32767) {
            value = newRbShort(static_cast<short>(real));
        } else {
            value = zcutNewRb(RTREAL);
            value->resval.rreal = real;
        }
    }
    zcedPutSym(win::Widen(name).c_str(), value);
    zcutRelRb(value);
    return {};
}

} // namespace gantrel::editor
