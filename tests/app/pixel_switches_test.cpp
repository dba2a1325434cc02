// Each optimisation that must keep the pixels has a switch in the
// environment; captures of stretches where it acts are the same, byte for
// byte, with it off, and so are their call traces. So are they with the
// OpenGL ES context that stands in for WebGL 2. Merging the tunnel's
// straight steps keeps its surface, not every bit: its frames differ from
// the unmerged ones only by the rasteriser's rounding.
#include "tests/app/HushProcess.h"

#include <gtest/gtest.h>
#include <stb_image.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using hushtest::Outcome;
using hushtest::RunHush;

struct PixelSwitch {
    const char* variable;
    // Each start is captured for 0.05 s at 60 frames a second.
    std::vector<const char*> from;
    // Another switch turned off in both runs, where it would leave this
    // one nothing to do.
    const char* alsoOff = nullptr;
};

void PrintTo(const PixelSwitch& setting, std::ostream* out) {
    *out << setting.variable;
}

class PixelSwitchTest : public testing::TestWithParam<PixelSwitch> {};

// Captures 0.05 s from each start with the variable on and with it off,
// into root / "1" and root / "0", with their traces beside them, and hands
// each start's pair to compare before the next.
template <typename Compare>
void CaptureWithAndWithout(const char* variable, const std::vector<const char*>& starts,
                           const char* alsoOff, Compare compare) {
    const std::filesystem::path root =
        std::filesystem::temp_directory_path() / ("hush_switch_" + std::to_string(getpid()));
    for (const char* from : starts) {
        for (const char* on : {"1", "0"}) {
            hushtest::Launch launch;
            launch.arguments = {"--capture", (root / on).string(),
                                "--from",    from,
                                "--to",      std::to_string(std::stod(from) + 0.05),
                                "--trace",   (root / (std::string(on) + ".jsonl")).string()};
            launch.setVariables = {{variable, on}};
            if (alsoOff != nullptr) {
                launch.setVariables.emplace_back(alsoOff, "0");
            }
            const Outcome outcome = RunHush(launch);
            ASSERT_EQ(outcome.exitCode, 0) << outcome.err;
        }
        int frames = 0;
        for (const auto& entry : std::filesystem::directory_iterator(root / "1")) {
            const std::string name = entry.path().filename().string();
            compare(hushtest::ReadFile(entry.path().string()),
                    hushtest::ReadFile((root / "0" / name).string()), name + " from " + from);
            ++frames;
        }
        EXPECT_EQ(frames, 4) << from;
        EXPECT_TRUE(hushtest::ReadFile((root / "1.jsonl").string()) ==
                    hushtest::ReadFile((root / "0.jsonl").string()))
            << "trace from " << from;
        std::filesystem::remove_all(root);
    }
}

TEST_P(PixelSwitchTest, CapturesAndTracesAreTheSameWithItOff) {
    CaptureWithAndWithout(
        GetParam().variable, GetParam().from, GetParam().alsoOff,
        [](const std::string& on, const std::string& off, const std::string& frame) {
            EXPECT_TRUE(on == off) << "frame " << frame;
        });
}

std::vector<unsigned char> DecodedPng(const std::string& png) {
    int width = 0;
    int height = 0;
    int channels = 0;
    stbi_uc* pixels = stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(png.data()),
                                            int(png.size()), &width, &height, &channels, 3);
    if (pixels == nullptr) {
        return {};
    }
    std::vector<unsigned char> decoded(pixels, pixels + std::size_t(width) * height * 3);
    stbi_image_free(pixels);
    return decoded;
}

// At 101.5 s the tunnel fades in under model Q, at 111 s it is at its full
// opacity behind Q and both particle systems. Merged, about one channel in
// ten differs by one step and one in ten thousand by more; a tunnel drawn
// with a seam, a missing strip or the texture shifted by a texel differs
// in far more.
TEST(LookSwitchTest, MergedTunnelStepsKeepTheLook) {
    CaptureWithAndWithout(
        "HUSH_DEVICE_MERGE_STEPS", {"101.5", "111"}, nullptr,
        [](const std::string& on, const std::string& off, const std::string& frame) {
            const std::vector<unsigned char> merged = DecodedPng(on);
            const std::vector<unsigned char> whole = DecodedPng(off);
            ASSERT_EQ(merged.size(), std::size_t(1024 * 768 * 3)) << frame;
            ASSERT_EQ(whole.size(), merged.size()) << frame;
            double differenceSum = 0.0;
            std::size_t overTwo = 0;
            for (std::size_t i = 0; i < merged.size(); ++i) {
                const int difference = std::abs(int(merged[i]) - int(whole[i]));
                differenceSum += difference;
                overTwo += difference > 2 ? 1 : 0;
            }
            EXPECT_LT(differenceSum / double(merged.size()), 0.2) << frame;
            EXPECT_LT(double(overTwo) / double(merged.size()), 5.0e-4) << frame;
        });
}

// Where each acts: the particle systems in full, and the second reset every
// frame with a colour per particle (batching); pictures and the mask seen
// magnified, the tunnel minified in the distance beside them (the top-level
// filter); the tunnel's chunks out of view and the picture "nothing" faded
// out (culling, skipping), and three of four picture draws faded out at
// 140 s (skipping); pictures and a model drawn from what the worker decoded
// ahead (decoding ahead).
const PixelSwitch kPixelSwitches[] = {
    {"HUSH_D3D9_BATCHING", {"66", "106"}},
    {"HUSH_DEVICE_MAGNIFIED_FILTER", {"23", "101.5"}},
    {"HUSH_DEVICE_SKIP_CLEAR", {"101.5", "140"}},
    // Merged, the tunnel is too few triangles to be split into chunks.
    {"HUSH_DEVICE_CULLING", {"101.5"}, "HUSH_DEVICE_MERGE_STEPS"},
    {"HUSH_D3D9_DECODE_AHEAD", {"23", "106"}},
    // ES: pictures, mask and tunnel; model W; the particles; Q fading in
    // over the tunnel; Q.
    {"HUSH_D3D9_GLES", {"23", "48.5", "66", "101.5", "111"}},
};

INSTANTIATE_TEST_SUITE_P(Switches, PixelSwitchTest, testing::ValuesIn(kPixelSwitches),
                         [](const testing::TestParamInfo<PixelSwitch>& info) {
                             return std::string(info.param.variable);
                         });

}  // namespace
