// Vertex layouts: what a flexible vertex format or a vertex declaration says
// about where each attribute lies in a vertex, and the shader attribute
// location each one feeds (by usage, see docs/effects.md).
#pragma once

#include <d3d9.h>

#include "com_object.h"

#include <array>

enum AttributeLocation : BYTE {
    kPositionLocation = 0,
    kNormalLocation = 1,
    kColorLocation = 2,
    kTexcoord0Location = 3,
    kTangentLocation = 4,
    kTexcoord1Location = 5,
    kAttributeLocations = 6,
};

struct VertexAttribute {
    BYTE location = 0;
    BYTE components = 0;  // 1 to 4 floats; a D3DCOLOR has 4
    bool color = false;   // a D3DCOLOR: bytes B, G, R, A, normalised to rgba
    WORD offset = 0;
};

struct VertexLayout {
    std::array<VertexAttribute, kAttributeLocations> attributes{};
    int count = 0;
    // Bytes from a vertex's start to the end of its furthest attribute.
    UINT size = 0;
};

// D3DFVF_XYZ with any of D3DFVF_NORMAL, D3DFVF_DIFFUSE and D3DFVF_TEX1;
// false for any other bit.
bool LayoutFromFvf(DWORD fvf, VertexLayout* layout);

// Elements up to D3DDECL_END(): stream 0 only, types FLOAT1 to FLOAT4 and
// D3DCOLOR, usages POSITION, NORMAL, COLOR (index 0), TEXCOORD (index 0 or 1)
// and TANGENT, each at most once.
bool LayoutFromElements(const D3DVERTEXELEMENT9* elements, VertexLayout* layout,
                        UINT* elementCount);

// A declaration holds its layout and a reference to its device; binding one
// copies the layout, so the device never points at it.
class VertexDeclaration : public ComObject<IDirect3DVertexDeclaration9> {
public:
    VertexDeclaration(IDirect3DDevice9* device, const VertexLayout& layout, int number);
    ~VertexDeclaration() override;

    const VertexLayout& Layout() const { return layout_; }
    // Creation order on its device, from 1 (the recording backend's name).
    int Number() const { return number_; }
    bool BelongsTo(const IDirect3DDevice9* device) const { return device_ == device; }

private:
    IDirect3DDevice9* device_;
    VertexLayout layout_;
    int number_;
};

VertexDeclaration* DeclarationOf(IDirect3DVertexDeclaration9* declaration);
