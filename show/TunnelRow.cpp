// The tunnel row: the tunnel turning about its axis, drawn twice, the
// second time with the clock running backwards.
#include "effects/TunnelEffect.h"
#include "show/RowSteps.h"
#include "show/ShowObjects.h"
#include "show/ShowRows.h"
#include "show/ShowState.h"

#include <cmath>

namespace {

// Half opacity, faded in over 97..107 and out over 113..120.
float TunnelFade(float t) {
    if (t > 97.0f && t < 107.0f) {
        return 0.5f * std::sin(0.1f * (t - 97.0f));
    }
    if (t >= 113.0f && t <= 120.0f) {
        return 0.5f * (1.0f - std::sin(0.2f * (t - 113.0f)));
    }
    return 0.5f;
}

}  // namespace

// The second pass leaves "fTime" at -t for the rows after it in the frame.
// A tunnel whose Init failed has no buffer: its passes draw nothing.
void DrawTunnel() {
    const float t = g_show.showClock;
    Matrix4 world;
    D3DXMatrixRotationZ(&world, 0.1f * t);
    SetCamera(8.0f, -3.0f, 10.0f);
    g_renderDevice->SetShaderMatrix("View", g_show.view);
    g_renderDevice->SetShaderFloat("fR", 1.0f);
    g_renderDevice->SetShaderFloat("fG", 1.0f);
    g_renderDevice->SetShaderFloat("fB", 1.0f);
    g_renderDevice->SetShaderFloat("fA", TunnelFade(t));
    g_renderDevice->SetShaderFloat("fTime", t);
    SetWorldAndWVP(world, g_show.projection45);
    g_renderDevice->SetShaderTechnique("RenderTunnel");

    BeginPicturePass();
    g_tunnelEffect.Render(0);
    EndPicturePass();

    g_renderDevice->SetShaderFloat("fTime", -t);
    BeginPicturePass();
    g_tunnelEffect.Render(0);
    EndPicturePass();
}
