// Result buffers and entity names of the host interface.
#pragma once

#include <cstdint>

typedef double zds_real;
typedef zds_real zds_point[3];
typedef std::int64_t zds_name[2];

struct zds_binary {
    short clen;
    char* buf;
};

union zds_u_val {
    zds_real rreal;
    zds_real rpoint[3];
    short rint;
    wchar_t* rstring;
    std::int64_t rlname[2];
    std::int32_t rlong;
    std::int64_t mnInt64;
    zds_binary rbinary;
};

// One element of a linked result-buffer chain. Chains are released with zcutRelRb, which frees
// the strings and binary chunks the elements own.
struct resbuf {
    resbuf* rbnext;
    short restype;
    zds_u_val resval;
};

// A new element of the given type, zeroed and unlinked. Strings are left null.
resbuf* zcutNewRb(int type);
// Releases the whole chain starting at rb, with every string and binary chunk it owns.
int zcutRelRb(resbuf* rb);
// Builds a chain from (type, value) pairs ended by 0; RTDXF0 and DXF codes take their natural
// value type (strings as const wchar_t*, points as const zds_real*, reals as double, shorts as
// int, longs as int32_t). Returns null on an unknown type.
resbuf* zcutBuildList(int type, ...);

// How an element of a given type code stores its value.
enum class ZcResValueKind { None, Real, Point, Short, Long, String, Name, Binary };
ZcResValueKind zcutResValueKind(int restype);
