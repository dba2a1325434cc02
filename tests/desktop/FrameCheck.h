// What a screenshot of the show must look like: the 1024x768 frame as large
// as it fits, centred, black bars around it, and the picture inside the same
// as the capture's frame at that show time.
#pragma once

#include "tests/desktop/XSession.h"

#include <string>

namespace hushtest {

// Where the 4:3 frame belongs in a width x height screen or window.
Rect ExpectedFrame(int width, int height);

// The smallest rectangle holding every pixel brighter than black.
Rect PictureBounds(const Image& image);

// Pixels brighter than black outside the frame (with a pixel of slack for
// the scaled edge).
int LitPixelsOutside(const Image& image, const Rect& frame);

// Mean difference (0 to 255) between the frame's rectangle of the image and
// the reference, both averaged over a coarse grid: scaling filters and the
// particles' motion between frames hardly count, a wrong picture does.
double CoarseDifference(const Image& image, const Rect& frame, const Image& reference);

std::string Describe(const Rect& rect);

// The image read from a PNG file; empty when it cannot be read.
Image ReadPng(const std::string& path);

}  // namespace hushtest
