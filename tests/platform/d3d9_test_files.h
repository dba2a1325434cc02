// Files the Direct3D stand-in's tests load: effect text and pictures written
// into a fresh folder per test program.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace d3d9test {

// A path in the test folder (created on first use).
std::string TestPath(const std::string& name);

// Writes text to the test folder and returns its path.
std::string WriteTextFile(const std::string& name, const std::string& text);

// Writes a PNG (TGA or JPEG when the name ends in .tga or .jpg) of RGBA
// pixels (0xRRGGBBAA), row 0 at the top, and returns its path.
std::string WriteImage(const std::string& name, int width, int height,
                       const std::vector<std::uint32_t>& rgbaPixels);

}  // namespace d3d9test
