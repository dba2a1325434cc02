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

// True unless the file is a JPEG or a TGA far too small for a picture of
// `pixels` pixels. The decoder fills what a file lacks with black, so a few
// bytes whose header claims the largest picture would cost its whole decoding
// (a 1.5 KB JPEG claiming 16384 x 4096: 15 s and 830 MB more at start-up).
// A file holding at least a quarter of what the densest coding of its format
// needs passes: a picture cut short still shows the rows that are there.
bool PixelsCouldBeInTheFile(std::FILE* file, long long pixels);

// All three put the file position back where it was.
