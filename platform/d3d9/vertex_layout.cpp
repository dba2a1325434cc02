// Vertex layouts from FVF codes and declarations.
#include "vertex_layout.h"

namespace {

bool Add(VertexLayout* layout, BYTE location, BYTE components, bool color, UINT offset) {
    for (int i = 0; i < layout->count; ++i) {
        if (layout->attributes[i].location == location) {
            return false;
        }
    }
    if (layout->count >= kAttributeLocations || offset > 0xFFFF) {
        return false;
    }
    layout->attributes[layout->count++] = {location, components, color, static_cast<WORD>(offset)};
    const UINT end = offset + (color ? 4u : 4u * components);
    if (end > layout->size) {
        layout->size = end;
    }
    return true;
}

bool LocationOf(BYTE usage, BYTE index, BYTE* location) {
    switch (usage) {
        case D3DDECLUSAGE_POSITION:
            *location = kPositionLocation;
            return index == 0;
        case D3DDECLUSAGE_NORMAL:
            *location = kNormalLocation;
            return index == 0;
        case D3DDECLUSAGE_COLOR:
            *location = kColorLocation;
            return index == 0;
        case D3DDECLUSAGE_TANGENT:
            *location = kTangentLocation;
            return index == 0;
        case D3DDECLUSAGE_TEXCOORD:
            *location = index == 0 ? kTexcoord0Location : kTexcoord1Location;
            return index <= 1;
        default:
            return false;
    }
}

}  // namespace

bool LayoutFromFvf(DWORD fvf, VertexLayout* layout) {
    constexpr DWORD kKnown = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX1;
    if ((fvf & ~kKnown) != 0 || (fvf & D3DFVF_XYZ) == 0) {
        return false;
    }
    *layout = VertexLayout{};
    UINT offset = 0;
    Add(layout, kPositionLocation, 3, false, offset);
    offset += 12;
    if (fvf & D3DFVF_NORMAL) {
        Add(layout, kNormalLocation, 3, false, offset);
        offset += 12;
    }
    if (fvf & D3DFVF_DIFFUSE) {
        Add(layout, kColorLocation, 4, true, offset);
        offset += 4;
    }
    if (fvf & D3DFVF_TEX1) {
        Add(layout, kTexcoord0Location, 2, false, offset);
    }
    return true;
}

bool LayoutFromElements(const D3DVERTEXELEMENT9* elements, VertexLayout* layout,
                        UINT* elementCount) {
    *layout = VertexLayout{};
    UINT count = 0;
    for (const D3DVERTEXELEMENT9* e = elements; e->Stream != 0xFF; ++e, ++count) {
        BYTE location;
        if (e->Stream != 0 || e->Method != D3DDECLMETHOD_DEFAULT ||
            !LocationOf(e->Usage, e->UsageIndex, &location)) {
            return false;
        }
        const bool color = e->Type == D3DDECLTYPE_D3DCOLOR;
        if (!color && e->Type > D3DDECLTYPE_FLOAT4) {
            return false;
        }
        const BYTE components = color ? 4 : static_cast<BYTE>(e->Type + 1);
        if (!Add(layout, location, components, color, e->Offset)) {
            return false;
        }
    }
    *elementCount = count;
    return layout->count > 0;
}

VertexDeclaration::VertexDeclaration(IDirect3DDevice9* device, const VertexLayout& layout,
                                     int number)
    : device_(device), layout_(layout), number_(number) {
    device_->AddRef();
}

VertexDeclaration::~VertexDeclaration() {
    device_->Release();
}

VertexDeclaration* DeclarationOf(IDirect3DVertexDeclaration9* declaration) {
    return dynamic_cast<VertexDeclaration*>(declaration);
}
