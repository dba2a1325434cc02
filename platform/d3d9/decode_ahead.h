// Pictures decoded ahead (d3d9::DecodeAhead): a worker thread decodes the
// files start-up will make textures from, with their mipmap chains, while
// start-up does other work; a texture created from one of them takes the
// result.
#pragma once

#include <d3d9.h>

#include "image_file.h"

// The picture for a texture from `file`, with LoadTextureImage's result,
// when the file was queued: the worker's result (waiting for it while it
// decodes), or, when the worker has not started on it, decoded here. False
// when it was not queued. What the worker's decoding threw (memory it could
// not have) is thrown here, as if the picture were decoded here.
bool TakeDecodedAhead(const char* file, HRESULT* result, Image* image);
