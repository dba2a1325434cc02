// The model rows: models W and Q turning slowly far from a fixed camera,
// drawn with the offset-mapping effect through its ID3DXEffect interface.
#include "show/RowSteps.h"
#include "show/ShowObjects.h"
#include "show/ShowRows.h"
#include "show/ShowState.h"

#include <cmath>

namespace {

constexpr float kEyeX = -0.6f;
constexpr float kEyeY = -4.0f;
constexpr float kEyeZ = 10.0f;
constexpr D3DXVECTOR4 kEyeVector = {kEyeX, kEyeY, kEyeZ, 0.0f};

void SetModelCamera(ID3DXEffect& effect) {
    SetCamera(kEyeX, kEyeY, kEyeZ);
    effect.SetMatrix("View", &g_show.view);
}

// The model turns about its own y axis, is scaled, then placed.
Matrix4 ModelWorld(float turn, const D3DXVECTOR3& scale, const D3DXVECTOR3& place) {
    Matrix4 rotation;
    D3DXMatrixRotationY(&rotation, turn);
    Matrix4 scaling;
    D3DXMatrixScaling(&scaling, scale.x, scale.y, scale.z);
    Matrix4 translation;
    D3DXMatrixTranslation(&translation, place.x, place.y, place.z);
    Matrix4 turned;
    D3DXMatrixMultiply(&turned, &rotation, &scaling);
    Matrix4 world;
    D3DXMatrixMultiply(&world, &turned, &translation);
    return world;
}

// Every pass draws each of the model's static buffers in material order.
// A model that failed to load has no buffers, but the technique still runs.
void DrawModel(ID3DXEffect& effect, const char* technique, const LoadMM& model) {
    effect.SetTechnique(effect.GetTechniqueByName(technique));
    UINT passes = 0;
    effect.Begin(&passes, 0);
    const bool hasBuffers = model.renderDevice != nullptr && model.bufferIds != nullptr;
    for (UINT pass = 0; pass < passes; ++pass) {
        effect.BeginPass(pass);
        for (UINT material = 0; hasBuffers && material < model.materialCount; ++material) {
            RenderBuffer(model.renderDevice, model.bufferIds[material]);
        }
        effect.EndPass();
    }
    effect.End();
}

float ModelWFade(float t, float pitch) {
    if (t > 29.0f && t < 39.0f) {
        return std::sin(0.1f * (t - 29.0f));
    }
    if (t >= 73.0f && t <= 80.0f) {
        return 1.0f - std::sin(0.2f * (t - 73.0f));
    }
    return 10.0f * pitch + 1.0f;
}

float ModelQFade(float t) {
    if (t > 97.0f && t < 107.0f) {
        return std::sin(0.125f * (t - 97.0f));
    }
    if (t >= 148.0f && t <= 155.0f) {
        return 1.0f - std::sin(0.2f * (t - 148.0f));
    }
    return 1.0f;
}

}  // namespace

void DrawModelW() {
    if (g_offsetMappingEffect == nullptr) {
        return;
    }
    ID3DXEffect& effect = *g_offsetMappingEffect;
    const float t = g_show.showClock;
    const D3DXVECTOR4 light = {-400.5f, 100.5f, 100.0f, 0.0f};
    SetModelCamera(effect);
    effect.SetFloat("fA", ModelWFade(t, g_show.pitchValue));
    effect.SetFloat("fTime", t);
    effect.SetFloat("fPitchValue", 1.0f);
    effect.SetVector("eyeVec", &kEyeVector);
    effect.SetVector("mLightPos", &light);
    const Matrix4 world = ModelWorld(0.05f * t, {0.55f, 1.0f, 0.55f}, {200.0f, -100.0f, -1200.0f});
    Matrix4 inverse{};
    D3DXMatrixInverse(&inverse, nullptr, &world);
    Matrix4 inverseTranspose;
    D3DXMatrixTranspose(&inverseTranspose, &inverse);
    effect.SetMatrix("World", &world);
    effect.SetMatrix("worldIT", &inverseTranspose);
    const Matrix4 wvp = WorldViewProjection(world, g_show.view, g_show.projection45);
    effect.SetMatrix("WVP", &wvp);
    DrawModel(effect, "TechniqueBMappingBlend", g_modelW);
}

// "worldIT" keeps what model W last gave it. The upper band value shifts
// the model along -x.
void DrawModelQ() {
    if (g_offsetMappingEffect == nullptr) {
        return;
    }
    ID3DXEffect& effect = *g_offsetMappingEffect;
    const float t = g_show.showClock;
    const D3DXVECTOR4 light = {0.0f, 0.0f, -1000.0f, 1.0f};
    SetModelCamera(effect);
    effect.SetFloat("fA", ModelQFade(t));
    effect.SetFloat("fTime", t);
    effect.SetFloat("fPitchValue", 30.0f * g_show.pitchValue);
    effect.SetVector("eyeVec", &kEyeVector);
    effect.SetVector("mLightPos", &light);
    const Matrix4 world = ModelWorld(0.081f * t, {0.75f, 1.2f, 1.2f},
                                     {-20.0f * g_show.upperBandValue, -5.0f, -900.0f});
    effect.SetMatrix("World", &world);
    const Matrix4 wvp = WorldViewProjection(world, g_show.view, g_show.projection45);
    effect.SetMatrix("WVP", &wvp);
    DrawModel(effect, "TechniqueParallaxMapping", g_modelQ);
}
