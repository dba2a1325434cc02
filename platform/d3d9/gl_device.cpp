// The OpenGL device's hooks: state to GL, clears, draws, Present.
#include "gl_device.h"

#include "fullscreen_window.h"
#include "gl_desktop_calls.h"
#include "gl_counters.h"
#include "gl_effect.h"
#include "gl_instance_batch.h"
#include "gl_resources.h"
#include "gl_state.h"
#include "letterbox.h"
#include "window_framebuffer.h"

#include <d3d9_standin.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

void ColourOf(D3DCOLOR colour, float rgba[4]) {
    rgba[0] = float((colour >> 16) & 0xFF) / 255.0f;
    rgba[1] = float((colour >> 8) & 0xFF) / 255.0f;
    rgba[2] = float(colour & 0xFF) / 255.0f;
    rgba[3] = float(colour >> 24) / 255.0f;
}

// Copies GL's bottom-up rows into top-down rows pitch bytes apart.
void FlipRows(const BYTE* source, UINT width, UINT height, BYTE* target, std::size_t pitch) {
    const std::size_t row = std::size_t(width) * 4;
    for (UINT y = 0; y < height; ++y) {
        std::memcpy(target + y * pitch, source + std::size_t(height - 1 - y) * row, row);
    }
}

constexpr D3DRENDERSTATETYPE kAppliedRenderStates[] = {
    D3DRS_ZENABLE,  D3DRS_FILLMODE, D3DRS_ZWRITEENABLE,     D3DRS_SRCBLEND,
    D3DRS_CULLMODE, D3DRS_ZFUNC,    D3DRS_ALPHABLENDENABLE, D3DRS_BLENDOP,
};

constexpr D3DSAMPLERSTATETYPE kAppliedSamplerStates[] = {
    D3DSAMP_ADDRESSU,  D3DSAMP_ADDRESSV,  D3DSAMP_ADDRESSW,
    D3DSAMP_MAGFILTER, D3DSAMP_MINFILTER, D3DSAMP_BORDERCOLOR,
};

}  // namespace

GlDevice::GlDevice(std::unique_ptr<GlContext> context, UINT width, UINT height, bool depth)
    : DeviceCore(width, height, depth),
      context_(std::move(context)),
      staging_(new BYTE[std::size_t(width) * height * 4]) {}

HRESULT GlDevice::Create(GlWindow* window, const D3DPRESENT_PARAMETERS& parameters,
                         GlDevice** device) {
    std::string failure;
    std::unique_ptr<GlContext> context = GlContext::Create(window, &failure);
    if (!context) {
        std::fprintf(stderr, "Direct3D stand-in: %s\n", failure.c_str());
        return D3DERR_NOTAVAILABLE;
    }
    GlDevice* created =
        new GlDevice(std::move(context), parameters.BackBufferWidth, parameters.BackBufferHeight,
                     parameters.EnableAutoDepthStencil != FALSE);
    created->batching_ = d3d9::BatchingDraws();
    if (!created->Initialise(parameters.BackBufferFormat == D3DFMT_A8R8G8B8 ? GL_RGBA8 : GL_RGB8)) {
        std::fprintf(stderr, "Direct3D stand-in: cannot make a %ux%u back buffer\n",
                     parameters.BackBufferWidth, parameters.BackBufferHeight);
        created->Release();
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    if (window != nullptr) {
        // Fullscreen covers the desktop at its own mode; the back buffer is
        // letterboxed into it like into any window.
        if (!parameters.Windowed) {
            CoverDisplay(window);
        }
        created->context_->SetSwapInterval(
            parameters.PresentationInterval == D3DPRESENT_INTERVAL_IMMEDIATE ? 0 : 1);
        created->windowFits_ =
            !created->IsEs() && parameters.EnableAutoDepthStencil != FALSE &&
            WindowFramebufferFits(parameters.BackBufferFormat == D3DFMT_A8R8G8B8);
        created->ChooseDrawTarget(created->CanDrawIntoWindow(created->PresentsIntoWindow()));
    }
    *device = created;
    return D3D_OK;
}

bool GlDevice::Initialise(GLenum colourFormat) {
    MakeCurrent();
    const GLsizei width = GLsizei(Width());
    const GLsizei height = GLsizei(Height());
    if (!presented_.Create(width, height, colourFormat, false)) {
        return false;
    }
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    if (!backBuffer_.Create(width, height, colourFormat, true)) {
        return false;
    }
    glDisable(GL_DITHER);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGenVertexArrays(1, &vertexArray_);
    glBindVertexArray(vertexArray_);
    glGenSamplers(GLsizei(kSamplerCount), samplers_);
    for (DWORD sampler = 0; sampler < kSamplerCount; ++sampler) {
        glBindSampler(sampler, samplers_[sampler]);
        for (D3DSAMPLERSTATETYPE type : kAppliedSamplerStates) {
            ApplySamplerState(sampler, type, SamplerState(sampler, type));
        }
    }
    for (D3DRENDERSTATETYPE state : kAppliedRenderStates) {
        ApplyRenderState(state, RenderState(state));
    }
    ApplyViewport(Viewport());
    return true;
}

GlDevice::~GlDevice() {
    MakeCurrent();
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteSamplers(GLsizei(kSamplerCount), samplers_);
    glDeleteVertexArrays(1, &vertexArray_);
    if (pixelQuery_ != 0) {
        glDeleteQueries(1, &pixelQuery_);
    }
    backBuffer_.Destroy();
    presented_.Destroy();
}

void GlDevice::UseProgram(const GlProgram* program) {
    MakeCurrent();
    if (program_ != program) {
        program_ = program;
        programOwner_ = program->owner;
        glUseProgram(program->name);
        alphaDirty_ = true;
    }
}

void GlDevice::RebindProgram() {
    MakeCurrent();
    glUseProgram(program_ != nullptr ? program_->name : 0);
}

// Called as the effect dies, when its programs may be gone already: only
// the owner's address is compared.
void GlDevice::Forget(const Effect* effect) {
    if (program_ != nullptr && programOwner_ == effect) {
        program_ = nullptr;
        MakeCurrent();
        glUseProgram(0);
    }
    DeviceCore::Forget(effect);
}

void GlDevice::DoClear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR colour, float z,
                       DWORD stencil) {
    GlTimeScope timed;
    FlushDraws();
    MakeCurrent();
    GLbitfield mask = 0;
    if (flags & D3DCLEAR_TARGET) {
        float rgba[4];
        ColourOf(colour, rgba);
        glClearColor(rgba[0], rgba[1], rgba[2], rgba[3]);
        mask |= GL_COLOR_BUFFER_BIT;
    }
    if (flags & D3DCLEAR_ZBUFFER) {
        glDepthMask(GL_TRUE);
        IsEs() ? glClearDepthf(z) : DesktopClearDepth(z);
        mask |= GL_DEPTH_BUFFER_BIT;
    }
    if (flags & D3DCLEAR_STENCIL) {
        glStencilMask(0xFF);
        glClearStencil(GLint(stencil & 0xFF));
        mask |= GL_STENCIL_BUFFER_BIT;
    }
    // Direct3D clears the viewport (or the given rectangles inside it) and
    // ignores the depth write state while doing so. A clear of the whole
    // back buffer goes without the scissor: software rasterisers clear a
    // whole buffer much faster than a rectangle of it.
    const D3DVIEWPORT9& viewport = Viewport();
    if (count == 0 && viewport.X == 0 && viewport.Y == 0 && viewport.Width == Width() &&
        viewport.Height == Height()) {
        glClear(mask);
    } else {
        ClearRectangles(count, rects, mask);
    }
    if (flags & D3DCLEAR_ZBUFFER) {
        glDepthMask(RenderState(D3DRS_ZWRITEENABLE) ? GL_TRUE : GL_FALSE);
    }
}

void GlDevice::ClearRectangles(DWORD count, const D3DRECT* rects, GLbitfield mask) {
    const D3DVIEWPORT9& viewport = Viewport();
    const std::int64_t left = viewport.X, top = viewport.Y;
    const std::int64_t right = left + viewport.Width, bottom = top + viewport.Height;
    glEnable(GL_SCISSOR_TEST);
    const auto clearRect = [&](std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2) {
        x1 = x1 > left ? x1 : left;
        y1 = y1 > top ? y1 : top;
        x2 = x2 < right ? x2 : right;
        y2 = y2 < bottom ? y2 : bottom;
        if (x2 > x1 && y2 > y1) {
            glScissor(GLint(x1), GLint(std::int64_t(Height()) - y2), GLsizei(x2 - x1),
                      GLsizei(y2 - y1));
            glClear(mask);
        }
    };
    if (count == 0) {
        clearRect(left, top, right, bottom);
    }
    for (DWORD i = 0; i < count; ++i) {
        clearRect(rects[i].x1, rects[i].y1, rects[i].x2, rects[i].y2);
    }
    glDisable(GL_SCISSOR_TEST);
}

namespace {

std::uint64_t TrianglesOf(D3DPRIMITIVETYPE type, UINT vertexCount) {
    switch (type) {
        case D3DPT_TRIANGLELIST:
            return vertexCount / 3;
        case D3DPT_TRIANGLESTRIP:
        case D3DPT_TRIANGLEFAN:
            return vertexCount >= 3 ? vertexCount - 2 : 0;
        default:
            return 0;
    }
}

// Waits for the GPU, the wait counted apart from the submission.
void FinishCounted() {
    const std::uint64_t start = CounterNanoseconds();
    const std::uint64_t cpuStart = ThreadCpuNanoseconds();
    glFinish();
    g_glCounters.frame.finishNanoseconds += CounterNanoseconds() - start;
    g_glCounters.frame.glThreadCpuNanoseconds += ThreadCpuNanoseconds() - cpuStart;
}

}  // namespace

// While counting, the frame's drawing is waited for before the copies (which
// would otherwise wait for it inside the submission) and the copies after.
void GlDevice::DoPresent() {
    if (g_glCounters.on || pixelQueryActive_) {
        MakeCurrent();
        {
            GlTimeScope timed;
            FlushDraws();
        }
        EndPixelQuery();
    }
    if (g_glCounters.on) {
        FinishCounted();
    }
    CopyToWindow();
    if (g_glCounters.on) {
        FinishCounted();
        // ES counts no samples: its frames count no pixels.
        if (!IsEs()) {
            g_glCounters.frame.pixelsDrawn += DesktopSampleCount(pixelQuery_);
            DesktopBeginSampleCount(pixelQuery_);
            pixelQueryActive_ = true;
        }
    }
}

// The first counted frame has no query running: it counts no pixels.
void GlDevice::EndPixelQuery() {
    if (pixelQuery_ == 0) {
        glGenQueries(1, &pixelQuery_);
    }
    if (pixelQueryActive_) {
        DesktopEndSampleCount();
        pixelQueryActive_ = false;
    }
}

namespace {

// Read on the render thread at each Present; set before frames are drawn.
bool g_presentIntoWindows = true;
bool g_drawIntoWindows = false;

}  // namespace

void GlDevice::PresentIntoWindows(bool on) {
    g_presentIntoWindows = on;
}

void GlDevice::DrawIntoWindows(bool on) {
    g_drawIntoWindows = on;
}

bool GlDevice::PresentsIntoWindow() const {
    return g_presentIntoWindows && context_->PresentWindow() != nullptr;
}

// Decided between frames: a window resized away from the back buffer's size
// (or presents turned off) sends the next frame to the back buffer
// framebuffer, to be letterboxed or read back.
bool GlDevice::CanDrawIntoWindow(bool presentsIntoWindow) const {
    if (!presentsIntoWindow || !windowFits_ || !g_drawIntoWindows) {
        return false;
    }
    int drawableWidth = 0, drawableHeight = 0;
    context_->DrawableSize(&drawableWidth, &drawableHeight);
    return UINT(drawableWidth) == Width() && UINT(drawableHeight) == Height();
}

void GlDevice::ChooseDrawTarget(bool intoWindow) {
    drawingIntoWindow_ = intoWindow;
    glBindFramebuffer(GL_FRAMEBUFFER, DrawTarget());
}

// A frame drawn into the window is presented by the swap alone. The
// driver's copy into a window turns the frame's rows over, which its quick
// copy cannot do, so the back buffer framebuffer's blit costs about what a
// full-screen layer costs.
void GlDevice::CopyToWindow() {
    GlTimeScope timed;
    FlushDraws();
    MakeCurrent();
    const bool intoWindow = PresentsIntoWindow();
    // Asked once a frame: it decides both how this frame is presented (a
    // window resized while the frame was drawn gets it letterboxed) and
    // where the next one is drawn.
    const bool windowTakesFrames = CanDrawIntoWindow(intoWindow);
    presentedFromWindow_ = drawingIntoWindow_ && windowTakesFrames;
    if (presentedFromWindow_) {
        // A real display's swap sends the frame's drawing to be done; SDL's
        // offscreen windows are pbuffers, whose swap does nothing, and the
        // frames drawn into them would pile up in the driver unflushed.
        glFlush();
        context_->Swap();
        ++g_glCounters.frame.framesIntoWindow;
    } else {
        KeepAndLetterbox(intoWindow);
    }
    ChooseDrawTarget(windowTakesFrames);
}

// A frame drawn into a window whose presents were turned off since (or
// that went away, or changed its size) is kept like any other; the window
// is given the kept copy.
void GlDevice::KeepAndLetterbox(bool intoWindow) {
    const GLint width = GLint(Width());
    const GLint height = GLint(Height());
    glBindFramebuffer(GL_READ_FRAMEBUFFER, DrawTarget());
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, presented_.framebuffer);
    glBlitFramebuffer(0, 0, width, height, 0, 0, width, height, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    if (intoWindow) {
        int drawableWidth = 0, drawableHeight = 0;
        context_->DrawableSize(&drawableWidth, &drawableHeight);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, presented_.framebuffer);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        const LetterboxRect box = Letterbox(width, height, drawableWidth, drawableHeight);
        if (box.width > 0 && box.height > 0) {
            glBlitFramebuffer(0, 0, width, height, box.x, box.y, box.x + box.width,
                              box.y + box.height, GL_COLOR_BUFFER_BIT, GL_LINEAR);
        }
        context_->Swap();
    }
}

void GlDevice::ApplyViewport(const D3DVIEWPORT9& viewport) {
    GlTimeScope timed;
    FlushDraws();
    MakeCurrent();
    // Direct3D counts Y down from the top; GL counts up from the bottom.
    glViewport(GLint(viewport.X), GLint(Height() - viewport.Y - viewport.Height),
               GLsizei(viewport.Width), GLsizei(viewport.Height));
    if (IsEs()) {
        glDepthRangef(viewport.MinZ, viewport.MaxZ);
    } else {
        DesktopDepthRange(viewport.MinZ, viewport.MaxZ);
    }
}

void GlDevice::ApplyRenderState(D3DRENDERSTATETYPE state, DWORD value) {
    GlTimeScope timed;
    FlushDraws();
    MakeCurrent();
    switch (state) {
        case D3DRS_ZENABLE:
            value != FALSE ? glEnable(GL_DEPTH_TEST) : glDisable(GL_DEPTH_TEST);
            break;
        case D3DRS_ZWRITEENABLE:
            glDepthMask(value != FALSE ? GL_TRUE : GL_FALSE);
            break;
        case D3DRS_ZFUNC:
            glDepthFunc(GlCompare(value));
            break;
        case D3DRS_ALPHABLENDENABLE:
            value != FALSE ? glEnable(GL_BLEND) : glDisable(GL_BLEND);
            break;
        case D3DRS_SRCBLEND:
        case D3DRS_DESTBLEND:
            glBlendFunc(GlBlendFactor(RenderState(D3DRS_SRCBLEND)),
                        GlBlendFactor(RenderState(D3DRS_DESTBLEND)));
            break;
        case D3DRS_BLENDOP:
            glBlendEquation(GlBlendEquation(value));
            break;
        case D3DRS_CULLMODE:
            if (value == D3DCULL_NONE) {
                glDisable(GL_CULL_FACE);
            } else {
                glEnable(GL_CULL_FACE);
                glCullFace(GL_BACK);
                glFrontFace(GlFrontFace(value));
            }
            break;
        case D3DRS_FILLMODE:
            // ES fills every polygon.
            if (!IsEs()) {
                DesktopPolygonMode(value);
            }
            break;
        case D3DRS_ALPHATESTENABLE:
        case D3DRS_ALPHAREF:
        case D3DRS_ALPHAFUNC:
            alphaDirty_ = true;
            break;
        default:
            break;  // kept, with nothing to apply (LIGHTING: no fixed function)
    }
}

void GlDevice::ApplySamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) {
    GlTimeScope timed;
    FlushDraws();
    MakeCurrent();
    const GLuint name = samplers_[sampler];
    const GLenum border = IsEs() ? GLenum(GL_CLAMP_TO_EDGE) : DesktopClampToBorder();
    switch (type) {
        case D3DSAMP_ADDRESSU:
            glSamplerParameteri(name, GL_TEXTURE_WRAP_S, GLint(GlWrap(value, border)));
            break;
        case D3DSAMP_ADDRESSV:
            glSamplerParameteri(name, GL_TEXTURE_WRAP_T, GLint(GlWrap(value, border)));
            break;
        case D3DSAMP_ADDRESSW:
            glSamplerParameteri(name, GL_TEXTURE_WRAP_R, GLint(GlWrap(value, border)));
            break;
        case D3DSAMP_MAGFILTER:
            glSamplerParameteri(name, GL_TEXTURE_MAG_FILTER, GLint(GlMagFilter(value)));
            break;
        case D3DSAMP_MINFILTER:
        case D3DSAMP_MIPFILTER:
            glSamplerParameteri(name, GL_TEXTURE_MIN_FILTER,
                                GLint(GlMinFilter(SamplerState(sampler, D3DSAMP_MINFILTER),
                                                  SamplerState(sampler, D3DSAMP_MIPFILTER))));
            break;
        case D3DSAMP_BORDERCOLOR:
            if (!IsEs()) {
                float rgba[4];
                ColourOf(value, rgba);
                DesktopBorderColour(name, rgba);
            }
            break;
        default:
            break;  // kept, with nothing to apply
    }
}

void GlDevice::BindTexture(DWORD stage, TextureBase* texture) {
    GlTimeScope timed;
    FlushDraws();
    MakeCurrent();
    glActiveTexture(GL_TEXTURE0 + stage);
    glBindTexture(GL_TEXTURE_2D, texture != nullptr ? static_cast<GlTexture*>(texture)->Name() : 0);
}

VertexBuffer* GlDevice::NewVertexBuffer(UINT length, DWORD usage, int number) {
    return GlVertexBuffer::Make(this, usage, length, number);
}

IndexBuffer* GlDevice::NewIndexBuffer(UINT length, DWORD usage, UINT indexSize, int number) {
    return GlIndexBuffer::Make(this, usage, length, number, indexSize);
}

TextureBase* GlDevice::NewTexture(Image image, const char* file) {
    return GlTexture::Make(this, image, file);
}

HRESULT GlDevice::NewEffect(EffectFile file, const D3DXMACRO* defines, DWORD flags, int /*number*/,
                            Effect** effect, std::string* errors) {
    return GlEffect::Create(this, std::move(file), defines, flags, effect, errors);
}

void GlDevice::BindInputs(INT baseVertex) {
    const VertexBuffer* stream = Stream();
    glBindBuffer(GL_ARRAY_BUFFER,
                 stream != nullptr ? static_cast<const GlVertexBuffer*>(stream)->Name() : 0);
    const VertexLayout& layout = Layout();
    for (GLuint location = 0; location < kAttributeLocations; ++location) {
        const VertexAttribute* attribute = nullptr;
        for (int i = 0; i < layout.count; ++i) {
            if (layout.attributes[i].location == location) {
                attribute = &layout.attributes[i];
            }
        }
        if (attribute == nullptr || stream == nullptr) {
            glDisableVertexAttribArray(location);
            continue;
        }
        const void* offset = reinterpret_cast<const void*>(
            std::uintptr_t(StreamOffset()) + attribute->offset +
            std::uintptr_t(std::intptr_t(baseVertex) * std::intptr_t(StreamStride())));
        glEnableVertexAttribArray(location);
        if (attribute->color) {
            // Bytes B, G, R, A in memory reach the shader as rgba; on ES the
            // vertex stage swaps them itself (gl_shader.h).
            glVertexAttribPointer(location, IsEs() ? 4 : DesktopBgraSize(), GL_UNSIGNED_BYTE,
                                  GL_TRUE, GLsizei(StreamStride()), offset);
        } else {
            glVertexAttribPointer(location, attribute->components, GL_FLOAT, GL_FALSE,
                                  GLsizei(StreamStride()), offset);
        }
    }
    const IndexBuffer* indices = Indices();
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER,
                 indices != nullptr ? static_cast<const GlIndexBuffer*>(indices)->Name() : 0);
    inputsDirty_ = false;
    boundBaseVertex_ = baseVertex;
}

void FindAlphaTestUniforms(GlProgram& program) {
    program.alphaOn = glGetUniformLocation(program.name, "hush_AlphaTestOn");
    program.alphaLow = glGetUniformLocation(program.name, "hush_AlphaLow");
    program.alphaHigh = glGetUniformLocation(program.name, "hush_AlphaHigh");
    program.alphaKeepOutside = glGetUniformLocation(program.name, "hush_AlphaKeepOutside");
}

void UploadAlphaTest(const GlProgram& program, const AlphaTestBounds& bounds) {
    if (program.alphaOn >= 0) {
        glUniform1i(program.alphaOn, bounds.on ? 1 : 0);
        glUniform1f(program.alphaLow, bounds.low);
        glUniform1f(program.alphaHigh, bounds.high);
        glUniform1i(program.alphaKeepOutside, bounds.keepOutside ? 1 : 0);
    }
}

AlphaTestBounds GlDevice::AlphaTest() const {
    return AlphaTestBoundsOf(RenderState(D3DRS_ALPHATESTENABLE) != FALSE,
                             RenderState(D3DRS_ALPHAFUNC), RenderState(D3DRS_ALPHAREF));
}

void GlDevice::PrepareDraw(INT baseVertex) {
    MakeCurrent();
    if (inputsDirty_ || baseVertex != boundBaseVertex_) {
        BindInputs(baseVertex);
    }
    if (alphaDirty_ && program_ != nullptr) {
        const AlphaTestBounds bounds = AlphaTest();
        if (program_->alphaTwin >= 0 && program_->alphaTested != bounds.on) {
            program_->owner->UseAlphaTwin(*program_);
        }
        UploadAlphaTest(*program_, bounds);
        alphaDirty_ = false;
    }
}

void GlDevice::FlushBatch() {
    GlTimeScope timed;
    MakeCurrent();
    InstanceBatch* batch = openBatch_;
    openBatch_ = nullptr;
    g_glCounters.frame.glDraws += batch->Flush();
}

// A draw the open run takes costs no GL command; its first one binds the
// inputs the whole run draws from.
void GlDevice::DoDraw(D3DPRIMITIVETYPE type, UINT startVertex, UINT vertexCount) {
    ++g_glCounters.frame.drawCalls;
    g_glCounters.frame.triangles += TrianglesOf(type, vertexCount);
    if (openBatch_ != nullptr) {
        if (openBatch_->Accepts(type, startVertex, vertexCount)) {
            if (openBatch_->Empty()) {
                GlTimeScope timed;
                PrepareDraw();
            }
            openBatch_->Take(type, startVertex, vertexCount, AlphaTest());
            return;
        }
        FlushDraws();
    }
    GlTimeScope timed;
    PrepareDraw();
    ++g_glCounters.frame.glDraws;
    glDrawArrays(GlPrimitive(type), GLint(startVertex), GLsizei(vertexCount));
}

void GlDevice::DoDrawIndexed(D3DPRIMITIVETYPE type, INT baseVertex, UINT startIndex,
                             UINT indexCount) {
    GlTimeScope timed;
    FlushDraws();
    const UINT size = Indices()->IndexSize();
    const GLenum indexType = size == 2 ? GL_UNSIGNED_SHORT : GL_UNSIGNED_INT;
    const std::uintptr_t indexOffset = std::uintptr_t(startIndex) * size;
    // Without base-vertex draws the inputs start baseVertex vertices on,
    // which a stream cannot do before its start.
    const bool shifted = IsEs() && baseVertex != 0;
    if (shifted && std::int64_t(StreamOffset()) + std::int64_t(baseVertex) * StreamStride() < 0) {
        return;
    }
    PrepareDraw(shifted ? baseVertex : 0);
    ++g_glCounters.frame.drawCalls;
    ++g_glCounters.frame.glDraws;
    g_glCounters.frame.triangles += TrianglesOf(type, indexCount);
    if (IsEs()) {
        glDrawElements(GlPrimitive(type), GLsizei(indexCount), indexType,
                       reinterpret_cast<const void*>(indexOffset));
    } else {
        DesktopDrawElementsBaseVertex(GlPrimitive(type), GLsizei(indexCount), indexType,
                                      indexOffset, baseVertex);
    }
}

HRESULT GlDevice::ReadPresentedFrame(BYTE* rgba, UINT pitch) {
    if (presentedFromWindow_) {
        return D3DERR_INVALIDCALL;
    }
    GlTimeScope timed;
    FlushDraws();
    MakeCurrent();
    glBindFramebuffer(GL_READ_FRAMEBUFFER, presented_.framebuffer);
    glReadPixels(0, 0, GLsizei(Width()), GLsizei(Height()), GL_RGBA, GL_UNSIGNED_BYTE,
                 staging_.get());
    glBindFramebuffer(GL_READ_FRAMEBUFFER, DrawTarget());
    FlipRows(staging_.get(), Width(), Height(), rgba, pitch);
    return D3D_OK;
}

HRESULT GlDevice::ReadWindowPixels(std::vector<BYTE>* rgba, UINT* width, UINT* height) {
    if (context_->PresentWindow() == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    MakeCurrent();
    FlushDraws();
    int drawableWidth = 0, drawableHeight = 0;
    context_->DrawableSize(&drawableWidth, &drawableHeight);
    std::vector<BYTE> bottomUp(std::size_t(drawableWidth) * drawableHeight * 4);
    rgba->resize(bottomUp.size());
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, drawableWidth, drawableHeight, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
    glBindFramebuffer(GL_READ_FRAMEBUFFER, DrawTarget());
    FlipRows(bottomUp.data(), UINT(drawableWidth), UINT(drawableHeight), rgba->data(),
             std::size_t(drawableWidth) * 4);
    *width = UINT(drawableWidth);
    *height = UINT(drawableHeight);
    return D3D_OK;
}
