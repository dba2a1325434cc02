// The OpenGL device: a back buffer framebuffer drawn with the shared
// device's state, presented letterboxed into the window; or, where allowed
// and the window is the back buffer's size, the window's own framebuffer.
#pragma once

#include "alpha_test.h"
#include "device_core.h"
#include "gl_context.h"
#include "gl_framebuffer.h"
#include "gl_shader.h"

#include "gl_api.h"

#include <memory>
#include <vector>

class InstanceBatch;

// One linked pass program of an effect and where its uniforms are.
class GlEffect;

struct GlProgram {
    GlEffect* owner = nullptr;
    GLuint name = 0;
    std::size_t vertexStage = 0;
    std::size_t fragmentStage = 0;
    // Per parameter; -1 where unused. In an instanced program a parameter
    // that can take a value per instance is at "hush_Uniform_<name>".
    std::vector<GLint> locations;
    // A fragment stage with one output is linked twice: without the alpha
    // test, and with it for while the test is on (the test costs every
    // pixel some work even when it keeps them all). The other one of the
    // pair (an index into the effect's programs), or -1.
    int alphaTwin = -1;
    bool alphaTested = false;
    GLint alphaOn = -1;  // the emulated alpha test's uniforms
    GLint alphaLow = -1;
    GLint alphaHigh = -1;
    GLint alphaKeepOutside = -1;
    // The program's instanced twin (an index into the effect's programs),
    // or -1: its draws are never batched.
    int instanced = -1;
    // Instanced programs, per parameter: "hush_Column_<name>", or -1 where
    // the parameter cannot take a value per instance.
    std::vector<GLint> columns;
};

// Looks up the program's alpha test uniforms; uploads the bounds to them
// (the program must be the one in use).
void FindAlphaTestUniforms(GlProgram& program);
void UploadAlphaTest(const GlProgram& program, const AlphaTestBounds& bounds);

// The texture unit uploads use, above the 16 sampler stages.
constexpr GLenum kUploadUnit = GL_TEXTURE0 + kSamplerCount;

class GlDevice final : public DeviceCore {
public:
    // window null: offscreen. On failure writes one line to stderr and
    // returns D3DERR_NOTAVAILABLE (no OpenGL 3.3 core) or
    // D3DERR_OUTOFVIDEOMEMORY.
    static HRESULT Create(GlWindow* window, const D3DPRESENT_PARAMETERS& parameters,
                          GlDevice** device);
    ~GlDevice() override;

    // A frame meant for the window goes to the back buffer framebuffer once
    // the window is gone (closing destroys it between frames): the context
    // then draws over a small hidden window of its own.
    void MakeCurrent() {
        context_->MakeCurrent();
        if (drawingIntoWindow_ && context_->OverHiddenWindow()) {
            ChooseDrawTarget(false);
        }
    }
    bool HasClipControl() const { return context_->HasClipControl(); }
    bool HasTextureStorage() const { return context_->HasTextureStorage(); }
    bool IsEs() const { return context_->IsEs(); }
    // What the effects' stages are built for.
    ShaderTarget Target() const { return {IsEs(), !HasClipControl()}; }
    // Binds an effect pass's program for the draws that follow.
    void UseProgram(const GlProgram* program);
    // After an effect bound programs of its own to set them up.
    void RebindProgram();

    // Whether this device batches draws (see gl_instance_batch.h): decided
    // when it is created.
    bool Batching() const { return batching_; }
    // The run of held-back draws, flushed before anything that would change
    // what it draws; null to end it.
    void OpenBatch(InstanceBatch* batch) { openBatch_ = batch; }
    bool IsOpenBatch(const InstanceBatch* batch) const { return openBatch_ == batch; }
    // After something else was bound as the index buffer: the draws' own
    // binding is made again before the next draw.
    void IndexBindingMoved() { inputsDirty_ = true; }
    // Issues the held-back draws, if any.
    void FlushDraws() {
        if (openBatch_ != nullptr) {
            FlushBatch();
        }
    }

    using DeviceCore::Forget;
    void Forget(const Effect* effect) override;

    HRESULT ReadWindowPixels(std::vector<BYTE>* rgba, UINT* width, UINT* height);
    // Whether every device's Present copies into its window.
    static void PresentIntoWindows(bool on);
    // Whether devices may draw their frames straight into their window.
    static void DrawIntoWindows(bool on);
    // The alpha test's interval, as the render states set it.
    AlphaTestBounds AlphaTest() const;
    bool IsCurrentProgram(const GlProgram* program) const { return program_ == program; }

protected:
    void DoClear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR colour, float z,
                 DWORD stencil) override;
    void DoPresent() override;
    void ApplyViewport(const D3DVIEWPORT9& viewport) override;
    void ApplyRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
    void ApplySamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) override;
    void BindTexture(DWORD stage, TextureBase* texture) override;
    void InputsChanged() override {
        FlushDraws();
        inputsDirty_ = true;
    }
    VertexBuffer* NewVertexBuffer(UINT length, DWORD usage, int number) override;
    IndexBuffer* NewIndexBuffer(UINT length, DWORD usage, UINT indexSize, int number) override;
    TextureBase* NewTexture(Image image, const char* file) override;
    HRESULT NewEffect(EffectFile file, const D3DXMACRO* defines, DWORD flags, int number,
                      Effect** effect, std::string* errors) override;
    void DoDraw(D3DPRIMITIVETYPE type, UINT startVertex, UINT vertexCount) override;
    void DoDrawIndexed(D3DPRIMITIVETYPE type, INT baseVertex, UINT startIndex,
                       UINT indexCount) override;
    HRESULT ReadPresentedFrame(BYTE* rgba, UINT pitch) override;

private:
    GlDevice(std::unique_ptr<GlContext> context, UINT width, UINT height, bool depth);
    bool Initialise(GLenum colourFormat);
    // Present without the wait: the back buffer kept for GetPresentedFrame
    // and shown in the window.
    void CopyToWindow();
    // Copies the frame for GetPresentedFrame and, when intoWindow,
    // letterboxes it into the window and swaps.
    void KeepAndLetterbox(bool intoWindow);
    // Where the next frame is drawn: into the window when CanDrawIntoWindow
    // said so, else into the back buffer framebuffer.
    void ChooseDrawTarget(bool intoWindow);
    // Whether presents go into a window: allowed, and the window is there.
    bool PresentsIntoWindow() const;
    bool CanDrawIntoWindow(bool presentsIntoWindow) const;
    GLuint DrawTarget() const { return drawingIntoWindow_ ? 0 : backBuffer_.framebuffer; }
    void EndPixelQuery();
    // Clears the rectangles (all of the viewport when count is 0), each cut
    // to the viewport, through the scissor.
    void ClearRectangles(DWORD count, const D3DRECT* rects, GLbitfield mask);
    // Binds what the draw reads; baseVertex shifts the vertex inputs where
    // there are no base-vertex draws.
    void PrepareDraw(INT baseVertex = 0);
    void FlushBatch();

    void BindInputs(INT baseVertex);

    std::unique_ptr<GlContext> context_;
    GlFramebuffer backBuffer_;
    // A copy of the back buffer at each Present, for GetPresentedFrame.
    GlFramebuffer presented_;
    GLuint vertexArray_ = 0;
    GLuint samplers_[kSamplerCount] = {};
    // Where GetPresentedFrame reads the frame to. Left uninitialised, so that
    // a run that never reads a frame never touches its pages.
    std::unique_ptr<BYTE[]> staging_;
    const GlProgram* program_ = nullptr;
    const Effect* programOwner_ = nullptr;
    InstanceBatch* openBatch_ = nullptr;
    bool batching_ = true;
    // The window's framebuffer has the back buffer's colour channels and its
    // depth and stencil bits (decided when the device is made).
    bool windowFits_ = false;
    // The frame being drawn goes straight into the window.
    bool drawingIntoWindow_ = false;
    // The last Present swapped a frame drawn into the window: nothing kept
    // it for GetPresentedFrame.
    bool presentedFromWindow_ = false;
    // Counts the pixels each counted frame draws.
    GLuint pixelQuery_ = 0;
    bool pixelQueryActive_ = false;
    bool inputsDirty_ = true;
    INT boundBaseVertex_ = 0;
    bool alphaDirty_ = true;
};
