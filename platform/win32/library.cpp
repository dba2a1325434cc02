// Libraries loaded at run time: "Name.dll" is this platform's "libName.so",
// looked for beside the executable first and then where dlopen looks.
#include <win32_standin.h>

#include "standin.h"

#include <dlfcn.h>
#include <strings.h>

#include <string>

namespace {

constexpr const char* kWindowsSuffix = ".dll";
constexpr std::size_t kWindowsSuffixLength = 4;

bool EndsWithDll(const std::string& name) {
    return name.size() > kWindowsSuffixLength &&
           strcasecmp(name.c_str() + name.size() - kWindowsSuffixLength, kWindowsSuffix) == 0;
}

struct MappedName {
    std::string folder;  // with a trailing '/', or empty for a bare name
    std::string file;
};

// "dir\Name.dll" -> {"dir/", "libName.so"}; any other name stays as it is.
MappedName MapName(const char* fileName) {
    const std::string native = win32::NativePath(fileName);
    const std::size_t slash = native.find_last_of('/');
    MappedName mapped;
    mapped.folder = slash == std::string::npos ? "" : native.substr(0, slash + 1);
    mapped.file = slash == std::string::npos ? native : native.substr(slash + 1);
    if (EndsWithDll(mapped.file)) {
        mapped.file =
            "lib" + mapped.file.substr(0, mapped.file.size() - kWindowsSuffixLength) + ".so";
    }
    return mapped;
}

HMODULE Open(const std::string& path, int flags) {
    return static_cast<HMODULE>(dlopen(path.c_str(), flags));
}

// A file named by its path is checked before it is mapped.
HMODULE OpenWhole(const std::string& path, int flags) {
    if (!win32::detail::IsWholeSharedObject(path)) {
        return nullptr;
    }
    return Open(path, flags);
}

}  // namespace

extern "C" {

HMODULE WINAPI LoadLibraryA(LPCSTR fileName) {
    if (fileName == nullptr || *fileName == '\0') {
        return nullptr;
    }
    const MappedName mapped = MapName(fileName);
    constexpr int kFlags = RTLD_NOW | RTLD_LOCAL;
    if (!mapped.folder.empty()) {
        return OpenWhole(mapped.folder + mapped.file, kFlags);
    }
    // As on Windows, the first file the search finds is the one loaded: a
    // broken library beside the executable is not passed over for another.
    const std::string beside = win32::ExecutableDir() + mapped.file;
    if (win32::detail::IsFile(beside)) {
        return OpenWhole(beside, kFlags);
    }
    return Open(mapped.file, kFlags);
}

FARPROC WINAPI GetProcAddress(HMODULE module, LPCSTR procName) {
    if (module == nullptr || procName == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<FARPROC>(dlsym(module, procName));
}

BOOL WINAPI FreeLibrary(HMODULE module) {
    if (module == nullptr) {
        return FALSE;
    }
    return dlclose(module) == 0 ? TRUE : FALSE;
}

// Null names the executable; another name finds a library already loaded.
HMODULE WINAPI GetModuleHandleW(LPCWSTR moduleName) {
    if (moduleName == nullptr) {
        static void* const executable = dlopen(nullptr, RTLD_NOW);
        return static_cast<HMODULE>(executable);
    }
    const MappedName mapped = MapName(win32::detail::Utf8(moduleName).c_str());
    void* module = dlopen((mapped.folder + mapped.file).c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (module != nullptr) {
        // Win32 hands out this handle without a reference.
        dlclose(module);
    }
    return static_cast<HMODULE>(module);
}

}  // extern "C"
