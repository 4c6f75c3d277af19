// Host commands, LISP symbols and queued expressions, coordinate systems and system variables.
#include <cstdarg>

#include "lisp_lines.h"
#include "rb_util.h"
#include "session.h"
#include "ucs.h"
#include "winhost.h"
#include "zced.h"

using gantrel::editor::HostSession;

namespace {

// Builds a chain from (type, value) pairs ended by RTNONE or 0, with the value types
// zcedCommand takes: strings as const wchar_t*, points as const zds_real*, reals as double,
// shorts and angles as int, longs as int32_t, names as const zds_name.
resbuf* commandChain(int rtype, va_list args) {
    resbuf* head = nullptr;
    resbuf** tail = &head;
    for (int type = rtype; type != RTNONE && type != 0; type = va_arg(args, int)) {
        resbuf* rb = nullptr;
        switch (type) {
        case RTSTR:
            rb = gantrel::editor::newRbText(RTSTR, va_arg(args, const wchar_t*));
            break;
        case RTPOINT:
        case RT3DPOINT: {
            const zds_real* p = va_arg(args, const zds_real*);
            rb = gantrel::editor::newRbPoint(
                type, ZcGePoint3d(p[0], p[1], type == RT3DPOINT ? p[2] : 0.0));
            break;
        }
        case RTREAL:
        case RTANG:
            rb = zcutNewRb(type);
            rb->resval.rreal = va_arg(args, double);
            break;
        case RTSHORT:
            rb = gantrel::editor::newRbShort(static_cast<short>(va_arg(args, int)));
            break;
        case RTLONG:
            rb = zcutNewRb(RTLONG);
            rb->resval.rlong = va_arg(args, std::int32_t);
            break;
        case RTENAME:
            rb = gantrel::editor::newRbName(va_arg(args, const std::int64_t*));
            break;
        default:
            zcutRelRb(head);
            return nullptr;
        }
        *tail = rb;
        tail = &rb->rbnext;
    }
    return head;
}

} // namespace

int zcedCommand(int rtype, ...) {
    va_list args;
    va_start(args, rtype);
    resbuf* chain = commandChain(rtype, args);
    va_end(args);
    if (!chain && rtype != RTNONE && rtype != 0)
        return RTERROR;
    int status = zcedCmd(chain);
    zcutRelRb(chain);
    return status;
}

int zcedCmd(const resbuf* rbp) {
    HostSession* s = HostSession::current();
    return s ? s->runHostCommand(rbp) : RTERROR;
}

int zcedPutSym(const wchar_t* sname, resbuf* value) {
    HostSession* s = HostSession::current();
    if (!s || !sname || !*sname)
        return RTERROR;
    s->symbolWrites().emplace_back(sname, gantrel::editor::lispText(value));
    std::wstring key = gantrel::editor::upperName(sname);
    auto& symbols = s->symbols();
    if (auto it = symbols.find(key); it != symbols.end()) {
        zcutRelRb(it->second);
        symbols.erase(it);
    }
    if (value && value->restype != RTNIL)
        symbols[key] = gantrel::editor::copyChain(value);
    return RTNORM;
}

int zcedGetSym(const wchar_t* sname, resbuf** value) {
    HostSession* s = HostSession::current();
    if (!s || !sname || !value)
        return RTERROR;
    auto it = s->symbols().find(gantrel::editor::upperName(sname));
    *value = it == s->symbols().end() ? zcutNewRb(RTNIL) : gantrel::editor::copyChain(it->second);
    return RTNORM;
}

int zds_queueexpr(const wchar_t* expr) {
    HostSession* s = HostSession::current();
    if (!s || !expr)
        return RTERROR;
    s->queuedExpressions().push_back(expr);
    return RTNORM;
}

// World (0), user (1) and display (2) coordinates, and an entity's own system (an entity name).
// The display is a plan view of the world, so display coordinates are world coordinates; the
// entities this host keeps lie in planes parallel to the world's XY plane, so their own system is
// the world's too. The user system comes from the drawing's header.
int zcedTrans(const zds_point pt, const resbuf* from, const resbuf* to, int disp,
              zds_point result) {
    auto valid = [](const resbuf* rb) {
        return rb && ((rb->restype == RTSHORT && rb->resval.rint >= 0 && rb->resval.rint <= 2) ||
                      rb->restype == RTENAME);
    };
    if (!pt || !result || !valid(from) || !valid(to))
        return RTERROR;
    auto isUser = [](const resbuf* rb) { return rb->restype == RTSHORT && rb->resval.rint == 1; };
    ZcGePoint3d p(pt[0], pt[1], pt[2]);
    if (isUser(from) != isUser(to)) {
        HostSession* s = HostSession::current();
        if (!s)
            return RTERROR;
        const gantrel::editor::UserSystem ucs =
            gantrel::editor::userSystem(s->variables(), s->database());
        p = isUser(from) ? ucs.toWorld(p, disp != 0) : ucs.toUser(p, disp != 0);
    }
    result[0] = p.x;
    result[1] = p.y;
    result[2] = p.z;
    return RTNORM;
}

int zcedGetVar(const wchar_t* sym, resbuf* result) {
    HostSession* s = HostSession::current();
    if (!s || !sym || !result)
        return RTERROR;
    return s->variables().get(sym, s->database(), result);
}

int zcedSetVar(const wchar_t* sym, const resbuf* val) {
    HostSession* s = HostSession::current();
    if (!s || !sym)
        return RTERROR;
    std::string why;
    return s->variables().set(sym, s->database(), val, why);
}
