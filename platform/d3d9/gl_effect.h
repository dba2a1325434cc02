// The OpenGL effect: one linked program per distinct pair of stages its
// passes use (two where the alpha test may apply); a pass applies its states
// through the device, binds its program and uploads the parameter values.
#pragma once

#include "effect.h"
#include "gl_device.h"
#include "gl_instance_batch.h"

#include <memory>
#include <tuple>
#include <utility>
#include <vector>

class GlEffect final : public Effect {
public:
    // Compiles every stage and links every pass; on failure returns E_FAIL
    // with the compiler's messages mapped to file lines in errors.
    static HRESULT Create(GlDevice* device, EffectFile file, const D3DXMACRO* defines, DWORD flags,
                          Effect** effect, std::string* errors);
    ~GlEffect() override;

    // Makes the other program of the pair current, with every value: the
    // alpha test was turned on or off between a pass's start and a draw.
    void UseAlphaTwin(const GlProgram& program);

protected:
    void BeginTechnique(std::size_t technique, DWORD flags) override;
    void ApplyPass(std::size_t technique, std::size_t pass) override;
    void CommitPass(std::size_t technique, std::size_t pass) override;
    void EndTechnique(std::size_t technique) override;

private:
    GlEffect(GlDevice* device, EffectFile file, DWORD flags);
    HRESULT Build(const D3DXMACRO* defines, std::string* errors);
    HRESULT BuildProgram(std::size_t technique, std::size_t pass,
                         const std::vector<GLuint>& shaders,
                         const std::vector<GLuint>& alphaShaders, std::string* errors);
    // A linked program's parameter locations, samplers' units and alpha
    // test uniforms.
    GlProgram NewProgram(GLuint name, const PassDesc& desc);
    // Gives every program an instanced twin and the effect its batch. A
    // variant that does not build (too many values for the fragment stage's
    // inputs) leaves its program unbatched.
    void BuildInstancedPrograms(const D3DXMACRO* defines);
    void Upload(const GlProgram& program, std::size_t parameter);
    // Makes the program current with every parameter's value (samplers keep
    // the units they were given at link time).
    void UseWithEveryValue(const GlProgram& program);
    const GlProgram& ProgramOf(std::size_t technique, std::size_t pass) const;
    // The program of the pair the device's alpha test calls for.
    const GlProgram& ForAlphaTest(const GlProgram& program) const;

    GlDevice* device_;
    std::vector<GlProgram> programs_;
    // [technique][pass]: index into programs_.
    std::vector<std::vector<std::size_t>> passPrograms_;
    std::unique_ptr<InstanceBatch> batch_;
    // The sampler parameters, in declaration order.
    std::vector<std::size_t> samplers_;
    // What Begin saved for End to restore; sized once, so Begin allocates
    // nothing.
    std::vector<std::pair<D3DRENDERSTATETYPE, DWORD>> savedRenderStates_;
    std::vector<std::tuple<DWORD, D3DSAMPLERSTATETYPE, DWORD>> savedSamplerStates_;
    std::vector<std::pair<DWORD, IDirect3DBaseTexture9*>> savedTextures_;
};
