// Start-up's models and tunnel, and the models' unloading in teardown.
#include "show/ShowResources.h"

#include "effects/TunnelEffect.h"
#include "show/ShowObjects.h"

#include <d3d9_standin.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// The maps that the model's Init makes textures of next decode ahead of the
// pictures: the worker decodes one while Init decodes another.
void DecodeMapsAhead(const LoadMM& model) {
    std::vector<const char*> files;
    for (UINT i = 0; i < model.textureCount; ++i) {
        const std::string& file = model.textureList[i];
        if (std::find(files.begin(), files.end(), file) == files.end()) {
            files.push_back(file.c_str());
        }
    }
    d3d9::DecodeAhead(files.data(), files.size());
}

}  // namespace

void LoadModels(CRenderDevice* device) {
    g_modelW.LoadMesh("data\\models\\w.mm");
    DecodeMapsAhead(g_modelW);
    g_modelW.Init(device);
    g_modelQ.LoadMesh("data\\models\\q.mm");
    DecodeMapsAhead(g_modelQ);
    g_modelQ.Init(device);
}

void SetUpTunnel(CRenderDevice* device) {
    const Color4 white = {1.0f, 1.0f, 1.0f, 1.0f};
    if (CSkinManager* skins = device->GetSkinManager()) {
        skins->AddSkin(white, white, white, white, 1.0f, &g_tunnelEffect.skinId);
    }
    if (CSkinManager* skins = device->GetSkinManager()) {
        skins->AddSkinTexture(g_tunnelEffect.skinId, kTunnelTexture, 0, 1.0f);
    }
    g_tunnelEffect.Init(device);
}

void UnloadModels() {
    g_modelW.Unload();
    g_modelQ.Unload();
}
