// GLSL stages built from an effect file: the source we hand the compiler,
// compiling and linking, and compiler messages turned into file lines.
#pragma once

#include <d3dx9.h>
#include <epoxy/gl.h>

#include "effect_file.h"

#include <string>

// The source of one stage: "#version 330 core", the attribute location
// names (ATTR_POSITION ...), the caller's macros, then the stage's text with
// "#line 1" so messages name file lines. A fragment stage with one vec4
// output gets the alpha test after its main; a vertex stage gets clip z
// moved from [0, 1] to GL's [-1, 1] when there is no glClipControl.
std::string StageSource(const EffectFile& file, std::size_t stage, const D3DXMACRO* defines,
                        bool rewriteClipZ);

// 0 on failure, with the compiler's or linker's log.
GLuint CompileShader(GLenum kind, const std::string& source, std::string* log);
GLuint LinkProgram(GLuint vertex, GLuint fragment, std::string* log);

// Appends each message of a GLSL compiler log to out as
// "<path>(<line>): <message>\n" (Mesa's, NVIDIA's and AMD's formats; other
// lines as "<path>: <line>"), skipping messages out already holds: shared
// code is compiled into every stage.
void AppendCompilerLog(const std::string& path, const std::string& log, std::string* out);
