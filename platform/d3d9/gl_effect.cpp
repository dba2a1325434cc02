// Building an effect's GL programs, applying passes and uploading values.
#include "gl_effect.h"

#include "gl_counters.h"
#include "gl_shader.h"

#include <algorithm>

GlEffect::GlEffect(GlDevice* device, EffectFile file, DWORD flags)
    : Effect(device, std::move(file), flags), device_(device) {
    const EffectFile& parsed = File();
    std::size_t renderStates = 0;
    std::size_t samplerStates = 0;
    for (const TechniqueDesc& technique : parsed.techniques) {
        for (const PassDesc& pass : technique.passes) {
            renderStates += pass.renderStates.size();
        }
    }
    for (std::size_t p = 0; p < parsed.parameters.size(); ++p) {
        if (parsed.parameters[p].type == ParameterType::Sampler2D) {
            samplers_.push_back(p);
            samplerStates += parsed.parameters[p].samplerStates.size();
        }
    }
    savedRenderStates_.reserve(renderStates);
    savedSamplerStates_.reserve(samplerStates);
    savedTextures_.reserve(samplers_.size());
}

GlEffect::~GlEffect() {
    device_->MakeCurrent();
    device_->FlushDraws();
    batch_.reset();
    for (auto& [stage, texture] : savedTextures_) {
        if (texture != nullptr) {
            texture->Release();
        }
    }
    for (const GlProgram& program : programs_) {
        glDeleteProgram(program.name);
    }
}

HRESULT GlEffect::Create(GlDevice* device, EffectFile file, const D3DXMACRO* defines, DWORD flags,
                         Effect** effect, std::string* errors) {
    GlEffect* created = new GlEffect(device, std::move(file), flags);
    const HRESULT result = created->Build(defines, errors);
    if (FAILED(result)) {
        created->Release();
        return result;
    }
    *effect = created;
    return D3D_OK;
}

HRESULT GlEffect::Build(const D3DXMACRO* defines, std::string* errors) {
    const EffectFile& file = File();
    device_->MakeCurrent();
    device_->FlushDraws();
    // Every stage is compiled, used or not, so each error shows at once.
    // A fragment stage with one output is compiled a second time with the
    // alpha test after its main.
    std::vector<GLuint> shaders(file.stages.size(), 0);
    std::vector<GLuint> alphaShaders(file.stages.size(), 0);
    std::string messages;
    for (std::size_t s = 0; s < file.stages.size(); ++s) {
        const StageDesc& stage = file.stages[s];
        std::string log;
        shaders[s] = CompileShader(stage.fragment ? GL_FRAGMENT_SHADER : GL_VERTEX_SHADER,
                                   StageSource(file, s, defines, device_->Target(), false), &log);
        if (shaders[s] == 0) {
            AppendCompilerLog(file.path, log, &messages);
        } else if (stage.fragment && !stage.output.empty()) {
            alphaShaders[s] = CompileShader(
                GL_FRAGMENT_SHADER, StageSource(file, s, defines, device_->Target(), true), &log);
            if (alphaShaders[s] == 0) {
                AppendCompilerLog(file.path, log, &messages);
            }
        }
    }
    HRESULT result = messages.empty() ? D3D_OK : E_FAIL;
    for (std::size_t t = 0; t < file.techniques.size() && SUCCEEDED(result); ++t) {
        passPrograms_.emplace_back();
        for (std::size_t p = 0; p < file.techniques[t].passes.size() && SUCCEEDED(result); ++p) {
            result = BuildProgram(t, p, shaders, alphaShaders, &messages);
        }
    }
    for (const std::vector<GLuint>* compiled : {&shaders, &alphaShaders}) {
        for (GLuint shader : *compiled) {
            if (shader != 0) {
                glDeleteShader(shader);
            }
        }
    }
    if (SUCCEEDED(result) && device_->Batching()) {
        BuildInstancedPrograms(defines);
    }
    device_->RebindProgram();
    *errors = messages;
    return result;
}

HRESULT GlEffect::BuildProgram(std::size_t technique, std::size_t pass,
                               const std::vector<GLuint>& shaders,
                               const std::vector<GLuint>& alphaShaders, std::string* errors) {
    const EffectFile& file = File();
    const PassDesc& desc = file.techniques[technique].passes[pass];
    for (std::size_t i = 0; i < programs_.size(); ++i) {
        if (!programs_[i].alphaTested && programs_[i].vertexStage == desc.vertexStage &&
            programs_[i].fragmentStage == desc.fragmentStage) {
            passPrograms_[technique].push_back(i);
            return D3D_OK;
        }
    }
    std::string log;
    const GLuint plain = LinkProgram(shaders[desc.vertexStage], shaders[desc.fragmentStage], &log);
    const GLuint alphaShader = alphaShaders[desc.fragmentStage];
    const GLuint tested = plain != 0 && alphaShader != 0
                              ? LinkProgram(shaders[desc.vertexStage], alphaShader, &log)
                              : 0;
    if (plain == 0 || (alphaShader != 0 && tested == 0)) {
        glDeleteProgram(plain);
        *errors += file.path + "(" + std::to_string(desc.line) + "): error: pass " +
                   (desc.name.empty() ? std::to_string(pass) : "'" + desc.name + "'") +
                   " of technique '" + file.techniques[technique].name + "' does not link: " + log +
                   "\n";
        return E_FAIL;
    }
    passPrograms_[technique].push_back(programs_.size());
    programs_.push_back(NewProgram(plain, desc));
    if (tested != 0) {
        GlProgram twin = NewProgram(tested, desc);
        twin.alphaTested = true;
        twin.alphaTwin = int(programs_.size() - 1);
        programs_.back().alphaTwin = int(programs_.size());
        programs_.push_back(std::move(twin));
    }
    return D3D_OK;
}

GlProgram GlEffect::NewProgram(GLuint name, const PassDesc& desc) {
    GlProgram program;
    program.owner = this;
    program.name = name;
    program.vertexStage = desc.vertexStage;
    program.fragmentStage = desc.fragmentStage;
    glUseProgram(name);
    for (const ParameterDesc& parameter : File().parameters) {
        const GLint location = glGetUniformLocation(name, parameter.name.c_str());
        program.locations.push_back(location);
        if (parameter.type == ParameterType::Sampler2D && location >= 0) {
            glUniform1i(location, GLint(parameter.stage));
        }
    }
    FindAlphaTestUniforms(program);
    return program;
}

void GlEffect::BuildInstancedPrograms(const D3DXMACRO* defines) {
    const EffectFile& file = File();
    const std::size_t programs = programs_.size();
    for (std::size_t i = 0; i < programs; ++i) {
        // A pass's program and its alpha-tested twin share one instanced
        // program, which always has the test.
        if (programs_[i].alphaTested) {
            continue;
        }
        const std::vector<bool> passedOn = FragmentStageNames(file, programs_[i].fragmentStage);
        std::string log;
        const GLuint vertex =
            CompileShader(GL_VERTEX_SHADER,
                          InstancedVertexSource(file, programs_[i].vertexStage, defines,
                                                device_->Target(), passedOn),
                          &log);
        const GLuint fragment =
            CompileShader(GL_FRAGMENT_SHADER,
                          InstancedFragmentSource(file, programs_[i].fragmentStage, defines,
                                                  device_->Target(), passedOn),
                          &log);
        const GLuint name = vertex != 0 && fragment != 0 ? LinkProgram(vertex, fragment, &log) : 0;
        glDeleteShader(vertex);
        glDeleteShader(fragment);
        if (name == 0) {
            continue;
        }
        GlProgram program;
        program.owner = this;
        program.name = name;
        program.vertexStage = programs_[i].vertexStage;
        program.fragmentStage = programs_[i].fragmentStage;
        glUseProgram(name);
        for (const ParameterDesc& parameter : file.parameters) {
            const bool number = parameter.type != ParameterType::Sampler2D;
            const std::string uniform = number ? "hush_Uniform_" + parameter.name : parameter.name;
            const GLint location = glGetUniformLocation(name, uniform.c_str());
            program.locations.push_back(location);
            program.columns.push_back(
                number ? glGetUniformLocation(name, ("hush_Column_" + parameter.name).c_str())
                       : -1);
            if (!number && location >= 0) {
                glUniform1i(location, GLint(parameter.stage));
            }
        }
        glUniform1i(glGetUniformLocation(name, "hush_Instances"),
                    GLint(InstanceBatch::kInstanceUnit - GL_TEXTURE0));
        FindAlphaTestUniforms(program);
        programs_[i].instanced = int(programs_.size());
        if (programs_[i].alphaTwin >= 0) {
            programs_[std::size_t(programs_[i].alphaTwin)].instanced = int(programs_.size());
        }
        programs_.push_back(std::move(program));
    }
    if (programs_.size() > programs) {
        batch_ = std::make_unique<InstanceBatch>(file.parameters, device_->IsEs());
    }
}

const GlProgram& GlEffect::ProgramOf(std::size_t technique, std::size_t pass) const {
    return programs_[passPrograms_[technique][pass]];
}

void GlEffect::BeginTechnique(std::size_t technique, DWORD flags) {
    if ((flags & D3DXFX_DONOTSAVESTATE) != 0) {
        return;
    }
    const EffectFile& file = File();
    for (const PassDesc& pass : file.techniques[technique].passes) {
        for (const auto& setting : pass.renderStates) {
            const D3DRENDERSTATETYPE state = setting.first;
            const bool saved = std::any_of(savedRenderStates_.begin(), savedRenderStates_.end(),
                                           [state](const auto& s) { return s.first == state; });
            if (!saved) {
                DWORD current = 0;
                device_->GetRenderState(state, &current);
                savedRenderStates_.emplace_back(state, current);
            }
        }
    }
    for (std::size_t p : samplers_) {
        const ParameterDesc& sampler = file.parameters[p];
        if ((flags & D3DXFX_DONOTSAVESAMPLERSTATE) == 0) {
            for (const auto& [type, value] : sampler.samplerStates) {
                DWORD current = 0;
                device_->GetSamplerState(sampler.stage, type, &current);
                savedSamplerStates_.emplace_back(sampler.stage, type, current);
            }
        }
        IDirect3DBaseTexture9* texture = nullptr;
        device_->GetTexture(sampler.stage, &texture);
        savedTextures_.emplace_back(sampler.stage, texture);
    }
}

void GlEffect::EndTechnique(std::size_t /*technique*/) {
    GlTimeScope timed;
    device_->FlushDraws();
    for (const auto& [state, value] : savedRenderStates_) {
        device_->SetRenderState(state, value);
    }
    for (const auto& [stage, type, value] : savedSamplerStates_) {
        device_->SetSamplerState(stage, type, value);
    }
    // Restored last to first, so a stage saved twice ends as it began.
    for (auto it = savedTextures_.rbegin(); it != savedTextures_.rend(); ++it) {
        device_->SetTexture(it->first, it->second);
        if (it->second != nullptr) {
            it->second->Release();
        }
    }
    savedRenderStates_.clear();
    savedSamplerStates_.clear();
    savedTextures_.clear();
}

void GlEffect::ApplyPass(std::size_t technique, std::size_t pass) {
    if (batch_ != nullptr && device_->IsOpenBatch(batch_.get()) &&
        batch_->Continue(technique, pass, Parameters())) {
        return;
    }
    GlTimeScope timed;
    device_->FlushDraws();
    const EffectFile& file = File();
    for (const auto& [state, value] : file.techniques[technique].passes[pass].renderStates) {
        device_->SetRenderState(state, value);
    }
    for (std::size_t p : samplers_) {
        const ParameterDesc& sampler = file.parameters[p];
        for (const auto& [type, value] : sampler.samplerStates) {
            device_->SetSamplerState(sampler.stage, type, value);
        }
        if (IDirect3DBaseTexture9* texture = Parameters().Texture(p)) {
            device_->SetTexture(sampler.stage, texture);
        }
    }
    const GlProgram& program = ForAlphaTest(ProgramOf(technique, pass));
    UseWithEveryValue(program);
    if (program.instanced >= 0) {
        batch_->Start(technique, pass, Parameters(), &program,
                      &programs_[std::size_t(program.instanced)]);
        device_->OpenBatch(batch_.get());
    }
}

void GlEffect::CommitPass(std::size_t technique, std::size_t pass) {
    GlTimeScope timed;
    device_->FlushDraws();
    const EffectFile& file = File();
    const GlProgram& program = ForAlphaTest(ProgramOf(technique, pass));
    // The alpha test turned on or off since the pass began: its twin takes
    // every value.
    const bool switched = !device_->IsCurrentProgram(&program);
    device_->UseProgram(&program);
    for (std::size_t p = 0; p < file.parameters.size(); ++p) {
        if (!switched && !Parameters().Changed(p)) {
            continue;
        }
        if (file.parameters[p].type != ParameterType::Sampler2D) {
            Upload(program, p);
        } else if (IDirect3DBaseTexture9* texture = Parameters().Texture(p)) {
            device_->SetTexture(file.parameters[p].stage, texture);
        }
    }
}

const GlProgram& GlEffect::ForAlphaTest(const GlProgram& program) const {
    const bool on = device_->AlphaTest().on;
    return program.alphaTwin >= 0 && program.alphaTested != on
               ? programs_[std::size_t(program.alphaTwin)]
               : program;
}

void GlEffect::UseAlphaTwin(const GlProgram& program) {
    UseWithEveryValue(programs_[std::size_t(program.alphaTwin)]);
}

void GlEffect::UseWithEveryValue(const GlProgram& program) {
    device_->UseProgram(&program);
    for (std::size_t p = 0; p < File().parameters.size(); ++p) {
        Upload(program, p);
    }
}

// Matrices go up transposed: the GLSL mat4 then equals the D3DX matrix, so
// "v * M" in GLSL is D3DX's row vector times M.
void GlEffect::Upload(const GlProgram& program, std::size_t parameter) {
    UploadUniform(program.locations[parameter], File().parameters[parameter].type,
                  Parameters().Values(parameter), GL_TRUE);
}
