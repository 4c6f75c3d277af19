// Result-buffer chains: allocation, release and building from argument lists.
#include <cstdarg>
#include <cstdlib>
#include <cwchar>

#include "zcadstatus.h"
#include "zcadstrc.h"

ZcResValueKind zcutResValueKind(int type) {
    switch (type) {
    case RTREAL:
    case RTANG:
    case RTORINT:
        return ZcResValueKind::Real;
    case RTPOINT:
    case RT3DPOINT:
        return ZcResValueKind::Point;
    case RTSHORT:
        return ZcResValueKind::Short;
    case RTLONG:
        return ZcResValueKind::Long;
    case RTSTR:
        return ZcResValueKind::String;
    case RTENAME:
    case RTPICKS:
        return ZcResValueKind::Name;
    case RTDXF0:
        return ZcResValueKind::String;
    default:
        break;
    }
    // DXF group codes, as the host family stores them in result buffers.
    if ((type >= 0 && type <= 9) || (type >= 100 && type <= 109) || (type >= 300 && type <= 309) ||
        (type >= 320 && type <= 329) || (type >= 390 && type <= 399) ||
        (type >= 410 && type <= 419) || (type >= 430 && type <= 439) ||
        (type >= 470 && type <= 481) || type == 999 || (type >= 1000 && type <= 1003) ||
        (type >= 1005 && type <= 1009) || type == -4)
        return ZcResValueKind::String;
    if (type == 1004 || (type >= 310 && type <= 319))
        return ZcResValueKind::Binary;
    if ((type >= 10 && type <= 39) || (type >= 210 && type <= 239) ||
        (type >= 1010 && type <= 1039))
        return ZcResValueKind::Point;
    if ((type >= 40 && type <= 59) || (type >= 110 && type <= 149) ||
        (type >= 460 && type <= 469) || (type >= 1040 && type <= 1059))
        return ZcResValueKind::Real;
    if ((type >= 60 && type <= 79) || (type >= 170 && type <= 179) ||
        (type >= 270 && type <= 289) || (type >= 370 && type <= 389) ||
        (type >= 400 && type <= 409) || (type >= 1060 && type <= 1070))
        return ZcResValueKind::Short;
    if ((type >= 90 && type <= 99) || (type >= 420 && type <= 429) ||
        (type >= 440 && type <= 459) || type == 1071)
        return ZcResValueKind::Long;
    if (type == -1 || type == -2 || (type >= 330 && type <= 369))
        return ZcResValueKind::Name;
    return ZcResValueKind::None;
}

resbuf* zcutNewRb(int type) {
    auto* rb = static_cast<resbuf*>(std::calloc(1, sizeof(resbuf)));
    if (rb)
        rb->restype = static_cast<short>(type);
    return rb;
}

int zcutRelRb(resbuf* rb) {
    while (rb) {
        resbuf* next = rb->rbnext;
        switch (zcutResValueKind(rb->restype)) {
        case ZcResValueKind::String:
            std::free(rb->resval.rstring);
            break;
        case ZcResValueKind::Binary:
            std::free(rb->resval.rbinary.buf);
            break;
        default:
            break;
        }
        std::free(rb);
        rb = next;
    }
    return RTNORM;
}

resbuf* zcutBuildList(int type, ...) {
    va_list args;
    va_start(args, type);
    resbuf* head = nullptr;
    resbuf* tail = nullptr;
    bool failed = false;
    for (int t = type; t != 0; t = va_arg(args, int)) {
        const int code = t == RTDXF0 ? 0 : t;
        resbuf* rb = zcutNewRb(t == RTDXF0 ? RTDXF0 : code);
        switch (zcutResValueKind(t)) {
        case ZcResValueKind::String: {
            const wchar_t* s = va_arg(args, const wchar_t*);
            if (s) {
                const std::size_t n = std::wcslen(s) + 1;
                rb->resval.rstring = static_cast<wchar_t*>(std::malloc(n * sizeof(wchar_t)));
                std::wmemcpy(rb->resval.rstring, s, n);
            }
            break;
        }
        case ZcResValueKind::Real:
            rb->resval.rreal = va_arg(args, double);
            break;
        case ZcResValueKind::Point: {
            const zds_real* p = va_arg(args, const zds_real*);
            for (int i = 0; i < 3; ++i)
                rb->resval.rpoint[i] = p ? p[i] : 0.0;
            break;
        }
        case ZcResValueKind::Short:
            rb->resval.rint = static_cast<short>(va_arg(args, int));
            break;
        case ZcResValueKind::Long:
            rb->resval.rlong = va_arg(args, std::int32_t);
            break;
        case ZcResValueKind::Name: {
            const std::int64_t* name = va_arg(args, const std::int64_t*);
            rb->resval.rlname[0] = name ? name[0] : 0;
            rb->resval.rlname[1] = name ? name[1] : 0;
            break;
        }
        case ZcResValueKind::None:
            if (t != RTNONE && t != RTNIL && t != RTT && t != RTLB && t != RTLE && t != RTDOTE &&
                t != RTVOID)
                failed = true;
            break;
        case ZcResValueKind::Binary:
            failed = true; // binary chunks cannot be passed through an argument list
            break;
        }
        (tail ? tail->rbnext : head) = rb;
        tail = rb;
        if (failed)
            break;
    }
    va_end(args);
    if (failed) {
        zcutRelRb(head);
        return nullptr;
    }
    return head;
}
