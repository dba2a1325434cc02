// The OpenGL calls and values that OpenGL ES 3.0 (and so WebGL 2) lacks.
// Callers make them only on desktop contexts (GlContext::IsEs false); a
// browser build has no desktop context, and there they do nothing.
#pragma once

#include <d3d9.h>
#include "gl_api.h"

#include <cstdint>

void DesktopClearDepth(float z);
void DesktopDepthRange(float nearZ, float farZ);
void DesktopPolygonMode(DWORD fillMode);
// Border addressing: the wrap mode and the sampler's border colour.
GLenum DesktopClampToBorder();
void DesktopBorderColour(GLuint sampler, const float rgba[4]);
void DesktopDrawElementsBaseVertex(GLenum mode, GLsizei count, GLenum type, std::uintptr_t offset,
                                   GLint baseVertex);
// Counting the samples that pass the depth test, into one query.
void DesktopBeginSampleCount(GLuint query);
void DesktopEndSampleCount();
std::uint64_t DesktopSampleCount(GLuint query);
