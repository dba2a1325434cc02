// Steps the schedule's rows share: cameras, the world and WVP matrices, and
// the picture draw through the render device's current shader effect.
#pragma once

#include "render/Matrix4.h"
#include "render/RenderDevice.h"

// The shared View matrix <- the camera at eye (x, y, z), looking at the
// origin with up (0, 1, 0).
void SetCamera(float x, float y, float z);
// world · view · projection: world applied first.
Matrix4 WorldViewProjection(const Matrix4& world, const Matrix4& view, const Matrix4& projection);
// "World" <- world, then "WVP" <- world · View · projection.
void SetWorldAndWVP(const Matrix4& world, const Matrix4& projection);
// The effect and its pass begun, and ended.
void BeginPicturePass();
void EndPicturePass();
// GetBufferManager on device, then RenderStaticBuffer(buffer, 1).
void RenderBuffer(CRenderDevice* device, UINT buffer);
// The technique set, then one pass that draws the buffer `draws` times.
void DrawPicture(const char* technique, UINT buffer, int draws);
