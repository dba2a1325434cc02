// Steps the schedule's rows share.
#include "show/RowSteps.h"

#include "show/ShowObjects.h"
#include "show/ShowState.h"

void SetCamera(float x, float y, float z) {
    const D3DXVECTOR3 eye = {x, y, z};
    const D3DXVECTOR3 origin = {0.0f, 0.0f, 0.0f};
    const D3DXVECTOR3 up = {0.0f, 1.0f, 0.0f};
    D3DXMatrixLookAtLH(&g_show.view, &eye, &origin, &up);
}

Matrix4 WorldViewProjection(const Matrix4& world, const Matrix4& view, const Matrix4& projection) {
    Matrix4 worldView;
    D3DXMatrixMultiply(&worldView, &world, &view);
    Matrix4 wvp;
    D3DXMatrixMultiply(&wvp, &worldView, &projection);
    return wvp;
}

void SetWorldAndWVP(const Matrix4& world, const Matrix4& projection) {
    g_renderDevice->SetShaderMatrix("World", world);
    g_renderDevice->SetShaderMatrix("WVP", WorldViewProjection(world, g_show.view, projection));
}

void BeginPicturePass() {
    g_renderDevice->BeginShaderEffect(0, 0);
    g_renderDevice->BeginShaderPass(0, 0);
}

void EndPicturePass() {
    g_renderDevice->EndShaderPass();
    g_renderDevice->EndShaderEffect();
}

void RenderBuffer(CRenderDevice* device, UINT buffer) {
    if (CBufferManager* buffers = device->GetBufferManager()) {
        buffers->RenderStaticBuffer(buffer, 1);
    }
}

void DrawPicture(const char* technique, UINT buffer, int draws) {
    g_renderDevice->SetShaderTechnique(technique);
    BeginPicturePass();
    for (int draw = 0; draw < draws; ++draw) {
        RenderBuffer(g_renderDevice, buffer);
    }
    EndPicturePass();
}
