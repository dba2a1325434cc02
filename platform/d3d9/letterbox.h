// Where a picture goes inside a larger or smaller target with its aspect
// kept: as large as fits, centred, the rest left as bars.
#pragma once

struct LetterboxRect {
    int x, y, width, height;
};

LetterboxRect Letterbox(int sourceWidth, int sourceHeight, int targetWidth, int targetHeight);
