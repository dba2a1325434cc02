// Index reads, texture descriptions and the casts from interface pointers.
#include "resources.h"

#include <cstring>

DeviceBackend* BackendOf(IDirect3DDevice9* device) {
    return dynamic_cast<DeviceBackend*>(device);
}

UINT IndexBuffer::IndexAt(UINT i) const {
    if (indexSize_ == 2) {
        WORD index;
        std::memcpy(&index, Data() + std::size_t(i) * 2, 2);
        return index;
    }
    DWORD index;
    std::memcpy(&index, Data() + std::size_t(i) * 4, 4);
    return index;
}

std::pair<UINT, UINT> IndexBuffer::IndexRange(UINT start, UINT count) {
    for (const KnownRange& known : known_) {
        if (known.count == count && known.start == start) {
            return {known.lowest, known.highest};
        }
    }
    UINT lowest = 0xFFFFFFFFu;
    UINT highest = 0;
    for (UINT i = start; i < start + count; ++i) {
        const UINT index = IndexAt(i);
        lowest = index < lowest ? index : lowest;
        highest = index > highest ? index : highest;
    }
    known_[nextKnown_] = {start, count, lowest, highest};
    nextKnown_ = (nextKnown_ + 1) % kKnownRanges;
    return {lowest, highest};
}

void IndexBuffer::ForgetRanges() {
    for (KnownRange& known : known_) {
        known = KnownRange{};
    }
}

TextureBase::TextureBase(DeviceBackend* owner, int width, int height, std::string file)
    : owner_(owner), width_(width), height_(height), file_(std::move(file)) {
    owner_->Device()->AddRef();
}

TextureBase::~TextureBase() {
    owner_->Forget(this);
    owner_->Device()->Release();
}

HRESULT TextureBase::GetDevice(IDirect3DDevice9** device) {
    if (device == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *device = owner_->Device();
    (*device)->AddRef();
    return D3D_OK;
}

DWORD TextureBase::GetLevelCount() {
    DWORD levels = 1;
    for (int size = width_ > height_ ? width_ : height_; size > 1; size /= 2) {
        ++levels;
    }
    return levels;
}

HRESULT TextureBase::GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) {
    if (desc == nullptr || level >= GetLevelCount()) {
        return D3DERR_INVALIDCALL;
    }
    desc->Format = D3DFMT_A8R8G8B8;
    desc->Pool = D3DPOOL_MANAGED;
    desc->Width = static_cast<UINT>(width_ >> level > 0 ? width_ >> level : 1);
    desc->Height = static_cast<UINT>(height_ >> level > 0 ? height_ >> level : 1);
    return D3D_OK;
}

TextureBase* TextureOf(IDirect3DBaseTexture9* texture) {
    return dynamic_cast<TextureBase*>(texture);
}
