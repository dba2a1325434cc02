// Start-up's models and tunnel, and the models' unloading in teardown.
#include "show/ShowResources.h"

#include "effects/TunnelEffect.h"
#include "show/ShowObjects.h"

void LoadModels(CRenderDevice* device) {
    g_modelW.LoadMesh("data\\models\\w.mm");
    g_modelW.Init(device);
    g_modelQ.LoadMesh("data\\models\\q.mm");
    g_modelQ.Init(device);
}

void SetUpTunnel(CRenderDevice* device) {
    const Color4 white = {1.0f, 1.0f, 1.0f, 1.0f};
    if (CSkinManager* skins = device->GetSkinManager()) {
        skins->AddSkin(white, white, white, white, 1.0f, &g_tunnelEffect.skinId);
    }
    if (CSkinManager* skins = device->GetSkinManager()) {
        skins->AddSkinTexture(g_tunnelEffect.skinId, "textures\\holeball.tga", 0, 1.0f);
    }
    g_tunnelEffect.Init(device);
}

void UnloadModels() {
    g_modelW.Unload();
    g_modelQ.Unload();
}
