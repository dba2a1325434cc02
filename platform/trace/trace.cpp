// The trace file and its line writer.
#include "trace.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace trace {

bool g_on = false;

namespace {
std::FILE* g_file = nullptr;
}

bool Open(const char* path) {
    Close();
    g_file = std::fopen(path, "w");
    g_on = g_file != nullptr;
    return g_on;
}

void Close() {
    if (g_file != nullptr) {
        std::fclose(g_file);
        g_file = nullptr;
    }
    g_on = false;
}

Line::Line(const char* key, const char* value) {
    Char('{');
    Quoted(key);
    Char(':');
    Quoted(value);
}

Line::Line(const char* key, std::int64_t value) {
    Char('{');
    Quoted(key);
    Char(':');
    char text[32];
    std::snprintf(text, sizeof text, "%lld", static_cast<long long>(value));
    Raw(text);
}

Line::~Line() {
    Raw("}\n");
    // A line that does not fit is dropped whole rather than written cut.
    if (g_file != nullptr && !overflow_) {
        std::fwrite(buffer_, 1, length_, g_file);
    }
}

Line& Line::Str(const char* key, const char* value) {
    Key(key);
    Quoted(value);
    return *this;
}

Line& Line::Int(const char* key, std::int64_t value) {
    Key(key);
    char text[32];
    std::snprintf(text, sizeof text, "%lld", static_cast<long long>(value));
    Raw(text);
    return *this;
}

Line& Line::UInt(const char* key, std::uint64_t value) {
    Key(key);
    char text[32];
    std::snprintf(text, sizeof text, "%llu", static_cast<unsigned long long>(value));
    Raw(text);
    return *this;
}

Line& Line::Float(const char* key, float value) {
    Key(key);
    Number(value);
    return *this;
}

Line& Line::Floats(const char* key, const float* values, std::size_t count) {
    Key(key);
    Char('[');
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) {
            Char(',');
        }
        Number(values[i]);
    }
    Char(']');
    return *this;
}

void Line::Key(const char* key) {
    Char(',');
    Quoted(key);
    Char(':');
}

void Line::Raw(const char* text) {
    const std::size_t n = std::strlen(text);
    if (length_ + n > kCapacity) {
        overflow_ = true;
        return;
    }
    std::memcpy(buffer_ + length_, text, n);
    length_ += n;
}

void Line::Char(char c) {
    if (length_ + 1 > kCapacity) {
        overflow_ = true;
        return;
    }
    buffer_[length_++] = c;
}

void Line::Number(float value) {
    if (std::isnan(value)) {
        Raw("\"nan\"");
    } else if (std::isinf(value)) {
        Raw(value > 0 ? "\"inf\"" : "\"-inf\"");
    } else {
        char text[32];
        std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
        Raw(text);
    }
}

void Line::Quoted(const char* text) {
    Char('"');
    for (const char* p = text; *p != '\0'; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (c == '"' || c == '\\') {
            Char('\\');
            Char(static_cast<char>(c));
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            Raw(escaped);
        } else {
            Char(static_cast<char>(c));
        }
    }
    Char('"');
}

}  // namespace trace
