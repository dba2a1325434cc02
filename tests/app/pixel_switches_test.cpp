// Each optimisation that must keep the pixels has a switch in the
// environment; captures of stretches where it acts are the same, byte for
// byte, with it off, and so are their call traces. So are they with the
// OpenGL ES context that stands in for WebGL 2.
#include "tests/app/HushProcess.h"

#include <gtest/gtest.h>

#include <unistd.h>

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
};

void PrintTo(const PixelSwitch& setting, std::ostream* out) {
    *out << setting.variable;
}

class PixelSwitchTest : public testing::TestWithParam<PixelSwitch> {};

TEST_P(PixelSwitchTest, CapturesAndTracesAreTheSameWithItOff) {
    const PixelSwitch& setting = GetParam();
    const std::filesystem::path root =
        std::filesystem::temp_directory_path() / ("hush_switch_" + std::to_string(getpid()));
    for (const char* from : setting.from) {
        for (const char* on : {"1", "0"}) {
            hushtest::Launch launch;
            launch.arguments = {"--capture", (root / on).string(),
                                "--from",    from,
                                "--to",      std::to_string(std::stod(from) + 0.05),
                                "--trace",   (root / (std::string(on) + ".jsonl")).string()};
            launch.setVariables = {{setting.variable, on}};
            const Outcome outcome = RunHush(launch);
            ASSERT_EQ(outcome.exitCode, 0) << outcome.err;
        }
        int frames = 0;
        for (const auto& entry : std::filesystem::directory_iterator(root / "1")) {
            const std::string name = entry.path().filename().string();
            EXPECT_TRUE(hushtest::ReadFile(entry.path().string()) ==
                        hushtest::ReadFile((root / "0" / name).string()))
                << "frame " << name << " from " << from;
            ++frames;
        }
        EXPECT_EQ(frames, 4) << from;
        EXPECT_TRUE(hushtest::ReadFile((root / "1.jsonl").string()) ==
                    hushtest::ReadFile((root / "0.jsonl").string()))
            << "trace from " << from;
        std::filesystem::remove_all(root);
    }
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
    {"HUSH_DEVICE_CULLING", {"101.5"}},
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
