// Primitive types: their names and how many vertices a count of them uses.
#pragma once

#include <d3d9.h>

// "TRIANGLESTRIP" for D3DPT_TRIANGLESTRIP, ...; null for an unknown type.
const char* PrimitiveTypeName(DWORD type);

// The vertices (or indices) that count primitives of the type read; false
// for an unknown type or a zero count.
bool PrimitiveVertexCount(D3DPRIMITIVETYPE type, UINT count, UINT* vertices);
