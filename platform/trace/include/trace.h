// The call trace: JSON Lines of every render-device, effect and draw call and
// of each frame's music values, written in call order by the show, the render
// device library and the Direct3D stand-in into one file. Off, each writer
// costs one test of a flag.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(HUSH_TRACE_BUILD)
#define TRACE_API __attribute__((visibility("default")))
#else
#define TRACE_API
#endif

namespace trace {

TRACE_API extern bool g_on;

inline bool On() {
    return g_on;
}

// Starts tracing into path (truncated); false when it cannot be opened.
TRACE_API bool Open(const char* path);
// Flushes and stops tracing.
TRACE_API void Close();

// One JSON object, built in a fixed buffer and written as one line when it
// goes out of scope; it allocates nothing. Numbers are written so that a
// 32-bit float round-trips (9 significant digits); NaN and infinities as the
// strings "nan", "inf" and "-inf".
class TRACE_API Line {
public:
    // Opens the object with its first member, {"<key>":"<value>".
    Line(const char* key, const char* value);
    // Opens the object with a numeric first member, {"<key>":<value>.
    Line(const char* key, std::int64_t value);
    ~Line();
    Line(const Line&) = delete;
    Line& operator=(const Line&) = delete;

    Line& Str(const char* key, const char* value);
    Line& Int(const char* key, std::int64_t value);
    Line& UInt(const char* key, std::uint64_t value);
    Line& Float(const char* key, float value);
    Line& Floats(const char* key, const float* values, std::size_t count);

private:
    void Key(const char* key);
    void Raw(const char* text);
    void Char(char c);
    void Number(float value);
    void Quoted(const char* text);

    // A frame line carries 1536 floats of at most 16 characters each.
    static constexpr std::size_t kCapacity = 32768;
    char buffer_[kCapacity];
    std::size_t length_ = 0;
    bool overflow_ = false;
};

}  // namespace trace
