// The HTML log: each message becomes one line of an HTML file, red and bold
// for failures, black otherwise. Off by default; every write then returns at
// once and no file is touched.
#pragma once

#include <cstddef>
#include <cstdio>

struct HtmlLog {
    static constexpr std::size_t kFileNameSize = 256;

    std::FILE* file;  // only during a write
    bool enabled;
    char fileName[kFileNameSize];
};

// The one log object every writer shares.
extern HtmlLog g_htmlLog;

// Turns the log on, appending to fileName (a name longer than the buffer is
// refused and leaves the log off). Null turns it off.
bool EnableHtmlLog(const char* fileName);

// A capture hook for tools and tests: when set, every LogError/LogMessage
// also hands its formatted text (without the HTML around it) to the hook,
// whether the file log is on or not. Null removes it.
using HtmlLogHook = void (*)(void* user, bool error, const char* text);
void SetHtmlLogHook(HtmlLogHook hook, void* user);

void LogError(const char* format, ...) __attribute__((format(printf, 1, 2)));
void LogMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));
