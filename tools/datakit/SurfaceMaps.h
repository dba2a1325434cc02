// Tiling surface textures for the sculptures. Each surface is one set of
// noise fields from which its diffuse colour, its height (bump) and its
// gloss are all derived, so the three maps describe the same surface.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tools/datakit/Image.h"

namespace datakit {

struct SurfaceMaps {
    Image diffuse;
    Image height;  // grey height in R, G, B and alpha: 1 is high
    Image gloss;   // grey gloss in R, G, B and alpha: 1 is mirror-like
};

// A surface's fields at one point of the tile, (x, y) in [0, 1).
struct SurfaceSample {
    Color color;
    double height = 0.5;
    double gloss = 0.5;
};
using SurfaceField = SurfaceSample (*)(double x, double y);

SurfaceSample CarvedStone(double x, double y);
SurfaceSample PatinatedBronze(double x, double y);
SurfaceSample VeinedMarble(double x, double y);
SurfaceSample Obsidian(double x, double y);

SurfaceMaps PaintSurface(SurfaceField field, int size);
// Writes textures/<stem>_diffuse.png, _height.png and _gloss.png under root
// and returns the three file names (without the folder), in slot order.
std::vector<std::string> WriteSurface(const std::filesystem::path& root, const std::string& stem,
                                      SurfaceField field, int size);

}  // namespace datakit
