// Stage sources, compilation and the compiler log's line mapping.
#include "gl_shader.h"

#include <algorithm>
#include <cstring>
#include <regex>
#include <sstream>
#include <vector>

namespace {

constexpr const char* kVersion = "#version 330 core\n";
// ES leaves floats in fragment stages and samplers without a default
// precision (or a low one); the desktop's is high everywhere.
constexpr const char* kEsVersion =
    "#version 300 es\n"
    "precision highp float;\n"
    "precision highp int;\n"
    "precision highp sampler2D;\n";
constexpr const char* kAttributeLocations =
    "#define ATTR_POSITION 0\n"
    "#define ATTR_NORMAL 1\n"
    "#define ATTR_COLOR 2\n"
    "#define ATTR_TEXCOORD0 3\n"
    "#define ATTR_TANGENT 4\n"
    "#define ATTR_TEXCOORD1 5\n";

// The stage's own main runs after prelude; then the fixed-function work
// that Direct3D does after the pixel shader: the alpha test, as an interval
// of the output alpha (alpha_test.h).
std::string AlphaTestEpilogue(const std::string& output, const std::string& prelude) {
    return "\n#undef main\n"
           "uniform bool hush_AlphaTestOn;\n"
           "uniform float hush_AlphaLow;\n"
           "uniform float hush_AlphaHigh;\n"
           "uniform bool hush_AlphaKeepOutside;\n"
           "void main() {\n" +
           prelude +
           "    hush_user_main();\n"
           "    float alpha = clamp(" +
           output +
           ".a, 0.0, 1.0) * 255.0 + 0.5;\n"
           "    bool inside = alpha >= hush_AlphaLow && alpha < hush_AlphaHigh;\n"
           "    if (hush_AlphaTestOn && inside == hush_AlphaKeepOutside) discard;\n"
           "}\n";
}

constexpr const char* kClipZRewrite = "    gl_Position.z = 2.0 * gl_Position.z - gl_Position.w;\n";

// The version, the locations, the macros, then the stage's text with
// "#line 1"; with an epilogue, the stage's main is renamed for the
// epilogue's main to call.
std::string Assemble(const std::string& text, const D3DXMACRO* defines, const ShaderTarget& target,
                     const std::string& epilogue) {
    std::string source = target.es ? kEsVersion : kVersion;
    source += kAttributeLocations;
    for (const D3DXMACRO* macro = defines; macro != nullptr && macro->Name != nullptr; ++macro) {
        source += std::string("#define ") + macro->Name + " " +
                  (macro->Definition != nullptr ? macro->Definition : "") + "\n";
    }
    if (!epilogue.empty()) {
        source += "#define main hush_user_main\n";
    }
    source += "#line 1\n";
    source += text;
    source += epilogue;
    return source;
}

// On ES, the colour input declared in text is renamed "hush_Bgra_<name>"
// and <name> becomes a global; returns the statement that fills it, or ""
// when there is nothing to fix. The declaration keeps its lines.
std::string SwapColourInput(const ShaderTarget& target, std::string* text) {
    if (!target.es) {
        return "";
    }
    static const std::regex kColourInput(
        R"(layout\s*\(\s*location\s*=\s*ATTR_COLOR\s*\)\s*in\s+(vec[34])\s+(\w+)\s*;)");
    std::smatch match;
    if (!std::regex_search(*text, match, kColourInput)) {
        return "";
    }
    const std::string type = match[1].str();
    const std::string name = match[2].str();
    const std::string swizzle = type == "vec4" ? ".bgra" : ".bgr";
    const std::string declaration = match.str();
    std::string replacement = "layout(location = ATTR_COLOR) in " + type + " hush_Bgra_" + name +
                              "; " + type + " " + name + ";";
    replacement.append(std::size_t(std::count(declaration.begin(), declaration.end(), '\n')), '\n');
    text->replace(std::size_t(match.position(0)), declaration.size(), replacement);
    return "    " + name + " = hush_Bgra_" + name + swizzle + ";\n";
}

// The vertex stage's main: the loads, the stage's own main, then clip z.
std::string VertexEpilogue(const ShaderTarget& target, const std::string& loads) {
    if (loads.empty() && !target.rewriteClipZ) {
        return "";
    }
    return "\n#undef main\nvoid main() {\n" + loads + "    hush_user_main();\n" +
           (target.rewriteClipZ ? kClipZRewrite : "") + "}\n";
}

const char* GlslType(ParameterType type) {
    switch (type) {
        case ParameterType::Float:
            return "float";
        case ParameterType::Vec2:
            return "vec2";
        case ParameterType::Vec3:
            return "vec3";
        case ParameterType::Vec4:
            return "vec4";
        case ParameterType::Mat4:
            return "mat4";
        case ParameterType::Sampler2D:
            break;
    }
    return "sampler2D";
}

// GLSL that reads one value of the type from texel i of the instance texture.
std::string InstanceFetch(ParameterType type) {
    switch (type) {
        case ParameterType::Float:
            return "hush_Instance(i).x";
        case ParameterType::Vec2:
            return "hush_Instance(i).xy";
        case ParameterType::Vec3:
            return "hush_Instance(i).xyz";
        case ParameterType::Mat4:
            return "mat4(hush_Instance(i), hush_Instance(i + 1), hush_Instance(i + 2), "
                   "hush_Instance(i + 3))";
        default:
            return "hush_Instance(i)";
    }
}

bool IsIdentifierChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

bool InsideDeclaration(const EffectFile& file, std::size_t offset) {
    for (const ParameterDesc& parameter : file.parameters) {
        if (offset >= parameter.declarationBegin && offset < parameter.declarationEnd) {
            return true;
        }
    }
    return false;
}

// Whether text names the identifier outside comments and parameter
// declarations.
bool Names(const EffectFile& file, const std::string& text, const std::string& name) {
    std::size_t i = 0;
    while (i < text.size()) {
        if (text.compare(i, 2, "//") == 0) {
            i = text.find('\n', i);
            i = i == std::string::npos ? text.size() : i;
        } else if (text.compare(i, 2, "/*") == 0) {
            i = text.find("*/", i + 2);
            i = i == std::string::npos ? text.size() : i + 2;
        } else if (IsIdentifierChar(text[i])) {
            std::size_t end = i;
            while (end < text.size() && IsIdentifierChar(text[end])) {
                ++end;
            }
            if (text.compare(i, end - i, name) == 0 && end - i == name.size() &&
                !InsideDeclaration(file, i)) {
                return true;
            }
            i = end;
        } else {
            ++i;
        }
    }
    return false;
}

}  // namespace

std::string StageSource(const EffectFile& file, std::size_t stage, const D3DXMACRO* defines,
                        const ShaderTarget& target, bool withAlphaTest) {
    const StageDesc& desc = file.stages[stage];
    std::string text = file.StageText(stage);
    std::string epilogue;
    if (desc.fragment && !desc.output.empty() && withAlphaTest) {
        epilogue = AlphaTestEpilogue(desc.output, "");
    } else if (!desc.fragment) {
        epilogue = VertexEpilogue(target, SwapColourInput(target, &text));
    }
    return Assemble(text, defines, target, epilogue);
}

std::size_t InstanceTexels(ParameterType type) {
    return type == ParameterType::Mat4 ? 4 : 1;
}

std::vector<bool> FragmentStageNames(const EffectFile& file, std::size_t fragmentStage) {
    const std::string text = file.StageText(fragmentStage);
    std::vector<bool> named(file.parameters.size());
    for (std::size_t p = 0; p < named.size(); ++p) {
        named[p] = Names(file, text, file.parameters[p].name);
    }
    return named;
}

namespace {

// Without its "uniform" the parameter is a plain global of the stage.
void DropUniformKeyword(const ParameterDesc& parameter, std::string* text) {
    text->replace(parameter.declarationBegin, std::strlen("uniform"), std::strlen("uniform"), ' ');
}

bool IsNumber(const ParameterDesc& parameter) {
    return parameter.type != ParameterType::Sampler2D;
}

}  // namespace

std::string InstancedVertexSource(const EffectFile& file, std::size_t stage,
                                  const D3DXMACRO* defines, const ShaderTarget& target,
                                  const std::vector<bool>& passedOn) {
    std::string text = file.StageText(stage);
    std::string loads;
    const std::string row = std::to_string(kInstanceRowTexels);
    std::string epilogue =
        target.es
            ? "\n#undef main\nuniform sampler2D hush_Instances;\n"
              "vec4 hush_Instance(int i) {\n    return texelFetch(hush_Instances, ivec2(i % " +
                  row + ", i / " + row + "), 0);\n}\n"
            : "\n#undef main\nuniform samplerBuffer hush_Instances;\n"
              "vec4 hush_Instance(int i) {\n    return texelFetch(hush_Instances, i);\n}\n";
    for (std::size_t p = 0; p < file.parameters.size(); ++p) {
        const ParameterDesc& parameter = file.parameters[p];
        if (!IsNumber(parameter)) {
            continue;
        }
        const std::string& name = parameter.name;
        const std::string type = GlslType(parameter.type);
        DropUniformKeyword(parameter, &text);
        epilogue += "uniform " + type + " hush_Uniform_" + name + ";\nuniform int hush_Column_" +
                    name + ";\n";
        loads += "    if (hush_Column_" + name + " >= 0) {\n        int i = hush_Column_" + name +
                 " + gl_InstanceID * " + std::to_string(InstanceTexels(parameter.type)) +
                 ";\n        " + name + " = " + InstanceFetch(parameter.type) +
                 ";\n    } else {\n        " + name + " = hush_Uniform_" + name + ";\n    }\n";
        if (passedOn[p]) {
            epilogue += "flat out " + type + " hush_Flat_" + name + ";\n";
            loads += "    hush_Flat_" + name + " = " + name + ";\n";
        }
    }
    // After the declarations' offsets were used: the swap moves the text.
    loads = SwapColourInput(target, &text) + loads;
    epilogue += "void main() {\n" + loads + "    hush_user_main();\n";
    if (target.rewriteClipZ) {
        epilogue += kClipZRewrite;
    }
    epilogue += "}\n";
    return Assemble(text, defines, target, epilogue);
}

std::string InstancedFragmentSource(const EffectFile& file, std::size_t stage,
                                    const D3DXMACRO* defines, const ShaderTarget& target,
                                    const std::vector<bool>& passedOn) {
    std::string text = file.StageText(stage);
    std::string inputs;
    std::string prelude;
    for (std::size_t p = 0; p < file.parameters.size(); ++p) {
        const ParameterDesc& parameter = file.parameters[p];
        if (!passedOn[p] || !IsNumber(parameter)) {
            continue;
        }
        DropUniformKeyword(parameter, &text);
        inputs += std::string("flat in ") + GlslType(parameter.type) + " hush_Flat_" +
                  parameter.name + ";\n";
        prelude += "    " + parameter.name + " = hush_Flat_" + parameter.name + ";\n";
    }
    const StageDesc& desc = file.stages[stage];
    std::string epilogue = desc.output.empty() ? "\n#undef main\nvoid main() {\n" + prelude +
                                                     "    hush_user_main();\n}\n"
                                               : AlphaTestEpilogue(desc.output, prelude);
    return Assemble(text, defines, target, "\n" + inputs + epilogue);
}

void UploadUniform(GLint location, ParameterType type, const float* values, GLboolean transpose) {
    if (location < 0) {
        return;
    }
    switch (type) {
        case ParameterType::Float:
            glUniform1f(location, values[0]);
            break;
        case ParameterType::Vec2:
            glUniform2fv(location, 1, values);
            break;
        case ParameterType::Vec3:
            glUniform3fv(location, 1, values);
            break;
        case ParameterType::Vec4:
            glUniform4fv(location, 1, values);
            break;
        case ParameterType::Mat4:
            glUniformMatrix4fv(location, 1, transpose, values);
            break;
        case ParameterType::Sampler2D:
            break;
    }
}

GLuint CompileShader(GLenum kind, const std::string& source, std::string* log) {
    const GLuint shader = glCreateShader(kind);
    const char* text = source.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint compiled = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled == GL_TRUE) {
        return shader;
    }
    GLint length = 0;
    glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
    std::vector<char> buffer(std::size_t(length > 1 ? length : 1), '\0');
    glGetShaderInfoLog(shader, GLsizei(buffer.size()), nullptr, buffer.data());
    *log = buffer.data();
    glDeleteShader(shader);
    return 0;
}

GLuint LinkProgram(GLuint vertex, GLuint fragment, std::string* log) {
    const GLuint program = glCreateProgram();
    glAttachShader(program, vertex);
    glAttachShader(program, fragment);
    glLinkProgram(program);
    glDetachShader(program, vertex);
    glDetachShader(program, fragment);
    GLint linked = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (linked == GL_TRUE) {
        return program;
    }
    GLint length = 0;
    glGetProgramiv(program, GL_INFO_LOG_LENGTH, &length);
    std::vector<char> buffer(std::size_t(length > 1 ? length : 1), '\0');
    glGetProgramInfoLog(program, GLsizei(buffer.size()), nullptr, buffer.data());
    *log = buffer.data();
    glDeleteProgram(program);
    return 0;
}

void AppendCompilerLog(const std::string& path, const std::string& log, std::string* out) {
    // Mesa "0:12(5): error: ...", NVIDIA "0(12) : error C0000: ...", AMD
    // "ERROR: 0:12: ...".
    static const std::regex kMesa(R"(^\s*\d+:(\d+)\(\d+\):\s*(.*)$)");
    static const std::regex kNvidia(R"(^\s*\d+\((\d+)\)\s*:\s*(.*)$)");
    static const std::regex kAmd(R"(^\s*(ERROR|WARNING):\s*\d+:(\d+):\s*(.*)$)");
    bool any = false;
    std::istringstream lines(log);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.find_first_not_of(" \t") == std::string::npos) {
            continue;
        }
        std::smatch match;
        std::string formatted;
        if (std::regex_match(line, match, kMesa) || std::regex_match(line, match, kNvidia)) {
            formatted = path + "(" + match[1].str() + "): " + match[2].str();
        } else if (std::regex_match(line, match, kAmd)) {
            std::string kind = match[1].str() == "ERROR" ? "error: " : "warning: ";
            formatted = path + "(" + match[2].str() + "): " + kind + match[3].str();
        } else {
            formatted = path + ": " + line;
        }
        any = true;
        if (out->find(formatted + "\n") == std::string::npos) {
            *out += formatted + "\n";
        }
    }
    if (!any) {
        *out += path + ": error: the GLSL compiler gave no message\n";
    }
}
