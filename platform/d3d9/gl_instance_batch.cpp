// The run of held-back draws: recording each draw's values, and drawing the
// run instanced.
#include "gl_instance_batch.h"

#include "gl_desktop_calls.h"
#include "gl_device.h"
#include "gl_shader.h"
#include "gl_state.h"

#include <algorithm>
#include <cstring>

InstanceBatch::InstanceBatch(const std::vector<ParameterDesc>& parameters, bool es)
    : parameters_(parameters),
      es_(es),
      texels_(parameters.size(), 0),
      column_(parameters.size(), -1),
      base_(parameters.size() * 16, 0.0f),
      baseTextures_(parameters.size(), nullptr) {
    std::size_t texels = 0;
    for (std::size_t p = 0; p < parameters.size(); ++p) {
        if (parameters[p].type != ParameterType::Sampler2D) {
            texels_[p] = InstanceTexels(parameters[p].type);
            texels += texels_[p];
        }
    }
    staging_.assign(texels * kCapacity * 4, 0.0f);
    if (!es_) {
        DesktopMakeBufferTexture(kInstanceUnit, staging_.size() * sizeof(float), &buffer_,
                                 &texture_);
        return;
    }
    if (texels == 0) {
        return;
    }
    // Each parameter's values start a row: kCapacity texels a row, so a
    // value of t texels takes t rows of a full run.
    glGenTextures(1, &texture_);
    glActiveTexture(kInstanceUnit);
    glBindTexture(GL_TEXTURE_2D, texture_);
    glTexStorage2D(GL_TEXTURE_2D, 1, GL_RGBA32F, GLsizei(kCapacity), GLsizei(texels));
    // texelFetch needs a complete texture, and float textures filter only
    // by the nearest texel on ES.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
}

InstanceBatch::~InstanceBatch() {
    if (texture_ != 0) {
        glDeleteTextures(1, &texture_);
    }
    if (buffer_ != 0) {
        glDeleteBuffers(1, &buffer_);
    }
}

void InstanceBatch::Start(std::size_t technique, std::size_t pass, const ParameterStore& store,
                          const GlProgram* program, const GlProgram* instanced) {
    technique_ = technique;
    pass_ = pass;
    program_ = program;
    instanced_ = instanced;
    for (std::size_t p = 0; p < parameters_.size(); ++p) {
        std::memcpy(&base_[p * 16], store.Values(p), 16 * sizeof(float));
        baseTextures_[p] = store.Texture(p);
        column_[p] = -1;
    }
    usedTexels_ = 0;
    drawn_ = 0;
    latest_ = 0;
    phase_ = Phase::AwaitingDraw;
}

// Matrices go in as their four columns, so that the texels read back as the
// GLSL mat4 that equals the D3DX matrix.
void InstanceBatch::Record(std::size_t parameter, std::size_t instance, const float* values) {
    float* slot = Slot(parameter, instance);
    if (parameters_[parameter].type == ParameterType::Mat4) {
        for (int column = 0; column < 4; ++column) {
            for (int row = 0; row < 4; ++row) {
                slot[column * 4 + row] = values[row * 4 + column];
            }
        }
    } else {
        std::memcpy(slot, values, FloatCount(parameters_[parameter].type) * sizeof(float));
    }
}

// A parameter set since the last BeginPass to a value other than the run's
// first, which the pass's program reads.
bool InstanceBatch::Varies(std::size_t parameter, const ParameterStore& store) const {
    if (!store.Changed(parameter) || program_->locations[parameter] < 0) {
        return false;
    }
    const std::size_t count = FloatCount(parameters_[parameter].type);
    if (count == 0) {
        return store.Texture(parameter) != baseTextures_[parameter];
    }
    return std::memcmp(store.Values(parameter), &base_[parameter * 16], count * sizeof(float)) != 0;
}

bool InstanceBatch::Continue(std::size_t technique, std::size_t pass, const ParameterStore& store) {
    if (phase_ != Phase::Drawn || technique != technique_ || pass != pass_ || drawn_ == kCapacity) {
        return false;
    }
    // Checked before anything is recorded, so a refusal leaves the run whole.
    for (std::size_t p = 0; p < parameters_.size(); ++p) {
        if (column_[p] < 0 && Varies(p, store) && instanced_->columns[p] < 0) {
            return false;
        }
    }
    for (std::size_t p = 0; p < parameters_.size(); ++p) {
        if (column_[p] < 0 && Varies(p, store)) {
            // From here on the parameter takes a value per instance; the
            // draws so far had the run's first value.
            column_[p] = GLint(usedTexels_ * kCapacity);
            usedTexels_ += texels_[p];
            for (std::size_t instance = 0; instance < drawn_; ++instance) {
                Record(p, instance, &base_[p * 16]);
            }
        }
        if (column_[p] >= 0) {
            Record(p, drawn_, store.Values(p));
        }
    }
    latest_ = drawn_;
    phase_ = Phase::AwaitingDraw;
    return true;
}

bool InstanceBatch::Accepts(D3DPRIMITIVETYPE type, UINT startVertex, UINT vertexCount) const {
    return phase_ == Phase::AwaitingDraw &&
           (drawn_ == 0 ||
            (type == type_ && startVertex == startVertex_ && vertexCount == vertexCount_));
}

void InstanceBatch::Take(D3DPRIMITIVETYPE type, UINT startVertex, UINT vertexCount,
                         const AlphaTestBounds& alphaTest) {
    if (drawn_ == 0) {
        type_ = type;
        startVertex_ = startVertex;
        vertexCount_ = vertexCount;
        alphaTest_ = alphaTest;
    }
    ++drawn_;
    phase_ = Phase::Drawn;
}

// The instanced program gets the run's first values, where each varying
// parameter's column starts, the alpha test and the instance texture.
void InstanceBatch::UploadInstanced() {
    glUseProgram(instanced_->name);
    for (std::size_t p = 0; p < parameters_.size(); ++p) {
        UploadUniform(instanced_->locations[p], parameters_[p].type, &base_[p * 16], GL_TRUE);
        if (instanced_->columns[p] >= 0) {
            glUniform1i(instanced_->columns[p], column_[p]);
        }
    }
    UploadAlphaTest(*instanced_, alphaTest_);
    if (!es_) {
        DesktopRenewBufferTexture(kInstanceUnit, buffer_, texture_,
                                  staging_.size() * sizeof(float));
        for (std::size_t p = 0; p < parameters_.size(); ++p) {
            if (column_[p] >= 0) {
                DesktopWriteBufferTexture(std::size_t(column_[p]) * 16, drawn_ * texels_[p] * 16,
                                          Slot(p, 0));
            }
        }
        return;
    }
    // A texture the GPU may still read from: the driver copies or waits,
    // which costs more than the buffer texture's fresh storage.
    glActiveTexture(kInstanceUnit);
    glBindTexture(GL_TEXTURE_2D, texture_);
    for (std::size_t p = 0; p < parameters_.size(); ++p) {
        if (column_[p] >= 0) {
            const std::size_t rows = (drawn_ * texels_[p] + kCapacity - 1) / kCapacity;
            glTexSubImage2D(GL_TEXTURE_2D, 0, 0, GLint(std::size_t(column_[p]) / kCapacity),
                            GLsizei(kCapacity), GLsizei(rows), GL_RGBA, GL_FLOAT, Slot(p, 0));
        }
    }
}

unsigned InstanceBatch::Flush() {
    unsigned draws = 0;
    if (drawn_ == 1) {
        // One draw: the program holds its values already.
        glDrawArrays(GlPrimitive(type_), GLint(startVertex_), GLsizei(vertexCount_));
        draws = 1;
    } else if (drawn_ > 1) {
        UploadInstanced();
        glDrawArraysInstanced(GlPrimitive(type_), GLint(startVertex_), GLsizei(vertexCount_),
                              GLsizei(drawn_));
        glUseProgram(program_->name);
        draws = 1;
    }
    // The pass's program ends with the latest BeginPass's values, as when
    // each pass uploads its own.
    for (std::size_t p = 0; p < parameters_.size(); ++p) {
        if (column_[p] >= 0) {
            UploadUniform(program_->locations[p], parameters_[p].type, Slot(p, latest_), GL_FALSE);
        }
    }
    phase_ = Phase::Idle;
    return draws;
}
