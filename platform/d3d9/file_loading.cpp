// Effect and picture files read through the Win32 stand-in's paths.
#include "file_loading.h"

#include <win32_standin.h>

#include <cstdio>
#include <memory>

HRESULT LoadEffectFile(const char* path, EffectFile* file, std::string* errors) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> stream(win32::OpenFile(path, "rb"),
                                                           &std::fclose);
    if (!stream) {
        return kFileNotFound;
    }
    std::string text;
    char chunk[4096];
    std::size_t n;
    // A file that grows while it is read ends at the size any file may have.
    while ((n = std::fread(chunk, 1, sizeof chunk, stream.get())) > 0) {
        if (static_cast<long long>(text.size() + n) > win32::kMaxReadableFileBytes) {
            return kFileNotFound;
        }
        text.append(chunk, n);
    }
    if (std::ferror(stream.get())) {
        return kFileNotFound;
    }
    return ParseEffectFile(path, std::move(text), file, errors) ? D3D_OK : E_FAIL;
}

HRESULT LoadTextureImage(const char* path, Image* image) {
    switch (LoadImageFile(path, image)) {
        case ImageLoad::Loaded:
            return D3D_OK;
        case ImageLoad::Missing:
            return kFileNotFound;
        case ImageLoad::Undecodable:
            return D3DXERR_INVALIDDATA;
    }
    return E_FAIL;
}
