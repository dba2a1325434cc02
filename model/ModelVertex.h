// The render data a model is built into: the vertex of render device format
// 4 (handed to the closed device library, so its layout is fixed), the
// model-wide face entry and the per-material skin record.
#pragma once

#include "render/Color4.h"
#include "render/Vec3.h"

#include <windows.h>

#include <cstddef>

struct ModelVertex {
    Vec3 position;
    Vec3 normal;
    DWORD colour;  // 0xAARRGGBB
    float u, v;
    Vec3 tangent;
    float handedness;  // +1 or -1
};

static_assert(sizeof(ModelVertex) == 52, "vertex format 4 is 52 bytes");
static_assert(offsetof(ModelVertex, position) == 0);
static_assert(offsetof(ModelVertex, normal) == 12);
static_assert(offsetof(ModelVertex, colour) == 24);
static_assert(offsetof(ModelVertex, u) == 28);
static_assert(offsetof(ModelVertex, v) == 32);
static_assert(offsetof(ModelVertex, tangent) == 36);
static_assert(offsetof(ModelVertex, handedness) == 48);

struct ModelFace {
    WORD index[3];  // into the model's vertex array
    int material;   // -1: in no buffer
};

// Marks an unused skin field.
constexpr UINT kNoSkinTexture = 0xFFFF;
constexpr int kSkinTextures = 8;

struct ModelSkin {
    UINT material = kNoSkinTexture;
    UINT texture[kSkinTextures] = {kNoSkinTexture, kNoSkinTexture, kNoSkinTexture, kNoSkinTexture,
                                   kNoSkinTexture, kNoSkinTexture, kNoSkinTexture, kNoSkinTexture};
};

struct MaterialColours {
    Color4 ambient{};
    Color4 diffuse{};
    Color4 emissive{};
    Color4 specular{};
};
