// hush-icon: the program's icon made from one of the show's own pictures:
// the picture's centre square, box-filtered down to SIZE x SIZE, as a PNG.
#include <stb_image.h>
#include <stb_image_write.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: hush-icon PICTURE OUT.png SIZE\n");
        return 2;
    }
    const int size = std::atoi(argv[3]);
    int width = 0;
    int height = 0;
    int channels = 0;
    const std::unique_ptr<stbi_uc, void (*)(void*)> pixels(
        stbi_load(argv[1], &width, &height, &channels, 4), &stbi_image_free);
    if (!pixels) {
        std::fprintf(stderr, "hush-icon: cannot read %s: %s\n", argv[1], stbi_failure_reason());
        return 1;
    }
    const int side = std::min(width, height);
    if (size < 1 || size > side) {
        std::fprintf(stderr, "hush-icon: SIZE must lie between 1 and %d\n", side);
        return 2;
    }
    const int left = (width - side) / 2;
    const int top = (height - side) / 2;
    std::vector<unsigned char> icon(static_cast<std::size_t>(size) * size * 4);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            // The source pixels this icon pixel covers, averaged.
            const int x0 = left + x * side / size;
            const int x1 = left + (x + 1) * side / size;
            const int y0 = top + y * side / size;
            const int y1 = top + (y + 1) * side / size;
            for (int c = 0; c < 4; ++c) {
                long sum = 0;
                for (int sy = y0; sy < y1; ++sy) {
                    for (int sx = x0; sx < x1; ++sx) {
                        sum += pixels.get()[(static_cast<std::size_t>(sy) * width + sx) * 4 + c];
                    }
                }
                const long count = static_cast<long>(x1 - x0) * (y1 - y0);
                icon[(static_cast<std::size_t>(y) * size + x) * 4 + c] =
                    static_cast<unsigned char>((sum + count / 2) / count);
            }
        }
    }
    if (stbi_write_png(argv[2], size, size, 4, icon.data(), size * 4) == 0) {
        std::fprintf(stderr, "hush-icon: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
