// Draw batching: a run of BeginPass/DrawPrimitive/EndPass on one effect pass
// whose draws differ only in parameter values is held back and drawn as one
// instanced draw, each draw's values in an instance texture, in the same order
// and so with the same pixels. The trace and the call order above the
// backend see every call as made; only the GL commands change.
//
// A run starts at a BeginPass applied the ordinary way (its values uploaded
// to the pass's program) and its first draw. A later BeginPass of the same
// pass after the previous pass's draw continues the run when no sampler
// parameter the pass reads has a new texture; its values become the next
// instance and its draw (same primitive, start and count) is taken. Number
// parameters that keep the run's first value stay uniforms; the others get
// a column of per-instance values from the draw where they first change. Anything
// else (another draw, a state or binding change, a buffer upload, another
// effect's pass, CommitChanges, End, Present, ...) flushes the run first:
// its draws are issued, and the pass's program is left holding the values
// of the run's last BeginPass, as if nothing had been held back.
#pragma once

#include <d3d9.h>
#include "gl_api.h"

#include "alpha_test.h"
#include "effect_file.h"
#include "gl_shader.h"
#include "parameter_store.h"

#include <cstddef>
#include <vector>

struct GlProgram;

class InstanceBatch {
public:
    // Draws per instanced draw; a longer run is drawn in several. Also the
    // instance texture's width (gl_shader.h).
    static constexpr std::size_t kCapacity = kInstanceRowTexels;
    // The texture unit the instance texture is read through, above the 16
    // sampler stages and the upload unit.
    static constexpr GLenum kInstanceUnit = GL_TEXTURE0 + 17;

    // For one effect's parameters, with room for every number parameter's
    // values: in a buffer texture, or on ES (which has none) in a 2D one.
    // Needs the effect's GL context current.
    InstanceBatch(const std::vector<ParameterDesc>& parameters, bool es);
    ~InstanceBatch();
    InstanceBatch(const InstanceBatch&) = delete;
    InstanceBatch& operator=(const InstanceBatch&) = delete;

    // After the pass was applied the ordinary way: a run starts from the
    // values the store holds. instanced is the program's instanced twin.
    void Start(std::size_t technique, std::size_t pass, const ParameterStore& store,
               const GlProgram* program, const GlProgram* instanced);
    // At BeginPass: true when the pass continues the run (its values are
    // recorded and nothing is applied); false when the run must be flushed.
    bool Continue(std::size_t technique, std::size_t pass, const ParameterStore& store);
    // Whether DrawPrimitive with these arguments is taken into the run.
    bool Accepts(D3DPRIMITIVETYPE type, UINT startVertex, UINT vertexCount) const;
    bool Empty() const { return drawn_ == 0; }
    // Takes an accepted draw. The first one also fixes the alpha test the
    // run is drawn with (the device's state then; any change flushes).
    void Take(D3DPRIMITIVETYPE type, UINT startVertex, UINT vertexCount,
              const AlphaTestBounds& alphaTest);
    // Issues the run's draws and ends the run. Returns the GL draws made.
    unsigned Flush();

private:
    enum class Phase { Idle, AwaitingDraw, Drawn };

    float* Slot(std::size_t parameter, std::size_t instance) {
        return &staging_[(std::size_t(column_[parameter]) + instance * texels_[parameter]) * 4];
    }
    void Record(std::size_t parameter, std::size_t instance, const float* values);
    bool Varies(std::size_t parameter, const ParameterStore& store) const;
    void UploadInstanced();

    const std::vector<ParameterDesc>& parameters_;
    bool es_;
    std::vector<std::size_t> texels_;  // per parameter: texels a value takes; 0 for a sampler
    std::vector<GLint> column_;        // per parameter: its first texel this run, or -1
    std::vector<float> base_;          // the run's first values, 16 floats per parameter
    std::vector<IDirect3DBaseTexture9*> baseTextures_;
    std::vector<float> staging_;  // kCapacity x every instanceable parameter's texels
    std::size_t usedTexels_ = 0;
    // RGBA32F texels, in staging_'s order: a buffer texture over buffer_, or
    // on ES a 2D texture kCapacity texels wide, a row per texel of a value.
    GLuint buffer_ = 0;
    GLuint texture_ = 0;

    Phase phase_ = Phase::Idle;
    std::size_t technique_ = 0;
    std::size_t pass_ = 0;
    const GlProgram* program_ = nullptr;
    const GlProgram* instanced_ = nullptr;
    std::size_t drawn_ = 0;   // instances with their draw
    std::size_t latest_ = 0;  // the instance of the latest BeginPass
    D3DPRIMITIVETYPE type_ = D3DPT_TRIANGLELIST;
    UINT startVertex_ = 0;
    UINT vertexCount_ = 0;
    AlphaTestBounds alphaTest_{};
};
