// The HTML log's two writers: each call opens the file for appending, writes
// one line and closes it, so every line is on disk when the call returns.
#include "app/HtmlLog.h"

#include <win32_standin.h>

#include <cstdarg>
#include <cstring>
#include <string>

HtmlLog g_htmlLog = {nullptr, false, {}};

namespace {

constexpr const char* kErrorPrefix = "<font face=\"Arial\" size=\"2\" color=\"#FF0000\"><b>";
constexpr const char* kErrorSuffix = "</b></font><br>\n";
constexpr const char* kMessagePrefix = "<font face=\"Arial\" size=\"2\" color=\"#000000\">";
constexpr const char* kMessageSuffix = "</font><br>\n";

HtmlLogHook g_hook = nullptr;
void* g_hookUser = nullptr;

void PassToHook(bool error, const char* format, std::va_list args) {
    std::va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    std::string text(length > 0 ? static_cast<std::size_t>(length) : 0, '\0');
    std::vsnprintf(text.data(), text.size() + 1, format, args);
    g_hook(g_hookUser, error, text.c_str());
}

void WriteLine(bool error, const char* format, std::va_list args) {
    if (g_hook != nullptr) {
        std::va_list copy;
        va_copy(copy, args);
        PassToHook(error, format, copy);
        va_end(copy);
    }
    if (!g_htmlLog.enabled) {
        return;
    }
    g_htmlLog.file = win32::OpenFile(g_htmlLog.fileName, "a+");
    if (g_htmlLog.file == nullptr) {
        return;
    }
    std::fputs(error ? kErrorPrefix : kMessagePrefix, g_htmlLog.file);
    std::vfprintf(g_htmlLog.file, format, args);
    std::fputs(error ? kErrorSuffix : kMessageSuffix, g_htmlLog.file);
    std::fclose(g_htmlLog.file);
    g_htmlLog.file = nullptr;
}

}  // namespace

void SetHtmlLogHook(HtmlLogHook hook, void* user) {
    g_hook = hook;
    g_hookUser = user;
}

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
    WriteLine(true, format, args);
    va_end(args);
}

void LogMessage(const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    WriteLine(false, format, args);
    va_end(args);
}
