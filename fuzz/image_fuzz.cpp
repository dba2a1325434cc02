// libFuzzer target: any bytes as a picture file (JPEG, PNG, TGA),
// through D3DXCreateTextureFromFileA on the recording backend: the header
// check, stb_image's decoding and the texture with its mipmap chain.
#include "fuzz/FuzzFile.h"

#include <d3d9_record.h>
#include <d3dx9.h>

#include <cstdint>
#include <string>

namespace {

IDirect3DDevice9* Device() {
    static IDirect3DDevice9* const device = d3d9::CreateRecordingDevice(nullptr);
    return device;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = fuzz::InputPath("image_fuzz", ".png");
    if (!fuzz::WriteInput(path, data, size)) {
        return 0;
    }
    IDirect3DTexture9* texture = nullptr;
    if (SUCCEEDED(D3DXCreateTextureFromFileA(Device(), path.c_str(), &texture))) {
        for (DWORD level = 0; level < texture->GetLevelCount(); ++level) {
            D3DSURFACE_DESC description{};
            texture->GetLevelDesc(level, &description);
        }
        Device()->SetTexture(0, texture);
        Device()->SetTexture(0, nullptr);
        texture->Release();
    }
    d3d9::ClearRecordedCalls(Device());
    std::remove(path.c_str());
    return 0;
}
