// The effect file parser: a token walk over the file that picks out our own
// blocks (technique, sampler_state, vertex, fragment) and the top-level
// uniforms, and leaves every other line to GLSL.
#include "effect_file.h"

#include "state_names.h"

#include <cstdlib>
#include <string_view>

namespace {

struct Token {
    enum Kind { Identifier, Number, Punctuation, Directive };
    Kind kind;
    std::string_view text;
    std::size_t begin;
    std::size_t end;
    int line;

    bool Is(char c) const { return kind == Punctuation && text[0] == c; }
    bool IsWord(std::string_view word) const { return kind == Identifier && text == word; }
};

bool IsIdentifierStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsIdentifierChar(char c) {
    return IsIdentifierStart(c) || IsDigit(c);
}

class Parser {
public:
    Parser(const std::string& path, EffectFile* file, std::string* error)
        : path_(path), file_(*file), error_(*error) {}

    bool Run() {
        if (!Tokenize()) {
            return false;
        }
        return ParseTopLevel() && ResolveStages() && ResolveSamplers() && HasTechnique();
    }

private:
    struct SamplerBlock {
        std::string name;
        int line;
        bool hasStage = false;
        UINT stage = 0;
        std::vector<std::pair<D3DSAMPLERSTATETYPE, DWORD>> states;
    };
    struct StageReference {
        std::size_t technique, pass;
        std::string vertex, fragment;
    };

    bool Fail(int line, const std::string& message) {
        error_ = path_ + "(" + std::to_string(line) + "): error: " + message;
        return false;
    }

    // ---------------------------------------------------------- tokens
    bool Tokenize() {
        const std::string_view text = file_.text;
        std::size_t i = 0;
        int line = 1;
        bool lineStart = true;
        while (i < text.size()) {
            const char c = text[i];
            if (c == '\n') {
                ++line;
                ++i;
                lineStart = true;
                continue;
            }
            if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
                ++i;
                continue;
            }
            if (c == '/' && i + 1 < text.size() && text[i + 1] == '/') {
                while (i < text.size() && text[i] != '\n') {
                    ++i;
                }
                continue;
            }
            if (c == '/' && i + 1 < text.size() && text[i + 1] == '*') {
                const int startLine = line;
                i += 2;
                while (i + 1 < text.size() && !(text[i] == '*' && text[i + 1] == '/')) {
                    line += text[i] == '\n' ? 1 : 0;
                    ++i;
                }
                if (i + 1 >= text.size()) {
                    return Fail(startLine, "comment is not closed");
                }
                i += 2;
                continue;
            }
            const std::size_t begin = i;
            Token::Kind kind = Token::Punctuation;
            if (c == '#' && lineStart) {
                // A preprocessor line, continued by a backslash at its end.
                kind = Token::Directive;
                const int startLine = line;
                while (i < text.size() && text[i] != '\n') {
                    if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == '\n') {
                        ++line;
                        ++i;
                    }
                    ++i;
                }
                tokens_.push_back({kind, text.substr(begin, i - begin), begin, i, startLine});
                continue;
            }
            if (IsIdentifierStart(c)) {
                kind = Token::Identifier;
                while (i < text.size() && IsIdentifierChar(text[i])) {
                    ++i;
                }
            } else if (IsDigit(c) || (c == '.' && i + 1 < text.size() && IsDigit(text[i + 1]))) {
                kind = Token::Number;
                while (i < text.size() && (IsIdentifierChar(text[i]) || text[i] == '.' ||
                                           ((text[i] == '+' || text[i] == '-') &&
                                            (text[i - 1] == 'e' || text[i - 1] == 'E')))) {
                    ++i;
                }
            } else {
                ++i;
            }
            lineStart = false;
            tokens_.push_back({kind, text.substr(begin, i - begin), begin, i, line});
        }
        endLine_ = line;
        return true;
    }

    const Token* At(std::size_t i) const { return i < tokens_.size() ? &tokens_[i] : nullptr; }

    int LineAt(std::size_t i) const { return i < tokens_.size() ? tokens_[i].line : endLine_; }

    bool Expect(std::size_t i, char c, const char* where) {
        const Token* t = At(i);
        if (t == nullptr || !t->Is(c)) {
            return Fail(LineAt(i), std::string("expected '") + c + "' " + where);
        }
        return true;
    }

    bool ExpectIdentifier(std::size_t i, const char* what) {
        const Token* t = At(i);
        if (t == nullptr || t->kind != Token::Identifier) {
            return Fail(LineAt(i), std::string("expected ") + what);
        }
        return true;
    }

    // ---------------------------------------------------------- top level
    bool ParseTopLevel() {
        std::size_t i = 0;
        int depth = 0;
        bool statementStart = true;
        while (i < tokens_.size()) {
            const Token& t = tokens_[i];
            if (t.kind == Token::Directive) {
                if (t.text.substr(0, 8) == "#version") {
                    return Fail(t.line,
                                "remove #version: every stage is compiled as GLSL 330 core");
                }
                ++i;
                continue;
            }
            if (depth == 0 && statementStart && t.kind == Token::Identifier) {
                bool handled = false;
                if (!ParseOwnBlock(&i, &handled)) {
                    return false;
                }
                if (handled) {
                    continue;
                }
            }
            if (t.Is('{')) {
                ++depth;
            } else if (t.Is('}')) {
                if (--depth < 0) {
                    return Fail(t.line, "'}' without a matching '{'");
                }
            }
            statementStart = t.Is(';') || t.Is('{') || t.Is('}');
            ++i;
        }
        if (depth != 0) {
            return Fail(endLine_, "missing '}' at the end of the file");
        }
        return true;
    }

    // Parses a technique, stage, sampler_state block or uniform declaration
    // starting at *i; handled stays false for any other statement.
    bool ParseOwnBlock(std::size_t* i, bool* handled) {
        const Token& t = tokens_[*i];
        *handled = true;
        if (t.IsWord("technique")) {
            return ParseTechnique(i);
        }
        if (t.IsWord("sampler_state")) {
            return ParseSamplerState(i);
        }
        if (t.IsWord("uniform")) {
            return ParseUniform(i);
        }
        const Token* name = At(*i + 1);
        const Token* brace = At(*i + 2);
        if ((t.IsWord("vertex") || t.IsWord("fragment")) && name != nullptr &&
            name->kind == Token::Identifier && brace != nullptr && brace->Is('{')) {
            return ParseStage(i);
        }
        *handled = false;
        return true;
    }

    // ---------------------------------------------------------- uniforms
    bool ParseUniform(std::size_t* at) {
        std::size_t i = *at + 1;
        if (!ExpectIdentifier(i, "a type after 'uniform'")) {
            return false;
        }
        const Token& typeToken = tokens_[i];
        if (At(i + 1) != nullptr && At(i + 1)->Is('{')) {
            return Fail(typeToken.line, "uniform blocks are not supported");
        }
        ParameterType type;
        if (!TypeByName(typeToken.text, &type)) {
            return Fail(typeToken.line, "parameter type '" + std::string(typeToken.text) +
                                            "' is not supported; use float, vec2, vec3, vec4, "
                                            "mat4 or sampler2D");
        }
        ++i;
        const std::size_t firstOfDeclaration = file_.parameters.size();
        for (;;) {
            if (!ExpectIdentifier(i, "a parameter name")) {
                return false;
            }
            ParameterDesc parameter;
            parameter.name = std::string(tokens_[i].text);
            parameter.type = type;
            const int line = tokens_[i].line;
            if (FindParameter(parameter.name) != nullptr) {
                return Fail(line, "parameter '" + parameter.name + "' is declared twice");
            }
            ++i;
            if (At(i) != nullptr && At(i)->Is('[')) {
                return Fail(line, "parameter arrays are not supported");
            }
            if (At(i) != nullptr && At(i)->Is('=')) {
                if (!ParseInitialiser(&i, &parameter, line)) {
                    return false;
                }
            }
            file_.parameters.push_back(std::move(parameter));
            const Token* next = At(i);
            if (next != nullptr && next->Is(',')) {
                ++i;
                continue;
            }
            if (!Expect(i, ';', "after a uniform declaration")) {
                return false;
            }
            for (std::size_t p = firstOfDeclaration; p < file_.parameters.size(); ++p) {
                file_.parameters[p].declarationBegin = tokens_[*at].begin;
                file_.parameters[p].declarationEnd = tokens_[i].end;
            }
            *at = i + 1;
            return true;
        }
    }

    static bool TypeByName(std::string_view name, ParameterType* type) {
        constexpr std::pair<std::string_view, ParameterType> kTypes[] = {
            {"float", ParameterType::Float}, {"vec2", ParameterType::Vec2},
            {"vec3", ParameterType::Vec3},   {"vec4", ParameterType::Vec4},
            {"mat4", ParameterType::Mat4},   {"sampler2D", ParameterType::Sampler2D},
        };
        for (const auto& [typeName, value] : kTypes) {
            if (name == typeName) {
                *type = value;
                return true;
            }
        }
        return false;
    }

    // "= number", "= -number" or "= type(numbers)"; the initialiser is hidden
    // from GLSL, since the effect uploads every value itself.
    bool ParseInitialiser(std::size_t* at, ParameterDesc* parameter, int line) {
        const std::size_t equals = *at;
        std::size_t i = equals + 1;
        std::size_t last = i;
        int parens = 0;
        while (i < tokens_.size() && !(parens == 0 && (tokens_[i].Is(',') || tokens_[i].Is(';')))) {
            parens += tokens_[i].Is('(') ? 1 : tokens_[i].Is(')') ? -1 : 0;
            last = i++;
        }
        const std::string failure = "cannot read the initial value of '" + parameter->name +
                                    "'; write numbers, e.g. vec4(1.0, 0.5, 0.0, 1.0)";
        if (parameter->type == ParameterType::Sampler2D) {
            return Fail(line, "sampler '" + parameter->name + "' cannot have an initial value");
        }
        if (i == equals + 1 || i >= tokens_.size()) {
            return Fail(line, failure);
        }
        std::vector<float> numbers;
        std::size_t j = equals + 1;
        const bool constructor = tokens_[j].kind == Token::Identifier;
        if (constructor) {
            ParameterType constructed;
            if (!TypeByName(tokens_[j].text, &constructed) || constructed != parameter->type ||
                !(At(j + 1) != nullptr && At(j + 1)->Is('(')) || !tokens_[last].Is(')')) {
                return Fail(line, failure);
            }
            j += 2;
        }
        const std::size_t stop = constructor ? last : last + 1;
        while (j < stop) {
            float value;
            if (!ParseSignedNumber(&j, &value)) {
                return Fail(line, failure);
            }
            numbers.push_back(value);
            if (j < stop && !tokens_[j++].Is(',')) {
                return Fail(line, failure);
            }
        }
        if (!FillInitial(numbers, parameter)) {
            return Fail(line, failure);
        }
        file_.hiddenRanges.emplace_back(tokens_[equals].begin, tokens_[last].end);
        *at = i;
        return true;
    }

    bool ParseSignedNumber(std::size_t* at, float* value) const {
        std::size_t i = *at;
        bool negative = false;
        if (At(i) != nullptr && (At(i)->Is('-') || At(i)->Is('+'))) {
            negative = At(i)->Is('-');
            ++i;
        }
        const Token* t = At(i);
        if (t == nullptr || t->kind != Token::Number) {
            return false;
        }
        std::string digits(t->text);
        if (!digits.empty() && (digits.back() == 'f' || digits.back() == 'F')) {
            digits.pop_back();
        }
        char* end = nullptr;
        const float number = std::strtof(digits.c_str(), &end);
        if (digits.empty() || *end != '\0') {
            return false;
        }
        *value = negative ? -number : number;
        *at = i + 1;
        return true;
    }

    // One number fills every component (a mat4's diagonal); otherwise one
    // per component. A mat4 constructor lists columns, which are the rows of
    // the D3DX matrix the shader sees.
    static bool FillInitial(const std::vector<float>& numbers, ParameterDesc* parameter) {
        const std::size_t count = FloatCount(parameter->type);
        if (numbers.size() == 1) {
            if (parameter->type == ParameterType::Mat4) {
                parameter->initial = {};
                for (int d = 0; d < 4; ++d) {
                    parameter->initial[d * 5] = numbers[0];
                }
            } else {
                for (std::size_t k = 0; k < count; ++k) {
                    parameter->initial[k] = numbers[0];
                }
            }
            return true;
        }
        if (numbers.size() != count) {
            return false;
        }
        for (std::size_t k = 0; k < count; ++k) {
            parameter->initial[k] = numbers[k];
        }
        if (parameter->type == ParameterType::Mat4) {
            std::array<float, 16> rows{};
            for (int column = 0; column < 4; ++column) {
                for (int row = 0; row < 4; ++row) {
                    rows[row * 4 + column] = numbers[column * 4 + row];
                }
            }
            parameter->initial = rows;
        }
        return true;
    }

    // ---------------------------------------------------------- stages
    bool ParseStage(std::size_t* at) {
        const Token& keyword = tokens_[*at];
        StageDesc stage;
        stage.fragment = keyword.IsWord("fragment");
        stage.name = std::string(tokens_[*at + 1].text);
        stage.line = keyword.line;
        for (const StageDesc& other : file_.stages) {
            if (other.fragment == stage.fragment && other.name == stage.name) {
                return Fail(stage.line, std::string(keyword.text) + " stage '" + stage.name +
                                            "' is declared twice");
            }
        }
        const std::size_t open = *at + 2;
        std::size_t close = open;
        if (!MatchBrace(open, &close, "this stage block")) {
            return false;
        }
        int outputs = 0;
        int depth = 0;
        int parens = 0;
        for (std::size_t i = open + 1; i < close; ++i) {
            const Token& t = tokens_[i];
            depth += t.Is('{') ? 1 : t.Is('}') ? -1 : 0;
            parens += t.Is('(') ? 1 : t.Is(')') ? -1 : 0;
            if (t.IsWord("uniform")) {
                return Fail(t.line,
                            "declare uniforms at the top level of the file, outside "
                            "vertex and fragment blocks");
            }
            if (depth == 0 && parens == 0 && t.IsWord("out")) {
                ++outputs;
                const Token* type = At(i + 1);
                const Token* name = At(i + 2);
                if (type != nullptr && type->IsWord("vec4") && name != nullptr &&
                    name->kind == Token::Identifier) {
                    stage.output = std::string(name->text);
                }
            }
        }
        if (!stage.fragment || outputs != 1) {
            stage.output.clear();
        }
        stage.blockBegin = keyword.begin;
        stage.bodyBegin = tokens_[open].end;
        stage.bodyEnd = tokens_[close].begin;
        stage.blockEnd = tokens_[close].end;
        file_.stages.push_back(std::move(stage));
        *at = close + 1;
        return true;
    }

    bool MatchBrace(std::size_t open, std::size_t* close, const char* what) {
        int depth = 0;
        for (std::size_t i = open; i < tokens_.size(); ++i) {
            depth += tokens_[i].Is('{') ? 1 : tokens_[i].Is('}') ? -1 : 0;
            if (depth == 0) {
                *close = i;
                return true;
            }
        }
        return Fail(tokens_[open].line, std::string("missing '}' to close ") + what);
    }

    // ---------------------------------------------------------- techniques
    // NAME = VALUE; with one word or number as the value.
    bool ParseAssignment(std::size_t* at, std::string_view* name, std::string_view* value,
                         int* line) {
        std::size_t i = *at;
        if (!ExpectIdentifier(i, "a state name")) {
            return false;
        }
        *name = tokens_[i].text;
        *line = tokens_[i].line;
        if (!Expect(i + 1, '=', "after a state name")) {
            return false;
        }
        const Token* v = At(i + 2);
        if (v == nullptr || (v->kind != Token::Identifier && v->kind != Token::Number)) {
            return Fail(LineAt(i + 2), "expected a value for '" + std::string(*name) + "'");
        }
        *value = v->text;
        if (!Expect(i + 3, ';', "after a state value")) {
            return false;
        }
        *at = i + 4;
        return true;
    }

    bool ParseTechnique(std::size_t* at) {
        const std::size_t begin = *at;
        std::size_t i = begin + 1;
        if (!ExpectIdentifier(i, "a technique name")) {
            return false;
        }
        TechniqueDesc technique;
        technique.name = std::string(tokens_[i].text);
        const int line = tokens_[i].line;
        for (const TechniqueDesc& other : file_.techniques) {
            if (other.name == technique.name) {
                return Fail(line, "technique '" + technique.name + "' is declared twice");
            }
        }
        if (!Expect(++i, '{', "after the technique name")) {
            return false;
        }
        ++i;
        while (At(i) != nullptr && !At(i)->Is('}')) {
            if (!At(i)->IsWord("pass")) {
                return Fail(LineAt(i), "expected 'pass' in technique '" + technique.name + "'");
            }
            PassDesc pass;
            pass.line = tokens_[i].line;
            ++i;
            if (At(i) != nullptr && At(i)->kind == Token::Identifier) {
                pass.name = std::string(tokens_[i++].text);
            }
            if (!Expect(i, '{', "to open the pass")) {
                return false;
            }
            ++i;
            StageReference reference{file_.techniques.size(), technique.passes.size(), "", ""};
            while (At(i) != nullptr && !At(i)->Is('}')) {
                std::string_view name, value;
                int stateLine;
                if (!ParseAssignment(&i, &name, &value, &stateLine)) {
                    return false;
                }
                if (name == "VertexShader") {
                    reference.vertex = std::string(value);
                    continue;
                }
                if (name == "PixelShader" || name == "FragmentShader") {
                    reference.fragment = std::string(value);
                    continue;
                }
                D3DRENDERSTATETYPE state;
                DWORD stateValue;
                if (!RenderStateByName(name, &state)) {
                    return Fail(stateLine, "unknown render state '" + std::string(name) + "'");
                }
                if (!RenderStateValue(state, value, &stateValue)) {
                    return Fail(stateLine, "'" + std::string(value) + "' is not a value of " +
                                               std::string(name));
                }
                pass.renderStates.emplace_back(state, stateValue);
            }
            if (At(i) == nullptr) {
                return Fail(pass.line, "missing '}' to close the pass");
            }
            ++i;
            if (reference.vertex.empty() || reference.fragment.empty()) {
                return Fail(pass.line, "the pass needs both VertexShader and PixelShader");
            }
            stageReferences_.push_back(std::move(reference));
            passLines_.push_back(pass.line);
            technique.passes.push_back(std::move(pass));
        }
        if (At(i) == nullptr) {
            return Fail(line, "missing '}' to close technique '" + technique.name + "'");
        }
        file_.hiddenRanges.emplace_back(tokens_[begin].begin, tokens_[i].end);
        file_.techniques.push_back(std::move(technique));
        *at = i + 1;
        return true;
    }

    bool ParseSamplerState(std::size_t* at) {
        const std::size_t begin = *at;
        std::size_t i = begin + 1;
        if (!ExpectIdentifier(i, "the name of a sampler2D parameter")) {
            return false;
        }
        SamplerBlock block;
        block.name = std::string(tokens_[i].text);
        block.line = tokens_[i].line;
        if (!Expect(++i, '{', "after the sampler name")) {
            return false;
        }
        ++i;
        while (At(i) != nullptr && !At(i)->Is('}')) {
            std::string_view name, value;
            int line;
            if (!ParseAssignment(&i, &name, &value, &line)) {
                return false;
            }
            if (name == "Stage") {
                const std::string digits(value);
                char* end = nullptr;
                const long stage = std::strtol(digits.c_str(), &end, 10);
                if (*end != '\0' || stage < 0 || stage > 15) {
                    return Fail(line, "Stage must be a number from 0 to 15");
                }
                block.hasStage = true;
                block.stage = static_cast<UINT>(stage);
                continue;
            }
            D3DSAMPLERSTATETYPE state;
            DWORD stateValue;
            if (!SamplerStateByName(name, &state)) {
                return Fail(line, "unknown sampler state '" + std::string(name) + "'");
            }
            if (!SamplerStateValue(state, value, &stateValue)) {
                return Fail(line,
                            "'" + std::string(value) + "' is not a value of " + std::string(name));
            }
            block.states.emplace_back(state, stateValue);
        }
        if (At(i) == nullptr) {
            return Fail(block.line, "missing '}' to close sampler_state " + block.name);
        }
        file_.hiddenRanges.emplace_back(tokens_[begin].begin, tokens_[i].end);
        samplerBlocks_.push_back(std::move(block));
        *at = i + 1;
        return true;
    }

    // ---------------------------------------------------------- resolution
    ParameterDesc* FindParameter(const std::string& name) {
        for (ParameterDesc& parameter : file_.parameters) {
            if (parameter.name == name) {
                return &parameter;
            }
        }
        return nullptr;
    }

    bool FindStage(const std::string& name, bool fragment, std::size_t* index) const {
        for (std::size_t s = 0; s < file_.stages.size(); ++s) {
            if (file_.stages[s].fragment == fragment && file_.stages[s].name == name) {
                *index = s;
                return true;
            }
        }
        return false;
    }

    bool ResolveStages() {
        for (std::size_t r = 0; r < stageReferences_.size(); ++r) {
            const StageReference& reference = stageReferences_[r];
            PassDesc& pass = file_.techniques[reference.technique].passes[reference.pass];
            if (!FindStage(reference.vertex, false, &pass.vertexStage)) {
                return Fail(passLines_[r], "no vertex stage named '" + reference.vertex + "'");
            }
            if (!FindStage(reference.fragment, true, &pass.fragmentStage)) {
                return Fail(passLines_[r], "no fragment stage named '" + reference.fragment + "'");
            }
        }
        return true;
    }

    // The n-th sampler declared reads stage n unless its sampler_state block
    // names a Stage.
    bool ResolveSamplers() {
        UINT nextStage = 0;
        for (ParameterDesc& parameter : file_.parameters) {
            if (parameter.type == ParameterType::Sampler2D) {
                parameter.stage = nextStage++;
            }
        }
        for (SamplerBlock& block : samplerBlocks_) {
            ParameterDesc* parameter = FindParameter(block.name);
            if (parameter == nullptr || parameter->type != ParameterType::Sampler2D) {
                return Fail(block.line, "sampler_state '" + block.name +
                                            "' does not name a sampler2D parameter");
            }
            if (block.hasStage) {
                parameter->stage = block.stage;
            }
            parameter->samplerStates = std::move(block.states);
        }
        if (nextStage > 16) {
            return Fail(1, "more than 16 samplers");
        }
        return true;
    }

    // An effect without a technique draws nothing: an empty or cut-off file
    // is refused here rather than leaving its content silently out.
    bool HasTechnique() {
        if (file_.techniques.empty()) {
            return Fail(1, "no technique in the file");
        }
        return true;
    }

    const std::string& path_;
    EffectFile& file_;
    std::string& error_;
    std::vector<Token> tokens_;
    int endLine_ = 1;
    std::vector<SamplerBlock> samplerBlocks_;
    std::vector<StageReference> stageReferences_;
    std::vector<int> passLines_;
};

void Hide(std::string* text, std::size_t begin, std::size_t end) {
    for (std::size_t i = begin; i < end && i < text->size(); ++i) {
        if ((*text)[i] != '\n') {
            (*text)[i] = ' ';
        }
    }
}

}  // namespace

std::size_t FloatCount(ParameterType type) {
    switch (type) {
        case ParameterType::Float:
            return 1;
        case ParameterType::Vec2:
            return 2;
        case ParameterType::Vec3:
            return 3;
        case ParameterType::Vec4:
            return 4;
        case ParameterType::Mat4:
            return 16;
        case ParameterType::Sampler2D:
            return 0;
    }
    return 0;
}

std::string EffectFile::StageText(std::size_t stage) const {
    std::string out = text;
    for (const auto& [begin, end] : hiddenRanges) {
        Hide(&out, begin, end);
    }
    for (std::size_t s = 0; s < stages.size(); ++s) {
        const StageDesc& block = stages[s];
        if (s == stage) {
            Hide(&out, block.blockBegin, block.bodyBegin);
            Hide(&out, block.bodyEnd, block.blockEnd);
        } else {
            Hide(&out, block.blockBegin, block.blockEnd);
        }
    }
    return out;
}

bool ParseEffectFile(const std::string& path, std::string text, EffectFile* file,
                     std::string* error) {
    *file = EffectFile{};
    file->path = path;
    file->baseName = path.substr(path.find_last_of("\\/") + 1);
    file->text = std::move(text);
    Parser parser(path, file, error);
    return parser.Run();
}
