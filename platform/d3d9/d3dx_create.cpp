// D3DXCreateTextureFromFileA, D3DXCreateEffectFromFileA and the error buffer:
// argument checks here, the work in the device's backend.
#include <d3dx9.h>

#include "com_object.h"
#include "file_loading.h"
#include "resources.h"

#include <cstdio>
#include <new>
#include <string>
#include <vector>

namespace {

// Zero-terminated text, as D3DX hands back compiler messages.
class TextBuffer final : public ComObject<ID3DXBuffer> {
public:
    explicit TextBuffer(const std::string& text) : bytes_(text.begin(), text.end()) {
        bytes_.push_back('\0');
    }

    void* GetBufferPointer() override { return bytes_.data(); }
    DWORD GetBufferSize() override { return static_cast<DWORD>(bytes_.size()); }

private:
    std::vector<char> bytes_;
};

// A picture that cannot be had leaves its content out of the show; one line
// says which file and why, since nothing else would.
void SayTextureFailed(LPCSTR file, HRESULT result) {
    if (result == kFileNotFound) {
        std::fprintf(stderr, "Direct3D stand-in: texture \"%s\" not found\n", file);
    } else if (result == D3DXERR_INVALIDDATA) {
        std::fprintf(stderr,
                     "Direct3D stand-in: texture \"%s\" cannot be read as a JPEG, PNG or TGA "
                     "picture of at most 16384 pixels a side\n",
                     file);
    }
}

}  // namespace

extern "C" {

HRESULT WINAPI D3DXCreateEffectFromFileA(IDirect3DDevice9* device, LPCSTR file,
                                         const D3DXMACRO* defines, LPD3DXINCLUDE /*include*/,
                                         DWORD flags, LPD3DXEFFECTPOOL /*pool*/,
                                         ID3DXEffect** effect, ID3DXBuffer** errors) {
    if (errors != nullptr) {
        *errors = nullptr;
    }
    if (effect != nullptr) {
        *effect = nullptr;
    }
    DeviceBackend* backend = device != nullptr ? BackendOf(device) : nullptr;
    if (backend == nullptr || file == nullptr || effect == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    try {
        std::string text;
        const HRESULT result = backend->CreateEffectFromFile(file, defines, flags, effect, &text);
        if (FAILED(result) && !text.empty() && errors != nullptr) {
            *errors = new TextBuffer(text);
        }
        return result;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT WINAPI D3DXCreateTextureFromFileA(IDirect3DDevice9* device, LPCSTR file,
                                          IDirect3DTexture9** texture) {
    if (texture != nullptr) {
        *texture = nullptr;
    }
    DeviceBackend* backend = device != nullptr ? BackendOf(device) : nullptr;
    if (backend == nullptr || file == nullptr || texture == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    try {
        const HRESULT result = backend->CreateTextureFromFile(file, texture);
        SayTextureFailed(file, result);
        return result;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

}  // extern "C"
