// The nine picture quads: 58 x 40 landscape quads, and one 40 x 58 portrait
// quad, centred on their origin in the plane z = 0.
#include "show/ShowResources.h"

#include <d3d9_standin.h>

#include <iterator>

UINT g_pictureSkinIds[kPictureQuadCount] = {};
UINT g_pictureBufferIds[kPictureQuadCount] = {};

namespace {

// Alpha 255, red 255, green 255, blue 127; the top-right corner has blue 15.
constexpr DWORD kCornerColour = 0xFFFFFF7Fu;
constexpr DWORD kTopRightColour = 0xFFFFFF0Fu;

constexpr PictureVertex kLandscapeQuad[4] = {
    {-29.0f, -20.0f, 0.0f, kCornerColour, 0.0f, 1.0f},
    {-29.0f, 20.0f, 0.0f, kCornerColour, 0.0f, 0.0f},
    {29.0f, -20.0f, 0.0f, kCornerColour, 1.0f, 1.0f},
    {29.0f, 20.0f, 0.0f, kTopRightColour, 1.0f, 0.0f},
};

constexpr PictureVertex kPortraitQuad[4] = {
    {-20.0f, -29.0f, 0.0f, kCornerColour, 0.0f, 1.0f},
    {-20.0f, 29.0f, 0.0f, kCornerColour, 0.0f, 0.0f},
    {20.0f, -29.0f, 0.0f, kCornerColour, 1.0f, 1.0f},
    {20.0f, 29.0f, 0.0f, kTopRightColour, 1.0f, 0.0f},
};

// Two triangles, shared by every quad.
constexpr WORD kQuadIndices[6] = {0, 1, 2, 2, 1, 3};

struct PictureQuadSource {
    const char* texture;
    const PictureVertex* vertices;
};

// The mask's texture sits in "textures\", not "data\textures\".
constexpr PictureQuadSource kPictureQuads[kPictureQuadCount] = {
    {"data\\textures\\death_is_waiting.jpg", kLandscapeQuad},
    {"data\\textures\\Waiting_For_Death_To_Come_by_Velimar.jpg", kLandscapeQuad},
    {"data\\textures\\nothing.png", kLandscapeQuad},
    {"data\\textures\\F_l_o_u_r_i_s_h.jpg", kLandscapeQuad},
    {"data\\textures\\nny.png", kLandscapeQuad},
    {"data\\textures\\vic.png", kLandscapeQuad},
    {"data\\textures\\n.png", kLandscapeQuad},
    {"textures\\scratch_messymiddle_mk_.tga", kLandscapeQuad},
    {"data\\textures\\Dream_With_Me_by_Ostrelle.jpg", kPortraitQuad},
};

}  // namespace

void DecodePicturesAhead() {
    const char* files[kPictureQuadCount + 1];
    for (int quad = 0; quad < kPictureQuadCount; ++quad) {
        files[quad] = kPictureQuads[quad].texture;
    }
    files[kPictureQuadCount] = kTunnelTexture;
    d3d9::DecodeAhead(files, std::size(files));
}

void BuildPictureQuads(CRenderDevice* device) {
    const Color4 white = {1.0f, 1.0f, 1.0f, 1.0f};
    for (int quad = 0; quad < kPictureQuadCount; ++quad) {
        const PictureQuadSource& source = kPictureQuads[quad];
        if (CSkinManager* skins = device->GetSkinManager()) {
            skins->AddSkin(white, white, white, white, 1.0f, &g_pictureSkinIds[quad]);
        }
        if (CSkinManager* skins = device->GetSkinManager()) {
            skins->AddSkinTexture(g_pictureSkinIds[quad], source.texture, 0, 1.0f);
        }
        if (CBufferManager* buffers = device->GetBufferManager()) {
            buffers->CreateStaticBuffer(kVertexFormatPicture, g_pictureSkinIds[quad], 4, 6,
                                        source.vertices, kQuadIndices, kPrimitiveTriangleList,
                                        &g_pictureBufferIds[quad]);
        }
    }
}
