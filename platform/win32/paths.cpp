// System paths: the system keeps Windows paths with backslashes; here they
// become native paths.
#include <win32_standin.h>

#include "standin.h"

#include <unistd.h>

#include <climits>
#include <cstring>

namespace win32 {

std::string NativePath(const char* path) {
    std::string native = path != nullptr ? path : "";
    for (char& c : native) {
        if (c == '\\') {
            c = '/';
        }
    }
    return native;
}

std::FILE* OpenFile(const char* path, const char* mode) {
    if (path == nullptr || mode == nullptr) {
        return nullptr;
    }
    const std::string native = NativePath(path);
    if (std::strcmp(mode, "r") == 0 || std::strcmp(mode, "rb") == 0) {
        return detail::OpenRegularFile(native);
    }
    return std::fopen(native.c_str(), mode);
}

std::string ExecutableDir() {
    char buffer[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) {
        return "./";
    }
    std::string path(buffer, static_cast<std::size_t>(n));
    return path.substr(0, path.find_last_of('/') + 1);
}

}  // namespace win32
