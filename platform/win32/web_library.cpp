// Libraries in a browser: there is no loader, so a library is linked into
// the program and registered under its name with its exports before main
// runs (win32::RegisterLinkedLibrary); LoadLibraryA finds it by that name.
#include <win32_standin.h>

#include "standin.h"

#include <strings.h>

#include <array>
#include <string>

namespace {

struct LinkedLibrary {
    const char* name;
    const win32::LinkedExport* exports;
    std::size_t count;
};

constexpr std::size_t kMaxLibraries = 4;

// Filled during static initialisation: constant-initialised, so it is
// there whichever registration runs first.
std::array<LinkedLibrary, kMaxLibraries> g_libraries{};
std::size_t g_libraryCount = 0;

// A path's last part: "dir\Name.dll" and "Name.dll" name the same library.
std::string FileName(const char* path) {
    const std::string native = win32::NativePath(path);
    const std::size_t slash = native.find_last_of('/');
    return slash == std::string::npos ? native : native.substr(slash + 1);
}

LinkedLibrary* Find(const std::string& file) {
    for (std::size_t i = 0; i < g_libraryCount; ++i) {
        if (strcasecmp(g_libraries[i].name, file.c_str()) == 0) {
            return &g_libraries[i];
        }
    }
    return nullptr;
}

}  // namespace

namespace win32 {

bool RegisterLinkedLibrary(const char* name, const LinkedExport* exports, std::size_t count) {
    if (g_libraryCount == kMaxLibraries) {
        return false;
    }
    g_libraries[g_libraryCount++] = {name, exports, count};
    return true;
}

}  // namespace win32

extern "C" {

HMODULE WINAPI LoadLibraryA(LPCSTR fileName) {
    if (fileName == nullptr || *fileName == '\0') {
        return nullptr;
    }
    return reinterpret_cast<HMODULE>(Find(FileName(fileName)));
}

FARPROC WINAPI GetProcAddress(HMODULE module, LPCSTR procName) {
    if (module == nullptr || procName == nullptr) {
        return nullptr;
    }
    const LinkedLibrary* library = reinterpret_cast<const LinkedLibrary*>(module);
    for (std::size_t i = 0; i < library->count; ++i) {
        if (std::string(library->exports[i].name) == procName) {
            return library->exports[i].address;
        }
    }
    return nullptr;
}

// A linked library stays for the whole run.
BOOL WINAPI FreeLibrary(HMODULE module) {
    return module != nullptr ? TRUE : FALSE;
}

// Null names the program itself; another name finds a registered library.
HMODULE WINAPI GetModuleHandleW(LPCWSTR moduleName) {
    if (moduleName == nullptr) {
        static int program = 0;
        return reinterpret_cast<HMODULE>(&program);
    }
    return reinterpret_cast<HMODULE>(Find(FileName(win32::detail::Utf8(moduleName).c_str())));
}

}  // extern "C"
