// Checks a shared library file before dlopen maps it: the loader maps the
// file's segments without comparing them to its size, so a library cut short
// inside its code would fault (SIGBUS) on first use instead of failing to load.
#include "standin.h"

#include <link.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace win32::detail {

namespace {

bool ReadAt(std::FILE* file, long offset, void* out, std::size_t size) {
    return std::fseek(file, offset, SEEK_SET) == 0 && std::fread(out, 1, size, file) == size;
}

// [offset, offset + length) lies inside a file of `size` bytes.
bool Inside(std::uint64_t offset, std::uint64_t length, std::uint64_t size) {
    return offset <= size && length <= size - offset;
}

}  // namespace

bool IsFile(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

bool IsWholeSharedObject(const std::string& path) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(OpenRegularFile(path), &std::fclose);
    struct stat status {};
    if (!file || fstat(fileno(file.get()), &status) != 0) {
        return false;
    }
    const auto size = static_cast<std::uint64_t>(status.st_size);
    ElfW(Ehdr) header{};
    if (!ReadAt(file.get(), 0, &header, sizeof header) ||
        std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
        header.e_phentsize != sizeof(ElfW(Phdr)) || header.e_phnum == 0 ||
        !Inside(header.e_phoff, std::uint64_t{header.e_phnum} * sizeof(ElfW(Phdr)), size)) {
        return false;
    }
    std::vector<ElfW(Phdr)> segments(header.e_phnum);
    if (!ReadAt(file.get(), static_cast<long>(header.e_phoff), segments.data(),
                segments.size() * sizeof(ElfW(Phdr)))) {
        return false;
    }
    for (const ElfW(Phdr) & segment : segments) {
        if (!Inside(segment.p_offset, segment.p_filesz, size)) {
            return false;
        }
    }
    return true;
}

}  // namespace win32::detail
