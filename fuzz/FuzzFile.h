// The fuzz targets' input as a file: the show opens its files by name, so
// each input is written to one file per process and opened from there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

namespace fuzz {

// A path under $TMPDIR (or /tmp) that names this process and kind of file.
inline std::string InputPath(const char* stem, const char* extension) {
    const char* folder = std::getenv("TMPDIR");
    return std::string(folder != nullptr ? folder : "/tmp") + "/" + stem + "_" +
           std::to_string(getpid()) + extension;
}

// False when the file cannot be written (the input is then skipped).
inline bool WriteInput(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

}  // namespace fuzz
