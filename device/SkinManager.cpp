// Skins and their textures.
#include "device/SkinManager.h"

#include "device/DeviceTrace.h"

#include <d3dx9.h>

namespace ember {

SkinManager::~SkinManager() {
    for (Skin& skin : skins_) {
        for (IDirect3DTexture9*& texture : skin.textures) {
            if (texture != nullptr) {
                texture->Release();
                texture = nullptr;
            }
        }
    }
}

HRESULT SkinManager::AddSkin(const Color4& ambient, const Color4& diffuse, const Color4& emissive,
                             const Color4& specular, float power, UINT* skinId) {
    if (skinId == nullptr) {
        return E_INVALIDARG;
    }
    Skin skin{ambient, diffuse, emissive, specular, power, {}, 0};
    skins_.push_back(skin);
    *skinId = static_cast<UINT>(skins_.size());
    if (trace::On()) {
        trace::Line("dev", "AddSkin").UInt("skin", *skinId);
    }
    return S_OK;
}

HRESULT SkinManager::AddSkinTexture(UINT skinId, const char* file, int, float) {
    if (trace::On()) {
        trace::Line("dev", "AddSkinTexture").UInt("skin", skinId).Str("file", file ? file : "");
    }
    if (skinId == 0 || skinId > skins_.size() || file == nullptr) {
        return E_INVALIDARG;
    }
    Skin& skin = skins_[skinId - 1];
    if (skin.textureCount >= skin.textures.size()) {
        return E_FAIL;
    }
    // A texture that fails to load still takes its stage, so the textures
    // after it keep the stages their order gives them.
    const UINT stage = skin.textureCount++;
    if (*device_ == nullptr) {
        return E_FAIL;
    }
    IDirect3DTexture9* texture = nullptr;
    const HRESULT result = D3DXCreateTextureFromFileA(*device_, file, &texture);
    if (FAILED(result)) {
        return result;
    }
    skin.textures[stage] = texture;
    return S_OK;
}

const Skin* SkinManager::Find(UINT skinId) const {
    if (skinId == 0 || skinId > skins_.size()) {
        return nullptr;
    }
    return &skins_[skinId - 1];
}

}  // namespace ember
