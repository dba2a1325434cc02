// Stage sources, compilation and the compiler log's line mapping.
#include "gl_shader.h"

#include <regex>
#include <sstream>
#include <vector>

namespace {

constexpr const char* kPreamble =
    "#version 330 core\n"
    "#define ATTR_POSITION 0\n"
    "#define ATTR_NORMAL 1\n"
    "#define ATTR_COLOR 2\n"
    "#define ATTR_TEXCOORD0 3\n"
    "#define ATTR_TANGENT 4\n"
    "#define ATTR_TEXCOORD1 5\n";

// The stage's own main runs first; then the fixed-function work that
// Direct3D does after the pixel shader.
std::string AlphaTestEpilogue(const std::string& output) {
    return "\n#undef main\n"
           "uniform int hush_AlphaFunc;\n"
           "uniform float hush_AlphaRef;\n"
           "void main() {\n"
           "    hush_user_main();\n"
           "    float alpha = floor(clamp(" +
           output +
           ".a, 0.0, 1.0) * 255.0 + 0.5);\n"
           "    bool keep = true;\n"
           "    if (hush_AlphaFunc == 1) keep = false;\n"
           "    else if (hush_AlphaFunc == 2) keep = alpha < hush_AlphaRef;\n"
           "    else if (hush_AlphaFunc == 3) keep = alpha == hush_AlphaRef;\n"
           "    else if (hush_AlphaFunc == 4) keep = alpha <= hush_AlphaRef;\n"
           "    else if (hush_AlphaFunc == 5) keep = alpha > hush_AlphaRef;\n"
           "    else if (hush_AlphaFunc == 6) keep = alpha != hush_AlphaRef;\n"
           "    else if (hush_AlphaFunc == 7) keep = alpha >= hush_AlphaRef;\n"
           "    if (!keep) discard;\n"
           "}\n";
}

constexpr const char* kClipZEpilogue =
    "\n#undef main\n"
    "void main() {\n"
    "    hush_user_main();\n"
    "    gl_Position.z = 2.0 * gl_Position.z - gl_Position.w;\n"
    "}\n";

}  // namespace

std::string StageSource(const EffectFile& file, std::size_t stage, const D3DXMACRO* defines,
                        bool rewriteClipZ) {
    const StageDesc& desc = file.stages[stage];
    std::string epilogue;
    if (desc.fragment && !desc.output.empty()) {
        epilogue = AlphaTestEpilogue(desc.output);
    } else if (!desc.fragment && rewriteClipZ) {
        epilogue = kClipZEpilogue;
    }
    std::string source = kPreamble;
    for (const D3DXMACRO* macro = defines; macro != nullptr && macro->Name != nullptr; ++macro) {
        source += std::string("#define ") + macro->Name + " " +
                  (macro->Definition != nullptr ? macro->Definition : "") + "\n";
    }
    if (!epilogue.empty()) {
        source += "#define main hush_user_main\n";
    }
    source += "#line 1\n";
    source += file.StageText(stage);
    source += epilogue;
    return source;
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
