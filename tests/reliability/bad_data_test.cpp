// Every file the show opens, in turn missing, empty, cut to half, replaced by
// random bytes, or replaced by something that is not a regular file (a
// folder, a named pipe, a link to a device), in a short capture at a time its
// content is on screen: start-up stops with its message and status 5 where
// the file is one it cannot start without, and otherwise the show goes on
// without that content and exits 0. What is not a regular file is met as a
// missing file. Never a crash, a sanitizer report, an abort or a hang.
#include "tests/app/HushProcess.h"
#include "tests/reliability/BrokenData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using hushtest::Outcome;
using reliability::Damage;

constexpr int kStartupFailed = 5;
constexpr const char* kCaptureStopped = "hush: the capture stopped: the show could not start";

enum class Role {
    Picture,         // a texture: the picture, mask, tunnel or flare is left out
    Model,           // the model is left out
    ParticleEffect,  // p.fx: the particles are left out, after its box
    DeviceEffect,    // vsm.fx: start-up stops
    OffsetEffect,    // offset_mapper.fx: start-up stops
    Music,           // the show runs silent
};

struct DataFile {
    const char* name;
    const char* path;  // as the show names it
    const char* time;  // a show time at which its content is on screen
    Role role;
};

const DataFile kDataFiles[] = {
    {"DeathIsWaiting", "data\\textures\\death_is_waiting.jpg", "10", Role::Picture},
    {"WaitingForDeath", "data\\textures\\Waiting_For_Death_To_Come_by_Velimar.jpg", "60",
     Role::Picture},
    {"Nothing", "data\\textures\\nothing.png", "120", Role::Picture},
    {"Flourish", "data\\textures\\F_l_o_u_r_i_s_h.jpg", "93", Role::Picture},
    {"Nny", "data\\textures\\nny.png", "12", Role::Picture},
    {"Vic", "data\\textures\\vic.png", "35", Role::Picture},
    {"N", "data\\textures\\n.png", "150", Role::Picture},
    {"ScratchMask", "textures\\scratch_messymiddle_mk_.tga", "10", Role::Picture},
    {"DreamWithMe", "data\\textures\\Dream_With_Me_by_Ostrelle.jpg", "123", Role::Picture},
    {"TunnelTexture", "textures\\holeball.tga", "110", Role::Picture},
    {"Flare", "data\\textures\\flare.tga", "60", Role::Picture},
    {"ModelW", "data\\models\\w.mm", "60", Role::Model},
    {"ModelQ", "data\\models\\q.mm", "120", Role::Model},
    {"ParticleEffect", "data\\shaders\\p.fx", "60", Role::ParticleEffect},
    {"DeviceEffect", "data\\shaders\\vsm.fx", "10", Role::DeviceEffect},
    {"OffsetMappingEffect", "data\\shaders\\offset_mapper.fx", "60", Role::OffsetEffect},
    {"Music", "data\\music\\hush_master_mix.mp3", "10", Role::Music},
};

void PrintTo(const DataFile& file, std::ostream* out) {
    *out << file.path << " at " << file.time << " s";
}

std::string Native(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.rfind(prefix, 0) == 0;
}

struct Capture {
    Outcome outcome;
    std::vector<char> frame;
    std::vector<std::string> lines;  // stderr without the final summary
    bool summarised = false;         // "hush: captured 1 frames ..." came last
    std::string log;                 // the HTML log
    std::string trace;               // the call trace
};

// One frame at the file's time, with the HTML log and the call trace.
Capture CaptureOneFrame(const fs::path& data, const DataFile& file) {
    reliability::TempFolder out("hush_bad_data_out");
    const fs::path log = out.Path() / "log.html";
    const fs::path trace = out.Path() / "trace.jsonl";
    hushtest::Launch launch;
    launch.arguments = {"--capture", (out.Path() / "frames").string(),
                        "--fps",     "1",
                        "--from",    file.time,
                        "--to",      file.time,
                        "--data",    data.string(),
                        "--log",     log.string(),
                        "--trace",   trace.string()};
    launch.deadline = std::chrono::seconds(180);
    Capture capture;
    capture.outcome = hushtest::RunHush(launch);
    capture.frame = reliability::FrameBytes(out.Path() / "frames");
    capture.lines = hushtest::Lines(capture.outcome.err);
    capture.log = hushtest::ReadFile(log.string());
    capture.trace = hushtest::ReadFile(trace.string());
    if (!capture.lines.empty() && StartsWith(capture.lines.back(), "hush: captured 1 frames")) {
        capture.summarised = true;
        capture.lines.pop_back();
    }
    return capture;
}

// The particles are the only sprites: their effect's calls and their draws.
bool DrawsParticles(const Capture& capture) {
    return capture.trace.find("{\"fx\":\"p.fx\"") != std::string::npos ||
           capture.trace.find("{\"d3d\":\"DrawPrimitive\"") != std::string::npos;
}

// The texture's line: not found, or not a picture the stand-in can read.
std::string TextureLine(const std::string& path, Damage damage) {
    const std::string start = "Direct3D stand-in: texture \"" + path + "\" ";
    return start + (reliability::ReadsAsMissing(damage)
                        ? "not found"
                        : "cannot be read as a JPEG, PNG or TGA picture of "
                          "at most 16384 pixels a side");
}

void ExpectNoAbort(const Capture& capture) {
    EXPECT_TRUE(capture.outcome.exited) << "killed (crash, sanitizer or hang)";
    EXPECT_EQ(capture.outcome.err.find("terminate called"), std::string::npos)
        << capture.outcome.err;
}

void ExpectShowWentOn(const Capture& capture) {
    ExpectNoAbort(capture);
    EXPECT_EQ(capture.outcome.exitCode, 0);
    EXPECT_TRUE(capture.summarised) << capture.outcome.err;
    EXPECT_FALSE(capture.frame.empty());
}

void ExpectStartupStopped(const Capture& capture) {
    ExpectNoAbort(capture);
    EXPECT_EQ(capture.outcome.exitCode, kStartupFailed);
    EXPECT_TRUE(capture.frame.empty());
    ASSERT_EQ(capture.lines.size(), 2u) << capture.outcome.err;
    EXPECT_EQ(capture.lines[1], kCaptureStopped);
}

void ExpectOutcome(const DataFile& file, Damage damage, const Capture& capture,
                   const std::vector<char>& intactFrame) {
    const std::string path = file.path;
    const std::vector<std::string>& lines = capture.lines;
    switch (file.role) {
        case Role::Picture:
            ExpectShowWentOn(capture);
            // The flare only tints the particles, which a single frame
            // does not show yet.
            if (path != "data\\textures\\flare.tga") {
                EXPECT_TRUE(capture.frame != intactFrame) << "the picture is still on screen";
            }
            if (damage == Damage::Half && lines.empty()) {
                break;  // the decoder took what the file still holds
            }
            EXPECT_EQ(lines, std::vector<std::string>{TextureLine(path, damage)});
            break;
        case Role::Model:
            ExpectShowWentOn(capture);
            // Half a model may hold all that is seen at this time.
            if (damage != Damage::Half) {
                EXPECT_TRUE(capture.frame != intactFrame) << "the model is still whole";
            }
            // The model loader reports to the HTML log only.
            EXPECT_TRUE(lines.empty()) << capture.outcome.err;
            EXPECT_TRUE(capture.log.find("Motion Error: file") != std::string::npos ||
                        capture.log.find("Motion Warning: the file ends") != std::string::npos)
                << "the log does not say what is wrong";
            break;
        case Role::ParticleEffect:
            ExpectShowWentOn(capture);
            EXPECT_FALSE(DrawsParticles(capture)) << "the particles are still drawn";
            // One box for each of the two particle systems.
            ASSERT_EQ(lines.size(), 2u) << capture.outcome.err;
            for (const std::string& line : lines) {
                EXPECT_TRUE(StartsWith(line, "Fx Compile Error: ")) << line;
                EXPECT_NE(line.find(path), std::string::npos) << line;
            }
            break;
        case Role::DeviceEffect:
            ExpectStartupStopped(capture);
            if (reliability::ReadsAsMissing(damage)) {
                EXPECT_EQ(lines[0], "Shader effect \"" + path + "\" could not be loaded");
            } else {
                EXPECT_TRUE(StartsWith(lines[0], path + "(")) << lines[0];
                EXPECT_NE(lines[0].find("): error: "), std::string::npos) << lines[0];
            }
            break;
        case Role::OffsetEffect:
            ExpectStartupStopped(capture);
            if (reliability::ReadsAsMissing(damage)) {
                EXPECT_EQ(lines[0], "Fx Compile Error: Effect file " + path + " could not be read");
            } else {
                EXPECT_TRUE(StartsWith(lines[0], "Fx Compile Error: " + path + "(")) << lines[0];
            }
            break;
        case Role::Music:
            ExpectShowWentOn(capture);
            if (damage == Damage::Half) {
                // The first half plays, without a word.
                EXPECT_TRUE(lines.empty()) << capture.outcome.err;
            } else {
                EXPECT_EQ(lines, std::vector<std::string>{"Error: Error loading " + path});
                EXPECT_TRUE(capture.frame != intactFrame) << "the silent show looks as with music";
            }
            break;
    }
}

class BadDataTest : public ::testing::TestWithParam<DataFile> {};

TEST_P(BadDataTest, EachDamageHasItsDocumentedOutcome) {
    const DataFile& file = GetParam();
    const Capture intact = CaptureOneFrame(reliability::RunFolder(), file);
    ASSERT_EQ(intact.outcome.exitCode, 0) << intact.outcome.err;
    ASSERT_FALSE(intact.frame.empty());
    ASSERT_TRUE(file.role != Role::ParticleEffect || DrawsParticles(intact));
    for (const Damage damage : reliability::kEveryDamage) {
        SCOPED_TRACE(reliability::NameOf(damage));
        const reliability::BrokenDataFolder data(Native(file.path), damage);
        ExpectOutcome(file, damage, CaptureOneFrame(data.Path(), file), intact.frame);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryFile, BadDataTest, ::testing::ValuesIn(kDataFiles),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
