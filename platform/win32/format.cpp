// wsprintfW with Win32's rules: %s is a wide string and %S a narrow one, the
// integer types are 32 bits wide, and the output stops at 1024 characters.
#include <windows.h>

#include <cstdarg>

namespace {

// wsprintf's buffer limit, the terminating zero included.
constexpr int kMaxOutput = 1024;

class Output {
public:
    explicit Output(LPWSTR buffer) : buffer_(buffer) {}

    void Put(wchar_t c) {
        if (count_ < kMaxOutput - 1) {
            buffer_[count_++] = c;
        }
    }
    void Repeat(wchar_t c, int times) {
        for (int i = 0; i < times; ++i) {
            Put(c);
        }
    }
    int Finish() {
        buffer_[count_] = L'\0';
        return count_;
    }

private:
    LPWSTR buffer_;
    int count_ = 0;
};

struct Conversion {
    bool leftAlign = false;
    bool zeroPad = false;
    bool alternate = false;  // '#': 0x before hexadecimal digits
    int width = 0;
    int precision = -1;  // none given
    char size = 0;       // 'h' or 'l'
    wchar_t type = 0;
};

const wchar_t* ParseNumber(const wchar_t* p, int* value) {
    *value = 0;
    while (*p >= L'0' && *p <= L'9') {
        if (*value < kMaxOutput) {
            *value = *value * 10 + (*p - L'0');
        }
        ++p;
    }
    return p;
}

// Parses what follows a '%': flags, width, precision, size and type.
const wchar_t* ParseConversion(const wchar_t* p, Conversion* conversion) {
    for (;; ++p) {
        if (*p == L'-') {
            conversion->leftAlign = true;
        } else if (*p == L'0') {
            conversion->zeroPad = true;
        } else if (*p == L'#') {
            conversion->alternate = true;
        } else {
            break;
        }
    }
    p = ParseNumber(p, &conversion->width);
    if (*p == L'.') {
        p = ParseNumber(p + 1, &conversion->precision);
    }
    if (*p == L'h' || *p == L'l') {
        conversion->size = static_cast<char>(*p);
        ++p;
    }
    conversion->type = *p;
    return *p != L'\0' ? p + 1 : p;
}

// Text of a string conversion: narrow or wide characters, cut at the
// precision, padded to the width.
template <typename Char>
void PutText(Output& out, const Conversion& conversion, const Char* text) {
    static constexpr Char kNull[] = {'(', 'n', 'u', 'l', 'l', ')', '\0'};
    if (text == nullptr) {
        text = kNull;
    }
    int length = 0;
    while (text[length] != 0 && (conversion.precision < 0 || length < conversion.precision)) {
        ++length;
    }
    const int padding = conversion.width > length ? conversion.width - length : 0;
    if (!conversion.leftAlign) {
        out.Repeat(L' ', padding);
    }
    for (int i = 0; i < length; ++i) {
        if constexpr (sizeof(Char) == 1) {
            out.Put(static_cast<wchar_t>(static_cast<unsigned char>(text[i])));
        } else {
            out.Put(static_cast<wchar_t>(text[i]));
        }
    }
    if (conversion.leftAlign) {
        out.Repeat(L' ', padding);
    }
}

void PutInteger(Output& out, const Conversion& conversion, unsigned int magnitude, bool negative) {
    const bool hex = conversion.type == L'x' || conversion.type == L'X';
    const wchar_t* digitSet = conversion.type == L'X' ? L"0123456789ABCDEF" : L"0123456789abcdef";
    const unsigned int base = hex ? 16 : 10;

    wchar_t digits[16];
    int digitCount = 0;
    do {
        digits[digitCount++] = digitSet[magnitude % base];
        magnitude /= base;
    } while (magnitude != 0);

    const int precisionZeros =
        conversion.precision > digitCount ? conversion.precision - digitCount : 0;
    const wchar_t* prefix = negative ? L"-"
                            : hex && conversion.alternate
                                ? (conversion.type == L'X' ? L"0X" : L"0x")
                                : L"";
    int prefixLength = 0;
    while (prefix[prefixLength] != L'\0') {
        ++prefixLength;
    }
    const int length = prefixLength + precisionZeros + digitCount;
    const int padding = conversion.width > length ? conversion.width - length : 0;
    const bool zeroFill = conversion.zeroPad && !conversion.leftAlign;

    if (!conversion.leftAlign && !zeroFill) {
        out.Repeat(L' ', padding);
    }
    for (int i = 0; i < prefixLength; ++i) {
        out.Put(prefix[i]);
    }
    if (zeroFill) {
        out.Repeat(L'0', padding);
    }
    out.Repeat(L'0', precisionZeros);
    while (digitCount > 0) {
        out.Put(digits[--digitCount]);
    }
    if (conversion.leftAlign) {
        out.Repeat(L' ', padding);
    }
}

void PutConversion(Output& out, const Conversion& conversion, std::va_list& args) {
    switch (conversion.type) {
        case L'd':
        case L'i': {
            const int value = va_arg(args, int);
            const unsigned int magnitude = value < 0 ? 0u - static_cast<unsigned int>(value)
                                                     : static_cast<unsigned int>(value);
            PutInteger(out, conversion, magnitude, value < 0);
            break;
        }
        case L'u':
        case L'x':
        case L'X':
            PutInteger(out, conversion, va_arg(args, unsigned int), false);
            break;
        case L's':
        case L'S': {
            // %s is wide in wsprintfW unless 'h' says narrow; %S the reverse.
            const bool wide =
                conversion.type == L's' ? conversion.size != 'h' : conversion.size == 'l';
            if (wide) {
                PutText(out, conversion, va_arg(args, const wchar_t*));
            } else {
                PutText(out, conversion, va_arg(args, const char*));
            }
            break;
        }
        case L'c':
        case L'C': {
            const bool wide =
                conversion.type == L'c' ? conversion.size != 'h' : conversion.size == 'l';
            const int value = va_arg(args, int);
            const wchar_t character = wide
                                          ? static_cast<wchar_t>(value)
                                          : static_cast<wchar_t>(static_cast<unsigned char>(value));
            const wchar_t text[2] = {character, L'\0'};
            PutText(out, conversion, text);
            break;
        }
        case L'\0':
            break;
        default:
            // Unknown types, "%%" among them, stand for themselves.
            out.Put(conversion.type);
            break;
    }
}

}  // namespace

extern "C" {

int WINAPI wsprintfW(LPWSTR buffer, LPCWSTR format, ...) {
    if (buffer == nullptr) {
        return 0;
    }
    Output out(buffer);
    if (format == nullptr) {
        return out.Finish();
    }
    std::va_list args;
    va_start(args, format);
    for (const wchar_t* p = format; *p != L'\0';) {
        if (*p != L'%') {
            out.Put(*p++);
            continue;
        }
        Conversion conversion;
        p = ParseConversion(p + 1, &conversion);
        PutConversion(out, conversion, args);
    }
    va_end(args);
    return out.Finish();
}

}  // extern "C"
