// The generated folder as the show sees it: repeatable to the byte, checked
// by its manifest, every file the show opens present and of the right shape.
#include <gtest/gtest.h>
#include <stb_image.h>
#include <unistd.h>

#include <cmath>
#include <fstream>
#include <regex>
#include <sstream>

#include "GeneratedMedia.h"
#include "tools/datakit/Manifest.h"

namespace {

using datakit_test::Media;
using datakit_test::ReadBytes;
using datakit_test::RunDatakit;

// Every media file the show opens, in its own spelling.
const char* const kShowFiles[] = {
    "data\\music\\hush_master_mix.mp3",
    "data\\models\\w.mm",
    "data\\models\\q.mm",
    "data\\textures\\death_is_waiting.jpg",
    "data\\textures\\Waiting_For_Death_To_Come_by_Velimar.jpg",
    "data\\textures\\nothing.png",
    "data\\textures\\F_l_o_u_r_i_s_h.jpg",
    "data\\textures\\nny.png",
    "data\\textures\\vic.png",
    "data\\textures\\n.png",
    "textures\\scratch_messymiddle_mk_.tga",
    "data\\textures\\Dream_With_Me_by_Ostrelle.jpg",
    "textures\\holeball.tga",
    "data\\textures\\flare.tga",
};

std::filesystem::path Native(std::string path) {
    for (char& c : path) {
        if (c == '\\') {
            c = '/';
        }
    }
    return path;
}

struct Picture {
    int width = 0, height = 0, channels = 0;
    std::vector<unsigned char> pixels;  // RGBA
};

Picture Load(const std::filesystem::path& file) {
    Picture p;
    unsigned char* data = stbi_load(file.c_str(), &p.width, &p.height, &p.channels, 4);
    if (data != nullptr) {
        p.pixels.assign(data, data + static_cast<size_t>(p.width) * p.height * 4);
        stbi_image_free(data);
    }
    return p;
}

TEST(DatakitOutput, IsTheSameToTheByteOnEveryRun) {
    std::vector<datakit::ManifestEntry> first, second;
    ASSERT_TRUE(datakit::ReadManifest(Media().first, first));
    ASSERT_TRUE(datakit::ReadManifest(Media().second, second));
    ASSERT_EQ(first.size(), second.size());
    for (size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(first[i].path, second[i].path);
        EXPECT_EQ(first[i].sha256, second[i].sha256) << first[i].path;
    }
    EXPECT_EQ(ReadBytes(Media().first / "data/music/hush_master_mix.mp3"),
              ReadBytes(Media().second / "data/music/hush_master_mix.mp3"));
}

TEST(DatakitOutput, CheckPassesUntouchedAndNamesAChangedOrMissingFile) {
    std::string output;
    EXPECT_EQ(RunDatakit("--check '" + Media().first.string() + "'", &output), 0) << output;

    auto copy =
        std::filesystem::temp_directory_path() / ("datakit_check_" + std::to_string(::getpid()));
    std::filesystem::remove_all(copy);
    std::filesystem::copy(Media().first, copy, std::filesystem::copy_options::recursive);
    {
        std::fstream f(copy / "data/textures/vic.png",
                       std::ios::in | std::ios::out | std::ios::binary);
        f.seekg(1000);
        char c = 0;
        f.read(&c, 1);
        c = static_cast<char>(c ^ 1);
        f.seekp(1000);
        f.write(&c, 1);
    }
    EXPECT_NE(RunDatakit("--check '" + copy.string() + "'", &output), 0);
    EXPECT_NE(output.find("data/textures/vic.png"), std::string::npos) << output;
    EXPECT_EQ(output.find("data/textures/nny.png"), std::string::npos) << output;

    std::filesystem::remove(copy / "data/models/q.mm");
    EXPECT_NE(RunDatakit("--check '" + copy.string() + "'", &output), 0);
    EXPECT_NE(output.find("data/models/q.mm"), std::string::npos) << output;
    std::filesystem::remove_all(copy);
}

TEST(DatakitOutput, HoldsEveryFileTheShowOpensAndListsIt) {
    std::vector<datakit::ManifestEntry> entries;
    ASSERT_TRUE(datakit::ReadManifest(Media().first, entries));
    for (const char* file : kShowFiles) {
        std::filesystem::path path = Native(file);
        EXPECT_TRUE(std::filesystem::is_regular_file(Media().first / path)) << file;
        bool listed = false;
        for (const auto& e : entries) {
            listed = listed || e.path == path.string();
        }
        EXPECT_TRUE(listed) << file;
    }
}

TEST(DatakitOutput, PicturesHaveTheShapesTheirQuadsNeed) {
    const std::filesystem::path root = Media().first;
    for (const char* file : kShowFiles) {
        std::string name = file;
        if (name.find(".mp3") != std::string::npos || name.find(".mm") != std::string::npos ||
            name.find(".tga") != std::string::npos) {
            continue;
        }
        Picture p = Load(root / Native(file));
        ASSERT_GT(p.width, 0) << file;
        if (name.find("Dream_With_Me") != std::string::npos) {
            EXPECT_EQ(p.width * 4, p.height * 3) << file;
        } else {
            EXPECT_EQ(p.width * 3, p.height * 4) << file;
        }
        EXPECT_GE(p.width, 512) << file;
    }
}

TEST(DatakitOutput, TgaTexturesCarryAlphaWhereTheyNeedIt) {
    const std::filesystem::path root = Media().first;
    // The flare fades to nothing before its edge: additive sprites show no rims.
    Picture flare = Load(root / "data/textures/flare.tga");
    ASSERT_EQ(flare.channels, 4);
    auto alpha = [](const Picture& p, int x, int y) { return p.pixels[(y * p.width + x) * 4 + 3]; };
    EXPECT_EQ(alpha(flare, 0, 0), 0);
    EXPECT_EQ(alpha(flare, flare.width / 2, 0), 0);
    EXPECT_GT(alpha(flare, flare.width / 2, flare.height / 2), 200);

    // The mask is mostly clear, its marks gathered in the middle.
    Picture mask = Load(root / "textures/scratch_messymiddle_mk_.tga");
    ASSERT_EQ(mask.channels, 4);
    double total = 0.0, middle = 0.0, border = 0.0;
    int middleCount = 0, borderCount = 0;
    for (int y = 0; y < mask.height; ++y) {
        for (int x = 0; x < mask.width; ++x) {
            double a = alpha(mask, x, y) / 255.0;
            total += a;
            bool inMiddle = std::abs(x - mask.width / 2) < mask.width / 6 &&
                            std::abs(y - mask.height / 2) < mask.height / 6;
            bool atBorder = x < mask.width / 8 || x >= mask.width * 7 / 8;
            middle += inMiddle ? a : 0.0;
            middleCount += inMiddle;
            border += atBorder ? a : 0.0;
            borderCount += atBorder;
        }
    }
    EXPECT_LT(total / (mask.width * mask.height), 0.03);
    EXPECT_GT(middle / middleCount, 2.0 * border / borderCount);
}

TEST(DatakitOutput, TunnelTextureTilesWithoutSeams) {
    Picture tile = Load(Media().first / "textures/holeball.tga");
    ASSERT_EQ(tile.channels, 4);
    auto luma = [&](int x, int y) {
        const unsigned char* p = &tile.pixels[(y * tile.width + x) * 4];
        return 0.3 * p[0] + 0.59 * p[1] + 0.11 * p[2];
    };
    // Steps across the wrap edges are no larger than steps inside the tile.
    double inside = 0.0, acrossU = 0.0, acrossV = 0.0;
    for (int y = 0; y < tile.height; ++y) {
        inside += std::fabs(luma(tile.width / 2, y) - luma(tile.width / 2 - 1, y));
        acrossU += std::fabs(luma(0, y) - luma(tile.width - 1, y));
    }
    for (int x = 0; x < tile.width; ++x) {
        acrossV += std::fabs(luma(x, 0) - luma(x, tile.height - 1));
    }
    inside /= tile.height;
    EXPECT_LT(acrossU / tile.height, 1.5 * inside);
    EXPECT_LT(acrossV / tile.width, 1.5 * inside + 1.0);
}

TEST(DatakitOutput, ModelsAreMotionModelFilesWithinTheIndexLimit) {
    for (const char* model : {"data/models/w.mm", "data/models/q.mm"}) {
        std::ifstream in(Media().first / model);
        std::string line;
        std::vector<std::string> lines;
        while (std::getline(in, line)) {
            lines.push_back(line);
        }
        ASSERT_GT(lines.size(), 6u) << model;
        EXPECT_EQ(lines[0], "MotionModelASCII");
        EXPECT_EQ(lines[2], "\tVersion: 107");
        long vertices = 0;
        int textures = 0;
        const std::regex textureLine("\t\"[A-Za-z]+\" \"([^\"]+)\"");
        for (size_t i = 0; i < lines.size(); ++i) {
            EXPECT_FALSE(lines[i].empty()) << model << " line " << i + 1;
            if (lines[i].rfind("\tVertices: ", 0) == 0) {
                vertices += std::stol(lines[i].substr(11));
            }
            std::smatch m;
            if (std::regex_match(lines[i], m, textureLine)) {
                ++textures;
                EXPECT_TRUE(
                    std::filesystem::is_regular_file(Media().first / "textures" / m[1].str()))
                    << m[1];
            }
        }
        EXPECT_GT(vertices, 2000) << model;
        EXPECT_LT(vertices, 65536) << model;
        EXPECT_GE(textures, 6) << model;
    }
}

}  // namespace
