// Desktop OpenGL's calls; nothing in a browser build.
#include "gl_desktop_calls.h"

#ifndef __EMSCRIPTEN__

GLint DesktopBgraSize() {
    return GL_BGRA;
}

void DesktopClearDepth(float z) {
    glClearDepth(z);
}

void DesktopDepthRange(float nearZ, float farZ) {
    glDepthRange(nearZ, farZ);
}

void DesktopPolygonMode(DWORD fillMode) {
    GLenum mode = GL_FILL;
    if (fillMode == D3DFILL_POINT) {
        mode = GL_POINT;
    } else if (fillMode == D3DFILL_WIREFRAME) {
        mode = GL_LINE;
    }
    glPolygonMode(GL_FRONT_AND_BACK, mode);
}

GLenum DesktopClampToBorder() {
    return GL_CLAMP_TO_BORDER;
}

void DesktopBorderColour(GLuint sampler, const float rgba[4]) {
    glSamplerParameterfv(sampler, GL_TEXTURE_BORDER_COLOR, rgba);
}

void DesktopDrawElementsBaseVertex(GLenum mode, GLsizei count, GLenum type, std::uintptr_t offset,
                                   GLint baseVertex) {
    glDrawElementsBaseVertex(mode, count, type, reinterpret_cast<const void*>(offset), baseVertex);
}

void DesktopMakeBufferTexture(GLenum unit, std::size_t bytes, GLuint* buffer, GLuint* texture) {
    glGenBuffers(1, buffer);
    glBindBuffer(GL_TEXTURE_BUFFER, *buffer);
    glBufferData(GL_TEXTURE_BUFFER, GLsizeiptr(bytes), nullptr, GL_STREAM_DRAW);
    glGenTextures(1, texture);
    glActiveTexture(unit);
    glBindTexture(GL_TEXTURE_BUFFER, *texture);
    glTexBuffer(GL_TEXTURE_BUFFER, GL_RGBA32F, *buffer);
}

void DesktopRenewBufferTexture(GLenum unit, GLuint buffer, GLuint texture, std::size_t bytes) {
    glActiveTexture(unit);
    glBindTexture(GL_TEXTURE_BUFFER, texture);
    glBindBuffer(GL_TEXTURE_BUFFER, buffer);
    glBufferData(GL_TEXTURE_BUFFER, GLsizeiptr(bytes), nullptr, GL_STREAM_DRAW);
}

void DesktopWriteBufferTexture(std::size_t offset, std::size_t bytes, const float* values) {
    glBufferSubData(GL_TEXTURE_BUFFER, GLintptr(offset), GLsizeiptr(bytes), values);
}

void DesktopBeginSampleCount(GLuint query) {
    glBeginQuery(GL_SAMPLES_PASSED, query);
}

void DesktopEndSampleCount() {
    glEndQuery(GL_SAMPLES_PASSED);
}

std::uint64_t DesktopSampleCount(GLuint query) {
    GLuint64 samples = 0;
    glGetQueryObjectui64v(query, GL_QUERY_RESULT, &samples);
    return samples;
}

#else

GLint DesktopBgraSize() {
    return 4;
}
void DesktopClearDepth(float) {}
void DesktopDepthRange(float, float) {}
void DesktopPolygonMode(DWORD) {}
GLenum DesktopClampToBorder() {
    return GL_CLAMP_TO_EDGE;
}
void DesktopBorderColour(GLuint, const float*) {}
void DesktopDrawElementsBaseVertex(GLenum, GLsizei, GLenum, std::uintptr_t, GLint) {}
void DesktopMakeBufferTexture(GLenum, std::size_t, GLuint*, GLuint*) {}
void DesktopRenewBufferTexture(GLenum, GLuint, GLuint, std::size_t) {}
void DesktopWriteBufferTexture(std::size_t, std::size_t, const float*) {}
void DesktopBeginSampleCount(GLuint) {}
void DesktopEndSampleCount() {}
std::uint64_t DesktopSampleCount(GLuint) {
    return 0;
}

#endif
