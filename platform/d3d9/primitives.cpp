// Primitive type names and vertex counts.
#include "primitives.h"

#include <cstdint>

const char* PrimitiveTypeName(DWORD type) {
    switch (type) {
        case D3DPT_POINTLIST:
            return "POINTLIST";
        case D3DPT_LINELIST:
            return "LINELIST";
        case D3DPT_LINESTRIP:
            return "LINESTRIP";
        case D3DPT_TRIANGLELIST:
            return "TRIANGLELIST";
        case D3DPT_TRIANGLESTRIP:
            return "TRIANGLESTRIP";
        case D3DPT_TRIANGLEFAN:
            return "TRIANGLEFAN";
        default:
            return nullptr;
    }
}

bool PrimitiveVertexCount(D3DPRIMITIVETYPE type, UINT count, UINT* vertices) {
    if (count == 0) {
        return false;
    }
    std::uint64_t n = 0;
    switch (type) {
        case D3DPT_POINTLIST:
            n = count;
            break;
        case D3DPT_LINELIST:
            n = 2ull * count;
            break;
        case D3DPT_LINESTRIP:
            n = count + 1ull;
            break;
        case D3DPT_TRIANGLELIST:
            n = 3ull * count;
            break;
        case D3DPT_TRIANGLESTRIP:
        case D3DPT_TRIANGLEFAN:
            n = count + 2ull;
            break;
        default:
            return false;
    }
    if (n > 0xFFFFFFFFull) {
        return false;
    }
    *vertices = static_cast<UINT>(n);
    return true;
}
