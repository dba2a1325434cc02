// The HTML log's two writers: each call opens the file for appending, writes
// one line and closes it, so every line is on disk when the call returns.
#include "app/HtmlLog.h"

#include <win32_standin.h>

#include <cstdarg>
#include <cstring>

HtmlLog g_htmlLog = {nullptr, false, {}};

namespace {

constexpr const char* kErrorPrefix = "<font face=\"Arial\" size=\"2\" color=\"#FF0000\"><b>";
constexpr const char* kErrorSuffix = "</b></font><br>\n";
constexpr const char* kMessagePrefix = "<font face=\"Arial\" size=\"2\" color=\"#000000\">";
constexpr const char* kMessageSuffix = "</font><br>\n";

void WriteLine(const char* prefix, const char* suffix, const char* format, std::va_list args) {
    if (!g_htmlLog.enabled) {
        return;
    }
    g_htmlLog.file = win32::OpenFile(g_htmlLog.fileName, "a+");
    if (g_htmlLog.file == nullptr) {
        return;
    }
    std::fputs(prefix, g_htmlLog.file);
    std::vfprintf(g_htmlLog.file, format, args);
    std::fputs(suffix, g_htmlLog.file);
    std::fclose(g_htmlLog.file);
    g_htmlLog.file = nullptr;
}

}  // namespace

bool EnableHtmlLog(const char* fileName) {
    if (fileName == nullptr || std::strlen(fileName) >= HtmlLog::kFileNameSize) {
        g_htmlLog.enabled = false;
        g_htmlLog.fileName[0] = '\0';
        return fileName == nullptr;
    }
    std::strcpy(g_htmlLog.fileName, fileName);
    g_htmlLog.enabled = true;
    return true;
}

void LogError(const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    WriteLine(kErrorPrefix, kErrorSuffix, format, args);
    va_end(args);
}

void LogMessage(const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    WriteLine(kMessagePrefix, kMessageSuffix, format, args);
    va_end(args);
}
