// GLSL stages built from an effect file: the source we hand the compiler,
// compiling and linking, and compiler messages turned into file lines.
#pragma once

#include <d3dx9.h>
#include "gl_api.h"

#include "effect_file.h"

#include <string>
#include <vector>

// What the stages are built for. Effect files hold GLSL 3.30 in the subset
// that GLSL ES 3.00 shares; for ES the preamble says "#version 300 es" with
// high precision for every type, and a vertex stage's D3DCOLOR input (the
// vec4 or vec3 at ATTR_COLOR) becomes a global that its main fills from the
// input's bytes in B, G, R, A order, as ES has no GL_BGRA attributes.
struct ShaderTarget {
    bool es = false;
    // Clip z moved from [0, 1] to GL's [-1, 1] when there is no clip control.
    bool rewriteClipZ = false;
};

// The source of one stage: the version and precision, the attribute
// location names (ATTR_POSITION ...), the caller's macros, then the stage's
// text with "#line 1" so messages name file lines. A fragment stage with one
// vec4 output gets the alpha test after its main when withAlphaTest is set;
// a vertex stage gets its colour input and clip z fixed as the target needs.
std::string StageSource(const EffectFile& file, std::size_t stage, const D3DXMACRO* defines,
                        const ShaderTarget& target, bool withAlphaTest);

// Texels (four floats each) that one value of the type takes in an
// instance buffer: four for a matrix (its columns), one otherwise.
std::size_t InstanceTexels(ParameterType type);

// Per parameter: whether the fragment stage's code names it (comments and
// parameter declarations aside).
std::vector<bool> FragmentStageNames(const EffectFile& file, std::size_t fragmentStage);

// The instanced variants of a pass's stages, in which every number
// parameter can take a value per instance. In the vertex stage they are
// plain globals that its main fills before the stage's own main runs: from
// "hush_Uniform_<name>" when "hush_Column_<name>" is negative, else from
// texel i = column + gl_InstanceID x texels of the RGBA32F texture
// "hush_Instances" (a matrix as its four columns): a buffer texture, or on ES
// a 2D texture of kInstanceRowTexels texels a row. Those marked passedOn
// reach the fragment stage as flat outputs "hush_Flat_<name>", which its
// variant copies into globals of the parameters' names.
std::string InstancedVertexSource(const EffectFile& file, std::size_t stage,
                                  const D3DXMACRO* defines, const ShaderTarget& target,
                                  const std::vector<bool>& passedOn);
std::string InstancedFragmentSource(const EffectFile& file, std::size_t stage,
                                    const D3DXMACRO* defines, const ShaderTarget& target,
                                    const std::vector<bool>& passedOn);

// Texels in one row of the instance texture.
constexpr int kInstanceRowTexels = 1024;

// Uploads one parameter value to the current program (nothing for a
// sampler or a location of -1). A matrix is 16 floats, read as rows when
// transpose is GL_TRUE.
void UploadUniform(GLint location, ParameterType type, const float* values, GLboolean transpose);

// 0 on failure, with the compiler's or linker's log.
GLuint CompileShader(GLenum kind, const std::string& source, std::string* log);
GLuint LinkProgram(GLuint vertex, GLuint fragment, std::string* log);

// Appends each message of a GLSL compiler log to out as
// "<path>(<line>): <message>\n" (Mesa's, NVIDIA's and AMD's formats; other
// lines as "<path>: <line>"), skipping messages out already holds: shared
// code is compiled into every stage.
void AppendCompilerLog(const std::string& path, const std::string& log, std::string* out);
