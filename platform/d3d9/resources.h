// What both backends share about the objects a device creates: the device
// side they talk to (DeviceBackend), managed buffers with their CPU copy, and
// textures' description.
#pragma once

#include <d3dx9.h>

#include "com_object.h"

#include <string>
#include <utility>
#include <vector>

class VertexBuffer;
class IndexBuffer;
class TextureBase;
class Effect;

// The device side of the stand-in, next to IDirect3DDevice9: what D3DX and the
// device's own objects call.
class DeviceBackend {
public:
    virtual IDirect3DDevice9* Device() = 0;
    // A resource is being destroyed: the device drops its binding, if any.
    virtual void Forget(const VertexBuffer* buffer) = 0;
    virtual void Forget(const IndexBuffer* buffer) = 0;
    virtual void Forget(const TextureBase* texture) = 0;
    virtual void Forget(const Effect* effect) = 0;
    // An effect's pass has set the device's shaders.
    virtual void UseShadersOf(const Effect* effect) = 0;
    // D3DXCreateTextureFromFileA and D3DXCreateEffectFromFileA, arguments
    // checked and outputs cleared.
    virtual HRESULT CreateTextureFromFile(const char* file, IDirect3DTexture9** texture) = 0;
    virtual HRESULT CreateEffectFromFile(const char* file, const D3DXMACRO* defines, DWORD flags,
                                         ID3DXEffect** effect, std::string* errors) = 0;

protected:
    ~DeviceBackend() = default;
};

// The stand-in's device behind an interface pointer; null for a foreign one.
DeviceBackend* BackendOf(IDirect3DDevice9* device);

// A managed-pool buffer: Lock hands out the CPU copy; the last Unlock hands
// the changed range to the backend. Holds a reference to its device.
template <class Interface>
class Buffer : public ComObject<Interface> {
public:
    HRESULT GetDevice(IDirect3DDevice9** device) override {
        if (device == nullptr) {
            return D3DERR_INVALIDCALL;
        }
        *device = owner_->Device();
        (*device)->AddRef();
        return D3D_OK;
    }

    // Size 0 locks from offset to the end. Locks nest; the union of the
    // ranges is uploaded when the last one ends.
    HRESULT Lock(UINT offset, UINT size, void** data, DWORD /*flags*/) override {
        if (data == nullptr) {
            return D3DERR_INVALIDCALL;
        }
        *data = nullptr;
        const UINT length = Length();
        if (offset > length || (size != 0 && size > length - offset)) {
            return D3DERR_INVALIDCALL;
        }
        const UINT end = size == 0 ? length : offset + size;
        if (locks_ == 0 || offset < lockedBegin_) {
            lockedBegin_ = offset;
        }
        if (locks_ == 0 || end > lockedEnd_) {
            lockedEnd_ = end;
        }
        ++locks_;
        *data = data_.data() + offset;
        return D3D_OK;
    }

    HRESULT Unlock() override {
        if (locks_ == 0) {
            return D3DERR_INVALIDCALL;
        }
        if (--locks_ == 0 && lockedEnd_ > lockedBegin_) {
            Upload(lockedBegin_, lockedEnd_);
        }
        return D3D_OK;
    }

    UINT Length() const { return static_cast<UINT>(data_.size()); }
    const BYTE* Data() const { return data_.data(); }
    // Creation order among its kind on its device, from 1.
    int Number() const { return number_; }
    bool BelongsTo(const DeviceBackend* device) const { return owner_ == device; }

protected:
    Buffer(DeviceBackend* owner, UINT length, int number)
        : owner_(owner), data_(length, 0), number_(number) {
        owner_->Device()->AddRef();
    }
    ~Buffer() override { owner_->Device()->Release(); }

    // The range [begin, end) of the CPU copy has changed.
    virtual void Upload(UINT begin, UINT end) = 0;

    DeviceBackend* Owner() const { return owner_; }
    bool Locked() const { return locks_ > 0; }
    std::pair<UINT, UINT> LockedRange() const { return {lockedBegin_, lockedEnd_}; }

private:
    DeviceBackend* owner_;
    std::vector<BYTE> data_;
    int number_;
    int locks_ = 0;
    UINT lockedBegin_ = 0;
    UINT lockedEnd_ = 0;
};

class VertexBuffer : public Buffer<IDirect3DVertexBuffer9> {
protected:
    using Buffer::Buffer;
    ~VertexBuffer() override { Owner()->Forget(this); }
};

class IndexBuffer : public Buffer<IDirect3DIndexBuffer9> {
public:
    // Any lock may change the indices: the ranges found so far are dropped.
    HRESULT Lock(UINT offset, UINT size, void** data, DWORD flags) override {
        ForgetRanges();
        return Buffer::Lock(offset, size, data, flags);
    }
    HRESULT Unlock() override {
        ForgetRanges();
        return Buffer::Unlock();
    }

    // 2 for D3DFMT_INDEX16, 4 for D3DFMT_INDEX32.
    UINT IndexSize() const { return indexSize_; }
    UINT IndexCount() const { return Length() / indexSize_; }
    UINT IndexAt(UINT i) const;
    // The lowest and highest of count indices from start (count > 0). The
    // last few ranges asked for are kept until the indices change, so a
    // static buffer drawn every frame is read once.
    std::pair<UINT, UINT> IndexRange(UINT start, UINT count);

protected:
    IndexBuffer(DeviceBackend* owner, UINT length, int number, UINT indexSize)
        : Buffer(owner, length, number), indexSize_(indexSize) {}
    ~IndexBuffer() override { Owner()->Forget(this); }

private:
    struct KnownRange {
        UINT start = 0, count = 0;  // count 0: empty
        UINT lowest = 0, highest = 0;
    };
    static constexpr int kKnownRanges = 4;

    void ForgetRanges();

    UINT indexSize_;
    KnownRange known_[kKnownRanges];
    int nextKnown_ = 0;
};

// A texture's size and origin; the backend adds its pixels. Holds a reference
// to its device. Every level of the mipmap chain exists.
class TextureBase : public ComObject<IDirect3DTexture9> {
public:
    HRESULT GetDevice(IDirect3DDevice9** device) override;
    DWORD GetLevelCount() override;
    HRESULT GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) override;

    // The file it was loaded from, as the caller named it.
    const std::string& File() const { return file_; }
    bool BelongsTo(const DeviceBackend* device) const { return owner_ == device; }

protected:
    TextureBase(DeviceBackend* owner, int width, int height, std::string file);
    ~TextureBase() override;

private:
    DeviceBackend* owner_;
    int width_;
    int height_;
    std::string file_;
};

// The stand-in's texture behind an interface pointer; null for null or a
// foreign one.
TextureBase* TextureOf(IDirect3DBaseTexture9* texture);
