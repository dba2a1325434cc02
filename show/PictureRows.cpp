// The picture rows: textured quads that drift, pulse and fade with the
// music, each under its own camera and one of the three projections.
#include "show/RowSteps.h"
#include "show/ShowObjects.h"
#include "show/ShowResources.h"
#include "show/ShowRows.h"
#include "show/ShowState.h"

#include <cmath>

namespace {

constexpr const char* kPictureTechnique = "RenderTunnel";

// The music inputs of the picture rows: the pitch value is lifted by half.
void SetPictureMusicInputs(float bass, float pitch) {
    g_renderDevice->SetShaderFloat("fBassValue", bass);
    g_renderDevice->SetShaderFloat("fPitchValue", 1.5f * pitch);
}

// fR, fG and fB, with the red and green factors at 1.
void SetColourFactors(float blue) {
    g_renderDevice->SetShaderFloat("fR", 1.0f);
    g_renderDevice->SetShaderFloat("fG", 1.0f);
    g_renderDevice->SetShaderFloat("fB", blue);
}

Matrix4 Translation(float x, float y, float z) {
    Matrix4 translation;
    D3DXMatrixTranslation(&translation, x, y, z);
    return translation;
}

// A picture that fades in from `start` and rises by `lift` times the pitch
// value, drifting along z.
void DrawRisingPicture(PictureQuad quad, float start, float blue, float lift) {
    const float t = g_show.showClock;
    const float p = g_show.pitchValue;
    SetColourFactors(blue);
    g_renderDevice->SetShaderFloat("fA", std::sin(0.2f * (t - start)) + p);
    SetPictureMusicInputs(g_show.bassValue, p);
    SetWorldAndWVP(Translation(0.0f, lift * p, 5.0f * std::sin(0.025f * (t - start))),
                   g_show.projection90);
    DrawPicture(kPictureTechnique, g_pictureBufferIds[quad], 1);
}

}  // namespace

// Uses the default camera of the frame.
void DrawDeathIsWaiting() {
    const float t = g_show.showClock;
    SetColourFactors(g_show.bassValue);
    g_renderDevice->SetShaderFloat("fA",
                                   2.0f * (0.25f * std::sin(0.1f * t) + 5.0f * g_show.pitchValue));
    SetWorldAndWVP(
        Translation(5.0f * std::cos(0.05f * t) - 5.0f, 0.0f, 5.0f * std::sin(0.025f * t)),
        g_show.projection90);
    DrawPicture(kPictureTechnique, g_pictureBufferIds[kPictureDeathIsWaiting], 1);
}

// The cosine term counts from 25, the sine term from 29.
void DrawWaitingForDeath() {
    const float t = g_show.showClock;
    const float p = g_show.pitchValue;
    SetCamera(0.0f, 0.0f, 25.0f);
    SetColourFactors(g_show.upperBandValue + p);
    g_renderDevice->SetShaderFloat("fA", 0.25f * std::sin(0.05f * (t - 29.0f)) + 4.0f * p);
    g_renderDevice->SetShaderFloat("fTime", t);
    SetPictureMusicInputs(g_show.bassValue, p);
    Matrix4 stretch;
    D3DXMatrixScaling(&stretch, 1.0f, 1.25f, 1.0f);
    const Matrix4 place = Translation(3.0f - 5.0f * std::cos(0.03f * (t - 25.0f)), -5.0f,
                                      5.0f * std::sin(0.025f * (t - 29.0f)) - 11.0f);
    Matrix4 world;
    D3DXMatrixMultiply(&world, &place, &stretch);
    SetWorldAndWVP(world, g_show.projection60);
    DrawPicture(kPictureTechnique, g_pictureBufferIds[kPictureWaitingForDeath], 1);
}

void DrawNny() {
    SetCamera(0.0f, 0.0f, 20.0f);
    DrawRisingPicture(kPictureNny, 4.0f, 0.0f, 0.75f);
}

void DrawVic() {
    SetCamera(0.0f, 0.0f, 20.0f);
    DrawRisingPicture(kPictureVic, 22.0f, g_show.pitchValue, 4.75f);
}

void DrawNothing() {
    SetCamera(0.0f, 0.0f, 25.0f);
    DrawRisingPicture(kPictureNothing, 52.0f, 0.0f, 4.75f);
}

// "fG" is left as earlier rows set it. The louder the pitch band, the more
// the second copy turns, recedes and fades.
void DrawN() {
    const float t = g_show.showClock;
    const float p = g_show.pitchValue;
    const UINT buffer = g_pictureBufferIds[kPictureN];
    SetCamera(0.0f, 0.0f, 25.0f);
    g_renderDevice->SetShaderFloat("fR", 1.0f);
    g_renderDevice->SetShaderFloat("fB", std::sin(0.05f * (t - 136.0f)) + 3.0f * p);
    g_renderDevice->SetShaderFloat("fA", std::sin(0.2f * (t - 136.0f)) + p);
    SetPictureMusicInputs(g_show.bassValue, p);

    const float drift = std::sin(0.025f * (t - 136.0f));
    SetWorldAndWVP(Translation(0.0f, 8.75f * p, 5.0f * drift), g_show.projection90);
    DrawPicture(kPictureTechnique, buffer, 1);

    // 0.31415927 is pi / 10, 0.03926991 is pi / 80.
    Matrix4 turn;
    D3DXMatrixRotationZ(&turn, 8.75f * p * 0.31415927f + 0.03926991f);
    const Matrix4 place = Translation(0.0f, 5.0f * p, 5.0f * drift - 78.75f * p + 3.0f);
    Matrix4 world;
    D3DXMatrixMultiply(&world, &turn, &place);
    g_renderDevice->SetShaderFloat(
        "fA", t >= 164.0f && t <= 171.0f ? 1.0f - std::sin(0.2f * (t - 164.0f)) : 1.0f - 8.75f * p);
    SetWorldAndWVP(world, g_show.projection90);
    DrawPicture(kPictureTechnique, buffer, 1);
}

void DrawDreamWithMe() {
    const float t = g_show.showClock;
    const float p = g_show.pitchValue;
    SetCamera(0.0f, 0.0f, 55.0f);
    SetColourFactors(std::sin(0.05f * (t - 115.0f)) + p);
    g_renderDevice->SetShaderFloat("fA", 0.25f * std::sin(0.2f * (t - 115.0f)));
    SetPictureMusicInputs(g_show.bassValue, p);
    SetWorldAndWVP(Translation(12.0f, 0.75f * p, 5.0f * std::cos(0.025f * (t - 115.0f))),
                   g_show.projection45);
    DrawPicture(kPictureTechnique, g_pictureBufferIds[kPictureDreamWithMe], 1);
}

// Moved first and then turned about the view axis, so the picture circles
// the centre; "World" carries the move alone.
void DrawFlourish() {
    const float t = g_show.showClock;
    const float p = g_show.pitchValue;
    const float since = t - 87.0f;
    SetCamera(0.0f, 0.0f, 21.0f);
    SetColourFactors(4.0f * p * std::sin(0.05f * since));
    g_renderDevice->SetShaderFloat("fA", t < 90.0f ? std::cos(0.3f * since) : 2.0f * p);
    SetPictureMusicInputs(g_show.bassValue, p);
    const Matrix4 move =
        Translation(3.0f * std::cos(0.1f * since), 0.0f, 5.0f - 5.0f * std::sin(0.025f * since));
    Matrix4 turn;
    D3DXMatrixRotationZ(&turn, 0.05f * since);
    Matrix4 orbit;
    D3DXMatrixMultiply(&orbit, &move, &turn);
    g_renderDevice->SetShaderMatrix("WVP",
                                    WorldViewProjection(orbit, g_show.view, g_show.projection45));
    g_renderDevice->SetShaderMatrix("World", move);
    DrawPicture(kPictureTechnique, g_pictureBufferIds[kPictureFlourish], 2);
}
