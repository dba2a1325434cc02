// What start-up builds for the show once the device is open (the models,
// the nine picture quads, the tunnel), and the models' unloading in
// teardown. Results are not tested: the show runs with whatever was built.
#pragma once

#include "render/RenderDevice.h"

// The picture quads in the order start-up builds them.
enum PictureQuad {
    kPictureDeathIsWaiting,
    kPictureWaitingForDeath,
    kPictureNothing,
    kPictureFlourish,
    kPictureNny,
    kPictureVic,
    kPictureN,
    kPictureScratchMask,
    kPictureDreamWithMe,
    kPictureQuadCount
};

// Each quad's skin and static buffer; the device owns them.
extern UINT g_pictureSkinIds[kPictureQuadCount];
extern UINT g_pictureBufferIds[kPictureQuadCount];

// The tunnel's texture.
constexpr const char* kTunnelTexture = "textures\\holeball.tga";

// Has the quads' pictures and the tunnel's texture decoded ahead, in the
// order start-up makes textures of them (d3d9::DecodeAhead).
void DecodePicturesAhead();
// LoadMesh and Init on model W, then on model Q.
void LoadModels(CRenderDevice* device);
// One white skin with the quad's texture and one static buffer per quad,
// all nine even when textures are missing.
void BuildPictureQuads(CRenderDevice* device);
// The tunnel's white skin with "textures\holeball.tga", then its Init.
void SetUpTunnel(CRenderDevice* device);
// Unload model W, then model Q.
void UnloadModels();
