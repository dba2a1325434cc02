// Test files in a folder under the test temp directory.
#include "d3d9_test_files.h"

#include <gtest/gtest.h>
#include <stb_image_write.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace d3d9test {

std::string TestPath(const std::string& name) {
    static const std::string folder = [] {
        const std::filesystem::path path =
            std::filesystem::path(testing::TempDir()) / ("hush_d3d9_" + std::to_string(getpid()));
        std::filesystem::create_directories(path);
        return path.string();
    }();
    return folder + "/" + name;
}

std::string WriteTextFile(const std::string& name, const std::string& text) {
    const std::string path = TestPath(name);
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

std::string WriteImage(const std::string& name, int width, int height,
                       const std::vector<std::uint32_t>& rgbaPixels) {
    std::vector<unsigned char> bytes;
    for (std::uint32_t pixel : rgbaPixels) {
        bytes.push_back(static_cast<unsigned char>(pixel >> 24));
        bytes.push_back(static_cast<unsigned char>(pixel >> 16));
        bytes.push_back(static_cast<unsigned char>(pixel >> 8));
        bytes.push_back(static_cast<unsigned char>(pixel));
    }
    const std::string path = TestPath(name);
    const std::string ending = name.size() > 4 ? name.substr(name.size() - 4) : "";
    constexpr int kJpegQuality = 90;
    const int written =
        ending == ".tga" ? stbi_write_tga(path.c_str(), width, height, 4, bytes.data())
        : ending == ".jpg"
            ? stbi_write_jpg(path.c_str(), width, height, 4, bytes.data(), kJpegQuality)
            : stbi_write_png(path.c_str(), width, height, 4, bytes.data(), width * 4);
    EXPECT_NE(written, 0) << path;
    return path;
}

}  // namespace d3d9test
