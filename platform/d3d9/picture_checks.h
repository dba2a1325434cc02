// Checks on a picture file before the decoder sees it, for what the decoder
// would otherwise trust: which format it is and how long its PNG chunks are.
#pragma once

#include <cstdio>

// True for a JPEG, a PNG or a TGA by their first bytes. The decoder also reads
// BMP, GIF, PSD, PIC, PNM and Radiance HDR; those are refused, the last
// because its floating-point pixels would take four times the memory the
// picture size bound allows for.
bool IsJpegPngOrTga(std::FILE* file);

// True unless the file is a PNG with a chunk, up to its IEND, that claims
// more bytes than the file holds. The decoder grows its compressed-data buffer
// to whatever a chunk claims before reading it, so a few hundred bytes could
// otherwise ask for gigabytes. Files that are not PNG pass.
bool PngChunksFitTheFile(std::FILE* file);

// Both put the file position back where it was.
