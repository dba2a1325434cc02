// Stone, bronze, marble and obsidian fields; every noise here is periodic
// over the unit tile.
#include "tools/datakit/SurfaceMaps.h"

#include <cmath>

#include "tools/datakit/DetMath.h"
#include "tools/datakit/ImageFile.h"
#include "tools/datakit/Noise.h"
#include "tools/datakit/Random.h"

namespace datakit {

SurfaceSample CarvedStone(double x, double y) {
    double body = Fbm(x * 4.0, y * 4.0, 6, 2001, {4, 4});
    double tone = Fbm(x * 3.0, y * 3.0, 4, 2003, {3, 3});
    Cells blocks = Worley(x * 6.0, y * 6.0, 2005, {6, 6}, 0.7);
    double crack = SmoothStep(0.0, 0.07, blocks.f2 - blocks.f1);
    Cells pores = Worley(x * 40.0, y * 40.0, 2007, {40, 40});
    double pit = SmoothStep(0.22, 0.08, pores.f1);
    double lichen = SmoothStep(0.35, 0.6, Fbm(x * 5.0, y * 5.0, 5, 2009, {5, 5}));
    double height = Saturate(0.55 + 0.25 * body - 0.4 * (1.0 - crack) - 0.12 * pit);
    Color c = Mix(Rgb8(84, 78, 70), Rgb8(160, 150, 134), 0.5 + 0.5 * tone);
    c = c * (0.8 + 0.3 * height);
    c = Mix(c, Rgb8(112, 118, 72), lichen * 0.45 * height);
    c = c * (0.45 + 0.55 * crack);
    double gloss = Saturate(0.15 + 0.4 * SmoothStep(0.4, 0.85, height) * (1.0 - lichen) * crack);
    return {c, height, gloss};
}

SurfaceSample PatinatedBronze(double x, double y) {
    // Hammered metal: shallow dents, fine brushing, and verdigris gathered
    // in broad, low patches.
    Cells dents = Worley(x * 12.0, y * 12.0, 2101, {12, 12});
    double dent = dents.f1 * dents.f1;
    double brushing = Fbm(x * 2.0, y * 48.0, 3, 2103, {2, 48});
    double crustNoise = Fbm(x * 4.0, y * 4.0, 6, 2105, {4, 4});
    double metal = 0.62 + 0.18 * dent + 0.03 * brushing;
    double patina = SmoothStep(0.1, 0.45, crustNoise + 0.4 * (0.7 - metal));
    double height = Saturate(metal + 0.1 * patina * (0.6 + 0.4 * crustNoise));
    Color bright = Mix(Rgb8(128, 88, 48), Rgb8(198, 152, 94), SmoothStep(0.6, 0.8, metal));
    bright = bright * (0.92 + 0.08 * brushing);
    Color verdigris = Mix(Rgb8(46, 84, 72), Rgb8(92, 134, 112), 0.5 + 0.5 * crustNoise);
    Color c = Mix(bright, verdigris, patina);
    double gloss = Saturate(Lerp(0.8, 0.12, patina) - 0.08 * std::fabs(brushing));
    return {c, height, gloss};
}

SurfaceSample VeinedMarble(double x, double y) {
    double warp = Fbm(x * 3.0, y * 3.0, 6, 2201, {3, 3});
    double vein =
        1.0 - SmoothStep(0.0, 0.09, std::fabs(Sin(kTwoPi * (x * 2.0 + y * 1.0) + 3.2 * warp)));
    double fine =
        1.0 - SmoothStep(0.0, 0.05, std::fabs(Sin(kTwoPi * (x * 5.0 - y * 3.0) + 4.0 * warp)));
    double cloud = Fbm(x * 5.0, y * 5.0, 5, 2203, {5, 5});
    double veins = Saturate(vein + 0.45 * fine);
    Color c = Mix(Rgb8(214, 205, 190), Rgb8(236, 230, 218), 0.5 + 0.5 * cloud);
    c = Mix(c, Mix(Rgb8(120, 104, 84), Rgb8(168, 130, 70), 0.5 + 0.5 * warp), veins * 0.75);
    double height = Saturate(0.7 + 0.08 * cloud - 0.22 * veins);
    double gloss = Saturate(0.85 - 0.45 * veins);
    return {c, height, gloss};
}

SurfaceSample Obsidian(double x, double y) {
    double flow = Fbm(x * 2.0, y * 2.0, 5, 2301, {2, 2});
    double bands = 0.5 + 0.5 * Sin(kTwoPi * (y * 3.0) + 5.0 * flow);
    Cells chips = Worley(x * 7.0, y * 7.0, 2303, {7, 7}, 0.7);
    double scallop = chips.f1 * chips.f1;
    double fracture = 1.0 - SmoothStep(0.0, 0.05, chips.f2 - chips.f1);
    double fleck = SmoothStep(0.985, 1.0, Unit(chips.id)) * SmoothStep(0.12, 0.05, chips.f1);
    Color c = Mix(Rgb8(10, 10, 13), Rgb8(30, 27, 34), bands * 0.8);
    c = Mix(c, Rgb8(150, 90, 40), fleck);
    c = c + Rgb8(40, 40, 46) * (fracture * 0.6);
    double height = Saturate(0.6 - 0.35 * scallop - 0.25 * fracture);
    double gloss = Saturate(0.92 - 0.5 * fracture);
    return {c, height, gloss};
}

SurfaceMaps PaintSurface(SurfaceField field, int size) {
    SurfaceMaps maps{Image(size, size), Image(size, size), Image(size, size)};
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            SurfaceSample s = field((x + 0.5) / size, (y + 0.5) / size);
            maps.diffuse.Set(x, y, {Saturate(s.color.r), Saturate(s.color.g), Saturate(s.color.b)});
            maps.height.Set(x, y, {s.height, s.height, s.height}, s.height);
            maps.gloss.Set(x, y, {s.gloss, s.gloss, s.gloss}, s.gloss);
        }
    }
    return maps;
}

std::vector<std::string> WriteSurface(const std::filesystem::path& root, const std::string& stem,
                                      SurfaceField field, int size) {
    SurfaceMaps maps = PaintSurface(field, size);
    std::vector<std::string> names{stem + "_diffuse.png", stem + "_height.png",
                                   stem + "_gloss.png"};
    WriteImage(maps.diffuse, root / "textures" / names[0], ImageFormat::Png);
    WriteImage(maps.height, root / "textures" / names[1], ImageFormat::PngWithAlpha);
    WriteImage(maps.gloss, root / "textures" / names[2], ImageFormat::PngWithAlpha);
    return names;
}

}  // namespace datakit
