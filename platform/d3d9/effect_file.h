// An effect file parsed: its parameters (the top-level uniforms), techniques
// with their passes, and the GLSL stage blocks. Both backends build effects
// from it; docs/effects.md describes the format.
#pragma once

#include <d3d9.h>

#include <array>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

enum class ParameterType { Float, Vec2, Vec3, Vec4, Mat4, Sampler2D };

// Floats a parameter of the type holds (0 for a sampler).
std::size_t FloatCount(ParameterType type);

struct ParameterDesc {
    std::string name;
    ParameterType type = ParameterType::Float;
    // The initial value; a mat4 is stored in the D3DX layout (row-major).
    std::array<float, 16> initial{};
    // Samplers: the texture stage they read, and the sampler states their
    // sampler_state block sets on that stage.
    UINT stage = 0;
    std::vector<std::pair<D3DSAMPLERSTATETYPE, DWORD>> samplerStates;
    // Offsets into the text of the declaration it stands in, from the
    // "uniform" keyword to the ';' (shared by "uniform float a, b;").
    std::size_t declarationBegin = 0, declarationEnd = 0;
};

struct PassDesc {
    std::string name;
    int line = 0;
    std::vector<std::pair<D3DRENDERSTATETYPE, DWORD>> renderStates;
    std::size_t vertexStage = 0;    // index into EffectFile::stages
    std::size_t fragmentStage = 0;  // index into EffectFile::stages
};

struct TechniqueDesc {
    std::string name;
    std::vector<PassDesc> passes;
};

struct StageDesc {
    std::string name;
    bool fragment = false;
    int line = 0;
    // Fragment stages: the one vec4 output the stage declares, or "" (then
    // the alpha test cannot be applied to it).
    std::string output;
    // Offsets into the text: the keyword, the body's first character, the
    // closing brace and the end of the block.
    std::size_t blockBegin = 0, bodyBegin = 0, bodyEnd = 0, blockEnd = 0;
};

struct EffectFile {
    std::string path;      // as the caller named it
    std::string baseName;  // the part after the last '\' or '/'
    std::string text;
    std::vector<ParameterDesc> parameters;
    std::vector<TechniqueDesc> techniques;
    std::vector<StageDesc> stages;
    // Text that no stage's GLSL sees: technique and sampler_state blocks and
    // uniform initialisers.
    std::vector<std::pair<std::size_t, std::size_t>> hiddenRanges;

    // The GLSL of one stage: the file's text with every other stage block,
    // this block's own braces and the hidden ranges turned into spaces, so
    // line numbers stay those of the file.
    std::string StageText(std::size_t stage) const;
};

// Parses text read from path. On failure returns false and sets error to
// "<path>(<line>): error: <message>".
bool ParseEffectFile(const std::string& path, std::string text, EffectFile* file,
                     std::string* error);
