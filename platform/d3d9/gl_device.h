// The OpenGL device: a back buffer framebuffer drawn with the shared
// device's state, presented letterboxed into the window.
#pragma once

#include "device_core.h"
#include "gl_context.h"
#include "gl_framebuffer.h"

#include <epoxy/gl.h>

#include <memory>
#include <vector>

// One linked pass program of an effect and where its uniforms are.
struct GlProgram {
    const Effect* owner = nullptr;
    GLuint name = 0;
    std::size_t vertexStage = 0;
    std::size_t fragmentStage = 0;
    std::vector<GLint> locations;  // per parameter; -1 where unused
    GLint alphaFunc = -1;          // the emulated alpha test's uniforms
    GLint alphaRef = -1;
};

// The texture unit uploads use, above the 16 sampler stages.
constexpr GLenum kUploadUnit = GL_TEXTURE0 + kSamplerCount;

class GlDevice final : public DeviceCore {
public:
    // window null: offscreen. On failure writes one line to stderr and
    // returns D3DERR_NOTAVAILABLE (no OpenGL 3.3 core) or
    // D3DERR_OUTOFVIDEOMEMORY.
    static HRESULT Create(SDL_Window* window, const D3DPRESENT_PARAMETERS& parameters,
                          GlDevice** device);
    ~GlDevice() override;

    void MakeCurrent() { context_->MakeCurrent(); }
    bool HasClipControl() const { return context_->HasClipControl(); }
    // Binds an effect pass's program for the draws that follow.
    void UseProgram(const GlProgram* program);
    // After an effect bound programs of its own to set them up.
    void RebindProgram();

    using DeviceCore::Forget;
    void Forget(const Effect* effect) override;

    HRESULT ReadWindowPixels(std::vector<BYTE>* rgba, UINT* width, UINT* height);

protected:
    void DoClear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR colour, float z,
                 DWORD stencil) override;
    void DoPresent() override;
    void ApplyViewport(const D3DVIEWPORT9& viewport) override;
    void ApplyRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
    void ApplySamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) override;
    void BindTexture(DWORD stage, TextureBase* texture) override;
    void InputsChanged() override { inputsDirty_ = true; }
    VertexBuffer* NewVertexBuffer(UINT length, DWORD usage, int number) override;
    IndexBuffer* NewIndexBuffer(UINT length, DWORD usage, UINT indexSize, int number) override;
    TextureBase* NewTexture(Image image, const char* file) override;
    HRESULT NewEffect(EffectFile file, const D3DXMACRO* defines, DWORD flags, int number,
                      Effect** effect, std::string* errors) override;
    void DoDraw(D3DPRIMITIVETYPE type, UINT startVertex, UINT vertexCount) override;
    void DoDrawIndexed(D3DPRIMITIVETYPE type, INT baseVertex, UINT startIndex,
                       UINT indexCount) override;
    void ReadPresentedFrame(BYTE* rgba, UINT pitch) override;

private:
    GlDevice(std::unique_ptr<GlContext> context, UINT width, UINT height, bool depth);
    bool Initialise(GLenum colourFormat);
    // Present without the wait: the back buffer kept for GetPresentedFrame
    // and shown in the window.
    void CopyToWindow();
    void PrepareDraw();
    void BindInputs();

    std::unique_ptr<GlContext> context_;
    GlFramebuffer backBuffer_;
    // A copy of the back buffer at each Present, for GetPresentedFrame.
    GlFramebuffer presented_;
    GLuint vertexArray_ = 0;
    GLuint samplers_[kSamplerCount] = {};
    std::vector<BYTE> staging_;
    const GlProgram* program_ = nullptr;
    const Effect* programOwner_ = nullptr;
    bool inputsDirty_ = true;
    bool alphaDirty_ = true;
};
