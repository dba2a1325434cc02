// Skins: four material colours, a power and up to eight textures, each bound
// to the texture stage of its position when a static buffer is drawn.
#pragma once

#include "render/RenderDevice.h"

#include <d3d9.h>

#include <array>
#include <vector>

namespace ember {

struct Skin {
    Color4 ambient, diffuse, emissive, specular;
    float power;
    std::array<IDirect3DTexture9*, 8> textures;  // null where a stage has none
    UINT textureCount;                           // the next stage to fill
};

class SkinManager final : public CSkinManager {
public:
    explicit SkinManager(IDirect3DDevice9** device) : device_(device) {}
    ~SkinManager();
    SkinManager(const SkinManager&) = delete;
    SkinManager& operator=(const SkinManager&) = delete;

    HRESULT AddSkin(const Color4& ambient, const Color4& diffuse, const Color4& emissive,
                    const Color4& specular, float power, UINT* skinId) override;
    HRESULT AddSkinTexture(UINT skinId, const char* file, int flags, float alpha) override;

    // The skin with this id, or null for an id never issued. Ids count from 1.
    const Skin* Find(UINT skinId) const;

private:
    IDirect3DDevice9** device_;  // the device's Direct3D device, once open
    std::vector<Skin> skins_;
};

}  // namespace ember
