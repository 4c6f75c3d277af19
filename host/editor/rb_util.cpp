// Helpers for result-buffer chains.
#include "rb_util.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "winhost.h"
#include "zcdbhost.h"

namespace gantrel::editor {

wchar_t* newRbString(const std::wstring& text) {
    auto* copy = static_cast<wchar_t*>(std::malloc((text.size() + 1) * sizeof(wchar_t)));
    std::memcpy(copy, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    return copy;
}

resbuf* newRbText(int type, const std::wstring& text) {
    resbuf* rb = zcutNewRb(type);
    rb->resval.rstring = newRbString(text);
    return rb;
}

resbuf* newRbPoint(int type, const ZcGePoint3d& p) {
    resbuf* rb = zcutNewRb(type);
    rb->resval.rpoint[0] = p.x;
    rb->resval.rpoint[1] = p.y;
    rb->resval.rpoint[2] = p.z;
    return rb;
}

resbuf* newRbShort(short value) {
    resbuf* rb = zcutNewRb(RTSHORT);
    rb->resval.rint = value;
    return rb;
}

resbuf* newRbName(const std::int64_t name[2]) {
    resbuf* rb = zcutNewRb(RTENAME);
    rb->resval.rlname[0] = name[0];
    rb->resval.rlname[1] = name[1];
    return rb;
}

resbuf* copyChain(const resbuf* rb) {
    resbuf* head = nullptr;
    resbuf** tail = &head;
    for (; rb; rb = rb->rbnext) {
        resbuf* copy = zcutNewRb(rb->restype);
        copy->resval = rb->resval;
        ZcResValueKind kind = zcutResValueKind(rb->restype);
        if (kind == ZcResValueKind::String)
            copy->resval.rstring = rb->resval.rstring ? newRbString(rb->resval.rstring) : nullptr;
        if (kind == ZcResValueKind::Binary) {
            copy->resval.rbinary.buf = nullptr;
            if (rb->resval.rbinary.buf && rb->resval.rbinary.clen > 0) {
                copy->resval.rbinary.buf = static_cast<char*>(std::malloc(rb->resval.rbinary.clen));
                std::memcpy(copy->resval.rbinary.buf, rb->resval.rbinary.buf,
                            rb->resval.rbinary.clen);
            }
        }
        *tail = copy;
        tail = &copy->rbnext;
    }
    return head;
}

namespace {

std::string number17(double v) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17g", v);
    return buffer;
}

} // namespace

bool answerText(const resbuf* rb, std::string& text) {
    switch (rb->restype) {
    case RTSTR:
        text = rb->resval.rstring ? win::Narrow(rb->resval.rstring) : std::string();
        return true;
    case RTREAL:
    case RTANG:
        text = number17(rb->resval.rreal);
        return true;
    case RTSHORT:
        text = std::to_string(rb->resval.rint);
        return true;
    case RTLONG:
        text = std::to_string(rb->resval.rlong);
        return true;
    case RTPOINT:
        text = number17(rb->resval.rpoint[0]) + "," + number17(rb->resval.rpoint[1]);
        return true;
    case RT3DPOINT:
        text = number17(rb->resval.rpoint[0]) + "," + number17(rb->resval.rpoint[1]) + "," +
               number17(rb->resval.rpoint[2]);
        return true;
    case RTENAME: {
        ZcDbObjectId id;
        if (zcdbGetObjectId(id, rb->resval.rlname) != Zcad::eOk)
            return false;
        text = "#" + win::Narrow(id.handle().text());
        return true;
    }
    default:
        return false;
    }
}

} // namespace gantrel::editor
