// The letterbox rectangle, in whole pixels.
#include "letterbox.h"

#include <cstdint>

LetterboxRect Letterbox(int sourceWidth, int sourceHeight, int targetWidth, int targetHeight) {
    if (sourceWidth <= 0 || sourceHeight <= 0 || targetWidth <= 0 || targetHeight <= 0) {
        return {0, 0, 0, 0};
    }
    int width = targetWidth;
    int height = targetHeight;
    // Compare the aspects without division: the target is wider when
    // targetWidth / targetHeight > sourceWidth / sourceHeight.
    const std::int64_t wide = std::int64_t(targetWidth) * sourceHeight;
    const std::int64_t tall = std::int64_t(targetHeight) * sourceWidth;
    if (wide > tall) {
        width = int((std::int64_t(targetHeight) * sourceWidth + sourceHeight / 2) / sourceHeight);
    } else if (wide < tall) {
        height = int((std::int64_t(targetWidth) * sourceHeight + sourceWidth / 2) / sourceWidth);
    }
    return {(targetWidth - width) / 2, (targetHeight - height) / 2, width, height};
}
