// Reading the files that D3DX creates textures and effects from, with the
// results both backends return for them.
#pragma once

#include <d3dx9.h>

#include "effect_file.h"
#include "image_file.h"

#include <string>

// HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND): what D3DX returns for a file
// that is not there.
constexpr HRESULT kFileNotFound = static_cast<HRESULT>(0x80070002);

// A missing or unreadable file: kFileNotFound and no error text. A file that
// does not parse: E_FAIL with "<path>(<line>): error: <message>".
HRESULT LoadEffectFile(const char* path, EffectFile* file, std::string* errors);

// A missing file: kFileNotFound; one that does not decode:
// D3DXERR_INVALIDDATA.
HRESULT LoadTextureImage(const char* path, Image* image);
