// Text conversion between the system's wide strings and SDL's UTF-8.
#include "standin.h"

namespace win32::detail {

std::string Utf8(LPCWSTR text) {
    std::string out;
    if (text == nullptr) {
        return out;
    }
    for (const wchar_t* p = text; *p != L'\0'; ++p) {
        const auto c = static_cast<std::uint32_t>(*p);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// The system's narrow texts are Latin-1 (ANSI code page), byte for character.
std::wstring Wide(LPCSTR text) {
    std::wstring out;
    if (text != nullptr) {
        for (const char* p = text; *p != '\0'; ++p) {
            out += static_cast<wchar_t>(static_cast<unsigned char>(*p));
        }
    }
    return out;
}

}  // namespace win32::detail
