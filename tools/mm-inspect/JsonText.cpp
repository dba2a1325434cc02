// JSON value text: escaping and number formats.
#include "JsonText.h"

#include <cmath>
#include <cstdio>

namespace {

// Length of the valid UTF-8 sequence at text (at most length bytes), or 0.
std::size_t Utf8SequenceLength(const unsigned char* text, std::size_t length) {
    const unsigned char lead = text[0];
    std::size_t size;
    unsigned int value;
    if (lead >= 0xC2 && lead <= 0xDF) {
        size = 2;
        value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        size = 3;
        value = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        size = 4;
        value = lead & 0x07;
    } else {
        return 0;
    }
    if (size > length) {
        return 0;
    }
    for (std::size_t i = 1; i < size; ++i) {
        if ((text[i] & 0xC0) != 0x80) {
            return 0;
        }
        value = value << 6 | (text[i] & 0x3F);
    }
    // No overlong forms, no surrogates, nothing above U+10FFFF.
    const bool overlong = (size == 3 && value < 0x800) || (size == 4 && value < 0x10000);
    const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
    return overlong || surrogate || value > 0x10FFFF ? 0 : size;
}

void AppendEscape(std::string& out, unsigned char c) {
    char escape[8];
    std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned int>(c));
    out += escape;
}

}  // namespace

void AppendJsonString(std::string& out, const char* text, std::size_t length) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    out += '"';
    for (std::size_t i = 0; i < length;) {
        const unsigned char c = bytes[i];
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c < 0x20 || c == 0x7F) {
            AppendEscape(out, c);
        } else if (c >= 0x80) {
            const std::size_t size = Utf8SequenceLength(bytes + i, length - i);
            if (size == 0) {
                AppendEscape(out, c);
            } else {
                out.append(text + i, size);
                i += size;
                continue;
            }
        } else {
            out += static_cast<char>(c);
        }
        ++i;
    }
    out += '"';
}

void AppendJsonString(std::string& out, const std::string& text) {
    AppendJsonString(out, text.data(), text.size());
}

void AppendJsonFloat(std::string& out, float value) {
    if (std::isnan(value)) {
        out += "\"nan\"";
    } else if (std::isinf(value)) {
        out += value > 0 ? "\"inf\"" : "\"-inf\"";
    } else {
        char number[32];
        std::snprintf(number, sizeof number, "%.9g", double{value});
        out += number;
    }
}

void AppendJsonFloats(std::string& out, const float* values, int count) {
    out += '[';
    for (int i = 0; i < count; ++i) {
        if (i > 0) {
            out += ',';
        }
        AppendJsonFloat(out, values[i]);
    }
    out += ']';
}

void AppendJsonInt(std::string& out, long long value) {
    out += std::to_string(value);
}
