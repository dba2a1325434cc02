// The shared device: Direct3D's argument rules and defaults, the state a
// device keeps, the checks before each draw, and the draw trace lines.
#include "device_core.h"

#include "decode_ahead.h"
#include "effect.h"
#include "file_loading.h"
#include "primitives.h"
#include "state_names.h"

#include <trace.h>

#include <new>

namespace {

bool RenderStateAccepts(D3DRENDERSTATETYPE state, DWORD value) {
    switch (state) {
        case D3DRS_ZENABLE:
            return value <= 2;
        case D3DRS_FILLMODE:
            return value >= D3DFILL_POINT && value <= D3DFILL_SOLID;
        case D3DRS_ZWRITEENABLE:
        case D3DRS_ALPHATESTENABLE:
        case D3DRS_ALPHABLENDENABLE:
        case D3DRS_LIGHTING:
            return value <= 1;
        case D3DRS_SRCBLEND:
        case D3DRS_DESTBLEND:
            return value >= D3DBLEND_ZERO && value <= D3DBLEND_INVDESTCOLOR;
        case D3DRS_CULLMODE:
            return value >= D3DCULL_NONE && value <= D3DCULL_CCW;
        case D3DRS_ZFUNC:
        case D3DRS_ALPHAFUNC:
            return value >= D3DCMP_NEVER && value <= D3DCMP_ALWAYS;
        case D3DRS_ALPHAREF:
            return value <= 255;
        case D3DRS_BLENDOP:
            return value >= D3DBLENDOP_ADD && value <= D3DBLENDOP_MAX;
        default:
            return true;
    }
}

bool SamplerStateAccepts(DWORD type, DWORD value) {
    switch (type) {
        case D3DSAMP_ADDRESSU:
        case D3DSAMP_ADDRESSV:
        case D3DSAMP_ADDRESSW:
            return value >= D3DTADDRESS_WRAP && value <= D3DTADDRESS_BORDER;
        case D3DSAMP_MAGFILTER:
        case D3DSAMP_MINFILTER:
            return value >= D3DTEXF_POINT && value <= D3DTEXF_ANISOTROPIC;
        case D3DSAMP_MIPFILTER:
            return value <= D3DTEXF_LINEAR;
        default:
            return type >= 1 && type < kSamplerStateCount;
    }
}

bool IsPool(D3DPOOL pool) {
    return pool == D3DPOOL_DEFAULT || pool == D3DPOOL_MANAGED || pool == D3DPOOL_SYSTEMMEM;
}

}  // namespace

DeviceCore::DeviceCore(UINT width, UINT height, bool depth)
    : width_(width), height_(height), viewport_{0, 0, width, height, 0.0f, 1.0f} {
    // Direct3D 9's documented defaults.
    renderStates_[D3DRS_ZENABLE] = depth ? TRUE : FALSE;
    renderStates_[D3DRS_FILLMODE] = D3DFILL_SOLID;
    renderStates_[D3DRS_ZWRITEENABLE] = TRUE;
    renderStates_[D3DRS_ALPHATESTENABLE] = FALSE;
    renderStates_[D3DRS_SRCBLEND] = D3DBLEND_ONE;
    renderStates_[D3DRS_DESTBLEND] = D3DBLEND_ZERO;
    renderStates_[D3DRS_CULLMODE] = D3DCULL_CCW;
    renderStates_[D3DRS_ZFUNC] = D3DCMP_LESSEQUAL;
    renderStates_[D3DRS_ALPHAREF] = 0;
    renderStates_[D3DRS_ALPHAFUNC] = D3DCMP_ALWAYS;
    renderStates_[D3DRS_ALPHABLENDENABLE] = FALSE;
    renderStates_[D3DRS_LIGHTING] = TRUE;
    renderStates_[D3DRS_BLENDOP] = D3DBLENDOP_ADD;
    for (auto& sampler : samplerStates_) {
        sampler[D3DSAMP_ADDRESSU] = D3DTADDRESS_WRAP;
        sampler[D3DSAMP_ADDRESSV] = D3DTADDRESS_WRAP;
        sampler[D3DSAMP_ADDRESSW] = D3DTADDRESS_WRAP;
        sampler[D3DSAMP_MAGFILTER] = D3DTEXF_POINT;
        sampler[D3DSAMP_MINFILTER] = D3DTEXF_POINT;
        sampler[D3DSAMP_MIPFILTER] = D3DTEXF_NONE;
    }
}

void DeviceCore::Note(const DeviceCall& /*call*/) {}

HRESULT DeviceCore::Report(const DeviceCall& call) {
    Note(call);
    return call.result;
}

HRESULT DeviceCore::Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR colour, float z,
                          DWORD stencil) {
    DeviceCall call("Clear");
    call.Arg(count).Arg(flags).Arg(colour).Arg(stencil);
    call.values[0] = z;
    call.valueCount = 1;
    constexpr DWORD kFlags = D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL;
    if ((count > 0 && rects == nullptr) || flags == 0 || (flags & ~kFlags) != 0 ||
        ((flags & D3DCLEAR_ZBUFFER) != 0 && !(z >= 0.0f && z <= 1.0f))) {
        call.result = D3DERR_INVALIDCALL;
        return Report(call);
    }
    DoClear(count, rects, flags, colour, z, stencil);
    return Report(call);
}

HRESULT DeviceCore::BeginScene() {
    DeviceCall call("BeginScene");
    if (inScene_) {
        call.result = D3DERR_INVALIDCALL;
        return Report(call);
    }
    inScene_ = true;
    return Report(call);
}

HRESULT DeviceCore::EndScene() {
    DeviceCall call("EndScene");
    if (!inScene_) {
        call.result = D3DERR_INVALIDCALL;
        return Report(call);
    }
    inScene_ = false;
    return Report(call);
}

HRESULT DeviceCore::Present(const void* sourceRect, const void* destRect, HWND overrideWindow,
                            const void* dirtyRegion) {
    DeviceCall call("Present");
    if (sourceRect != nullptr || destRect != nullptr || overrideWindow != nullptr ||
        dirtyRegion != nullptr) {
        call.result = D3DERR_INVALIDCALL;
        return Report(call);
    }
    DoPresent();
    return Report(call);
}

HRESULT DeviceCore::SetViewport(const D3DVIEWPORT9* viewport) {
    DeviceCall call("SetViewport");
    if (viewport == nullptr) {
        call.result = D3DERR_INVALIDCALL;
        return Report(call);
    }
    call.Arg(viewport->X).Arg(viewport->Y).Arg(viewport->Width).Arg(viewport->Height);
    call.values[0] = viewport->MinZ;
    call.values[1] = viewport->MaxZ;
    call.valueCount = 2;
    const std::uint64_t right = std::uint64_t(viewport->X) + viewport->Width;
    const std::uint64_t bottom = std::uint64_t(viewport->Y) + viewport->Height;
    if (viewport->Width == 0 || viewport->Height == 0 || right > width_ || bottom > height_ ||
        !(viewport->MinZ >= 0.0f && viewport->MinZ <= 1.0f) ||
        !(viewport->MaxZ >= 0.0f && viewport->MaxZ <= 1.0f)) {
        call.result = D3DERR_INVALIDCALL;
        return Report(call);
    }
    viewport_ = *viewport;
    ApplyViewport(viewport_);
    return Report(call);
}

HRESULT DeviceCore::GetViewport(D3DVIEWPORT9* viewport) {
    DeviceCall call("GetViewport");
    if (viewport == nullptr) {
        call.result = D3DERR_INVALIDCALL;
        return Report(call);
    }
    *viewport = viewport_;
    return Report(call);
}

HRESULT DeviceCore::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
    DeviceCall call("SetRenderState", RenderStateName(state));
    call.Arg(state).Arg(value);
    if (DWORD(state) >= kRenderStateCount || !RenderStateAccepts(state, value)) {
        call.result = D3DERR_INVALIDCALL;
        return Report(call);
    }
    if (renderStates_[state] != value) {
        renderStates_[state] = value;
        ApplyRenderState(state, value);
    }
    return Report(call);
}

HRESULT DeviceCore::GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) {
    DeviceCall call("GetRenderState", RenderStateName(state));
    call.Arg(state);
    if (value == nullptr || DWORD(state) >= kRenderStateCount) {
        call.result = D3DERR_INVALIDCALL;
        return Report(call);
    }
    *value = renderStates_[state];
    return Report(call);
}

HRESULT DeviceCore::SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) {
    DeviceCall call("SetSamplerState", SamplerStateName(type));
    call.Arg(sampler).Arg(type).Arg(value);
    if (sampler >= kSamplerCount || !SamplerStateAccepts(type, value)) {
        call.result = D3DERR_INVALIDCALL;
        return Report(call);
    }
    if (samplerStates_[sampler][type] != value) {
        samplerStates_[sampler][type] = value;
        ApplySamplerState(sampler, type, value);
    }
    return Report(call);
}

HRESULT DeviceCore::GetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD* value) {
    DeviceCall call("GetSamplerState", SamplerStateName(type));
    call.Arg(sampler).Arg(type);
    if (value == nullptr || sampler >= kSamplerCount || DWORD(type) < 1 ||
        DWORD(type) >= kSamplerStateCount) {
        call.result = D3DERR_INVALIDCALL;
        return Report(call);
    }
    *value = samplerStates_[sampler][type];
    return Report(call);
}

HRESULT DeviceCore::SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) {
    TextureBase* ours = TextureOf(texture);
    DeviceCall call("SetTexture");
    call.texture = ours;
    call.Arg(stage);
    if (stage >= kSamplerCount ||
        (texture != nullptr && (ours == nullptr || !ours->BelongsTo(this)))) {
        call.result = D3DERR_INVALIDCALL;
        return Report(call);
    }
    if (textures_[stage] != ours) {
        textures_[stage] = ours;
        BindTexture(stage, ours);
    }
    return Report(call);
}

HRESULT DeviceCore::GetTexture(DWORD stage, IDirect3DBaseTexture9** texture) {
    DeviceCall call("GetTexture");
    call.Arg(stage);
    if (texture == nullptr || stage >= kSamplerCount) {
        call.result = D3DERR_INVALIDCALL;
        return Report(call);
    }
    *texture = textures_[stage];
    if (*texture != nullptr) {
        (*texture)->AddRef();
    }
    call.texture = textures_[stage];
    return Report(call);
}

HRESULT DeviceCore::CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                                       IDirect3DVertexBuffer9** buffer, void* sharedHandle) {
    DeviceCall call("CreateVertexBuffer");
    call.Arg(length).Arg(usage).Arg(fvf).Arg(pool);
    if (buffer == nullptr || length == 0 || !IsPool(pool) || sharedHandle != nullptr) {
        if (buffer != nullptr) {
            *buffer = nullptr;
        }
        call.Arg(0).result = D3DERR_INVALIDCALL;
        return Report(call);
    }
    VertexBuffer* created = nullptr;
    try {
        created = NewVertexBuffer(length, usage, vertexBuffers_ + 1);
    } catch (const std::bad_alloc&) {
        call.Arg(0).result = E_OUTOFMEMORY;
        *buffer = nullptr;
        return Report(call);
    }
    *buffer = created;
    call.Arg(created != nullptr ? ++vertexBuffers_ : 0);
    call.result = created != nullptr ? D3D_OK : D3DERR_OUTOFVIDEOMEMORY;
    return Report(call);
}

HRESULT DeviceCore::CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                      IDirect3DIndexBuffer9** buffer, void* sharedHandle) {
    DeviceCall call("CreateIndexBuffer");
    call.Arg(length).Arg(usage).Arg(format).Arg(pool);
    const UINT indexSize = format == D3DFMT_INDEX16 ? 2 : format == D3DFMT_INDEX32 ? 4 : 0;
    if (buffer == nullptr || indexSize == 0 || length < indexSize || !IsPool(pool) ||
        sharedHandle != nullptr) {
        if (buffer != nullptr) {
            *buffer = nullptr;
        }
        call.Arg(0).result = D3DERR_INVALIDCALL;
        return Report(call);
    }
    IndexBuffer* created = nullptr;
    try {
        created = NewIndexBuffer(length, usage, indexSize, indexBuffers_ + 1);
    } catch (const std::bad_alloc&) {
        call.Arg(0).result = E_OUTOFMEMORY;
        *buffer = nullptr;
        return Report(call);
    }
    *buffer = created;
    call.Arg(created != nullptr ? ++indexBuffers_ : 0);
    call.result = created != nullptr ? D3D_OK : D3DERR_OUTOFVIDEOMEMORY;
    return Report(call);
}

HRESULT DeviceCore::CreateVertexDeclaration(const D3DVERTEXELEMENT9* elements,
                                            IDirect3DVertexDeclaration9** declaration) {
    DeviceCall call("CreateVertexDeclaration");
    VertexLayout layout;
    UINT count = 0;
    if (declaration != nullptr) {
        *declaration = nullptr;
    }
    if (elements == nullptr || declaration == nullptr ||
        !LayoutFromElements(elements, &layout, &count)) {
        call.Arg(count).Arg(0).result = D3DERR_INVALIDCALL;
        return Report(call);
    }
    try {
        *declaration = new VertexDeclaration(this, layout, declarations_ + 1);
    } catch (const std::bad_alloc&) {
        call.Arg(count).Arg(0).result = E_OUTOFMEMORY;
        return Report(call);
    }
    call.Arg(count).Arg(++declarations_);
    return Report(call);
}

HRESULT DeviceCore::SetVertexDeclaration(IDirect3DVertexDeclaration9* declaration) {
    VertexDeclaration* ours = DeclarationOf(declaration);
    DeviceCall call("SetVertexDeclaration");
    call.Arg(ours != nullptr ? ours->Number() : 0);
    if (declaration != nullptr && (ours == nullptr || !ours->BelongsTo(this))) {
        call.result = D3DERR_INVALIDCALL;
        return Report(call);
    }
    hasLayout_ = ours != nullptr;
    layout_ = ours != nullptr ? ours->Layout() : VertexLayout{};
    InputsChanged();
    return Report(call);
}

HRESULT DeviceCore::SetFVF(DWORD fvf) {
    DeviceCall call("SetFVF");
    call.Arg(fvf);
    VertexLayout layout;
    if (!LayoutFromFvf(fvf, &layout)) {
        call.result = D3DERR_INVALIDCALL;
        return Report(call);
    }
    layout_ = layout;
    hasLayout_ = true;
    InputsChanged();
    return Report(call);
}

HRESULT DeviceCore::SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT offset,
                                    UINT stride) {
    VertexBuffer* ours = dynamic_cast<VertexBuffer*>(buffer);
    DeviceCall call("SetStreamSource");
    call.Arg(stream).Arg(ours != nullptr ? ours->Number() : 0).Arg(offset).Arg(stride);
    // One stream: every layout the stand-in takes reads stream 0.
    if (stream != 0 || (buffer != nullptr && (ours == nullptr || !ours->BelongsTo(this))) ||
        (ours != nullptr && (stride == 0 || offset >= ours->Length()))) {
        call.result = D3DERR_INVALIDCALL;
        return Report(call);
    }
    stream_ = ours;
    streamOffset_ = ours != nullptr ? offset : 0;
    streamStride_ = ours != nullptr ? stride : 0;
    InputsChanged();
    return Report(call);
}

HRESULT DeviceCore::SetIndices(IDirect3DIndexBuffer9* indices) {
    IndexBuffer* ours = dynamic_cast<IndexBuffer*>(indices);
    DeviceCall call("SetIndices");
    call.Arg(ours != nullptr ? ours->Number() : 0);
    if (indices != nullptr && (ours == nullptr || !ours->BelongsTo(this))) {
        call.result = D3DERR_INVALIDCALL;
        return Report(call);
    }
    indices_ = ours;
    InputsChanged();
    return Report(call);
}

// Vertex lastVertex of the stream must lie inside its buffer.
bool DeviceCore::VerticesFit(std::uint64_t lastVertex) const {
    const std::uint64_t end =
        std::uint64_t(streamOffset_) + lastVertex * streamStride_ + layout_.size;
    return end <= stream_->Length();
}

HRESULT DeviceCore::DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount) {
    const char* typeName = PrimitiveTypeName(type);
    DeviceCall call("DrawPrimitive", typeName != nullptr ? typeName : "");
    call.Arg(startVertex).Arg(primitiveCount);
    UINT vertices = 0;
    // No fixed-function pipeline: a draw needs an effect pass's shaders.
    if (!PrimitiveVertexCount(type, primitiveCount, &vertices) || stream_ == nullptr ||
        !hasLayout_ || shaders_ == nullptr ||
        !VerticesFit(std::uint64_t(startVertex) + vertices - 1)) {
        call.result = D3DERR_INVALIDCALL;
        return Report(call);
    }
    DoDraw(type, startVertex, vertices);
    if (trace::On()) {
        trace::Line("d3d", "DrawPrimitive")
            .Str("type", typeName)
            .UInt("start", startVertex)
            .UInt("count", primitiveCount);
    }
    return Report(call);
}

HRESULT DeviceCore::DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT baseVertex, UINT minIndex,
                                         UINT vertexCount, UINT startIndex, UINT primitiveCount) {
    const char* typeName = PrimitiveTypeName(type);
    DeviceCall call("DrawIndexedPrimitive", typeName != nullptr ? typeName : "");
    call.Arg(baseVertex).Arg(minIndex).Arg(vertexCount).Arg(startIndex).Arg(primitiveCount);
    UINT indexCount = 0;
    if (!PrimitiveVertexCount(type, primitiveCount, &indexCount) || stream_ == nullptr ||
        !hasLayout_ || shaders_ == nullptr || indices_ == nullptr ||
        std::uint64_t(startIndex) + indexCount > indices_->IndexCount()) {
        call.result = D3DERR_INVALIDCALL;
        return Report(call);
    }
    // Every index the draw reads, moved by the base vertex, must name a
    // vertex inside the stream.
    const auto [lowest, highest] = indices_->IndexRange(startIndex, indexCount);
    const std::int64_t first = std::int64_t(baseVertex) + lowest;
    const std::int64_t last = std::int64_t(baseVertex) + highest;
    if (first < 0 || !VerticesFit(std::uint64_t(last))) {
        call.result = D3DERR_INVALIDCALL;
        return Report(call);
    }
    // Indexed draws come from the render device's static buffers, whose
    // RenderStaticBuffer line stands for them in the trace.
    DoDrawIndexed(type, baseVertex, startIndex, indexCount);
    return Report(call);
}

HRESULT DeviceCore::GetPresentedFrame(BYTE* rgba, UINT pitch) {
    DeviceCall call("GetPresentedFrame");
    call.Arg(pitch);
    if (rgba == nullptr || std::uint64_t(pitch) < std::uint64_t(width_) * 4) {
        call.result = D3DERR_INVALIDCALL;
        return Report(call);
    }
    call.result = ReadPresentedFrame(rgba, pitch);
    return Report(call);
}

void DeviceCore::Forget(const VertexBuffer* buffer) {
    if (stream_ == buffer) {
        stream_ = nullptr;
        InputsChanged();
    }
}

void DeviceCore::Forget(const IndexBuffer* buffer) {
    if (indices_ == buffer) {
        indices_ = nullptr;
        InputsChanged();
    }
}

void DeviceCore::Forget(const TextureBase* texture) {
    for (DWORD stage = 0; stage < kSamplerCount; ++stage) {
        if (textures_[stage] == texture) {
            textures_[stage] = nullptr;
            BindTexture(stage, nullptr);
        }
    }
}

void DeviceCore::Forget(const Effect* effect) {
    if (shaders_ == effect) {
        shaders_ = nullptr;
    }
}

void DeviceCore::UseShadersOf(const Effect* effect) {
    shaders_ = effect;
}

HRESULT DeviceCore::CreateTextureFromFile(const char* file, IDirect3DTexture9** texture) {
    DeviceCall call("D3DXCreateTextureFromFileA", file);
    Image image;
    if (!TakeDecodedAhead(file, &call.result, &image)) {
        call.result = LoadTextureImage(file, &image);
    }
    if (SUCCEEDED(call.result)) {
        TextureBase* created = NewTexture(std::move(image), file);
        call.texture = created;
        call.result = created != nullptr ? D3D_OK : D3DERR_OUTOFVIDEOMEMORY;
        *texture = created;
    }
    return Report(call);
}

HRESULT DeviceCore::CreateEffectFromFile(const char* file, const D3DXMACRO* defines, DWORD flags,
                                         ID3DXEffect** effect, std::string* errors) {
    DeviceCall call("D3DXCreateEffectFromFileA", file);
    call.Arg(flags);
    EffectFile parsed;
    call.result = LoadEffectFile(file, &parsed, errors);
    if (SUCCEEDED(call.result)) {
        const std::string baseName = parsed.baseName;
        Effect* created = nullptr;
        call.result = NewEffect(std::move(parsed), defines, flags, effects_ + 1, &created, errors);
        if (SUCCEEDED(call.result)) {
            *effect = created;
            call.fx = baseName.c_str();
            call.effect = ++effects_;
            return Report(call);
        }
    }
    return Report(call);
}
