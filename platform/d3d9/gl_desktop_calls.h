// The OpenGL calls and values that OpenGL ES 3.0 (and so WebGL 2) lacks.
// Callers make them only on desktop contexts (GlContext::IsEs false); a
// browser build has no desktop context, and there they do nothing.
#pragma once

#include <d3d9.h>
#include "gl_api.h"

#include <cstddef>
#include <cstdint>

// The size argument of glVertexAttribPointer for a D3DCOLOR: four bytes
// in the order B, G, R, A.
GLint DesktopBgraSize();
void DesktopClearDepth(float z);
void DesktopDepthRange(float nearZ, float farZ);
void DesktopPolygonMode(DWORD fillMode);
// Border addressing: the wrap mode and the sampler's border colour.
GLenum DesktopClampToBorder();
void DesktopBorderColour(GLuint sampler, const float rgba[4]);
void DesktopDrawElementsBaseVertex(GLenum mode, GLsizei count, GLenum type, std::uintptr_t offset,
                                   GLint baseVertex);
// A buffer texture of RGBA32F texels: made with room for bytes, and given
// fresh storage before each write, so the GPU's reads of the last contents
// are not waited for. Both leave it bound on unit.
void DesktopMakeBufferTexture(GLenum unit, std::size_t bytes, GLuint* buffer, GLuint* texture);
void DesktopRenewBufferTexture(GLenum unit, GLuint buffer, GLuint texture, std::size_t bytes);
void DesktopWriteBufferTexture(std::size_t offset, std::size_t bytes, const float* values);
// Counting the samples that pass the depth test, into one query.
void DesktopBeginSampleCount(GLuint query);
void DesktopEndSampleCount();
std::uint64_t DesktopSampleCount(GLuint query);
