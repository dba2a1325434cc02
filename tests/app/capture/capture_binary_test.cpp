// The real executable in capture mode and with --trace, run headless: what
// lands in the output folder, the video and the trace, and how failures of
// the output end the run.
#include "tests/app/HushProcess.h"

#include <gtest/gtest.h>
#include <stb_image.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using hushtest::Lines;
using hushtest::Outcome;
using hushtest::ReadFile;
using hushtest::RunHush;

constexpr int kSetupFailed = 3;
constexpr int kCaptureFailed = 4;

std::vector<fs::path> Frames(const fs::path& folder) {
    std::vector<fs::path> frames;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        frames.push_back(entry.path());
    }
    std::sort(frames.begin(), frames.end());
    return frames;
}

std::string FrameName(int k) {
    char name[32];
    std::snprintf(name, sizeof name, "frame_%06d.png", k);
    return name;
}

bool IsFrameLine(const std::string& line) {
    return line.rfind("{\"frame\":", 0) == 0;
}

// The members of a frame line: "key" -> the value's text (arrays without
// their brackets). The line is too long for std::regex.
std::map<std::string, std::string> FrameMembers(const std::string& line,
                                                std::vector<std::string>* order) {
    std::map<std::string, std::string> members;
    std::size_t at = 1;
    while (at < line.size() && line[at] == '"') {
        const std::size_t keyEnd = line.find('"', at + 1);
        const std::string key = line.substr(at + 1, keyEnd - at - 1);
        std::size_t valueStart = keyEnd + 2;
        std::size_t valueEnd = 0;
        if (line[valueStart] == '[') {
            valueEnd = line.find(']', valueStart);
            members[key] = line.substr(valueStart + 1, valueEnd - valueStart - 1);
            ++valueEnd;
        } else {
            valueEnd = line.find_first_of(",}", valueStart);
            members[key] = line.substr(valueStart, valueEnd - valueStart);
        }
        order->push_back(key);
        at = valueEnd + 1;
    }
    return members;
}

std::vector<float> Numbers(const std::string& list) {
    std::vector<float> numbers;
    std::istringstream in(list);
    for (std::string item; std::getline(in, item, ',');) {
        char* end = nullptr;
        numbers.push_back(std::strtof(item.c_str(), &end));
        EXPECT_EQ(*end, '\0') << item;
    }
    return numbers;
}

float Number(const std::string& text) {
    char* end = nullptr;
    const float value = std::strtof(text.c_str(), &end);
    EXPECT_EQ(*end, '\0') << text;
    return value;
}

struct FrameLine {
    std::int64_t frame = -1;
    float t = 0.0f;
    float dt = 0.0f;
};

// Checks one frame line's members, their order and sizes.
FrameLine CheckFrameLine(const std::string& line) {
    std::vector<std::string> order;
    const std::map<std::string, std::string> members = FrameMembers(line, &order);
    EXPECT_EQ(order, (std::vector<std::string>{"frame", "t", "dt", "bass", "pitch", "upper", "fft",
                                               "spectrum"}));
    EXPECT_EQ(line.back(), '}');
    FrameLine frame;
    if (order.size() != 8) {
        return frame;
    }
    frame.frame = std::stoll(members.at("frame"));
    frame.t = Number(members.at("t"));
    frame.dt = Number(members.at("dt"));
    for (const char* value : {"bass", "pitch", "upper"}) {
        EXPECT_GE(Number(members.at(value)), 0.0f) << value;
    }
    const std::vector<float> fft = Numbers(members.at("fft"));
    EXPECT_EQ(fft.size(), 512u);
    const std::vector<float> spectrum = Numbers(members.at("spectrum"));
    EXPECT_EQ(spectrum.size(), 1024u);
    for (float value : spectrum) {
        EXPECT_GE(value, 0.0f);
        EXPECT_LE(value, 1.0f);
    }
    return frame;
}

// Every line that is not a frame line has one of the shapes the trace
// format lists.
bool IsListedLine(const std::string& line) {
    const std::string n = R"x((?:-?\d+(?:\.\d+)?(?:e[-+]\d+)?|"nan"|"inf"|"-inf"))x";
    const std::string name = R"x("name":"[^"]*")x";
    const std::string matrix = R"x("m":\[)x" + n + "(?:," + n + R"x(){15}\])x";
    const std::string fx = R"x(\{"fx":"[^"]+","id":\d+,"call":"(?:)x"
                           R"x(SetFloat",)x" +
                           name + R"x(,"value":)x" + n + R"x(|SetMatrix",)x" + name + "," + matrix +
                           R"x(|SetVector",)x" + name + R"x(,"v":\[)x" + n + "(?:," + n +
                           R"x(){3}\])x"
                           R"x(|SetTexture",)x" +
                           name + R"x(|SetTechnique",)x" + name +
                           R"x(|Begin","passes":\d+|BeginPass","pass":\d+|EndPass"|End")\})x";
    const std::string d3d =
        R"x(\{"d3d":"DrawPrimitive","type":"(?:POINTLIST|LINELIST|LINESTRIP|TRIANGLELIST|)x"
        R"x(TRIANGLESTRIP|TRIANGLEFAN)","start":\d+,"count":\d+\})x";
    const std::string dev =
        R"x(\{"dev":"(?:SetShaderFloat",)x" + name + R"x(,"value":)x" + n +
        R"x(|SetShaderMatrix",)x" + name + "," + matrix + R"x(|SetShaderTechnique",)x" + name +
        R"x(|BeginShaderEffect"|BeginShaderPass"|EndShaderPass"|EndShaderEffect"|EndFrame")x"
        R"x(|RenderStaticBuffer","buffer":\d+|SetClearColor","rgb":\[)x" +
        n + "," + n + "," + n +
        R"x(\]|(?:SelectView|BeginFrame)","result":-?\d+|AddSkin","skin":\d+)x"
        R"x(|AddSkinTexture","skin":\d+,"file":"[^"]*")x"
        R"x(|CreateStaticBuffer","format":\d+,"skin":\d+,"vertices":\d+,"indexCount":\d+,)x"
        R"x("kind":\d+,"buffer":\d+)\})x";
    static const std::regex listed(fx + "|" + d3d + "|" + dev);
    return std::regex_match(line, listed);
}

std::string Name(const std::string& line) {
    static const std::regex first(R"x(^\{"(?:dev|d3d)":"([A-Za-z]+)")x");
    std::smatch match;
    return std::regex_search(line, match, first) ? match[1].str() : std::string();
}

class CaptureBinaryTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() /
                ("hush_capture_" + std::to_string(getpid()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_);
    }
    void TearDown() override { fs::remove_all(root_); }

    // A folder holding only an "ffmpeg" that runs the given shell lines.
    std::string FakeFfmpeg(const std::string& body) {
        const fs::path folder = root_ / "fake";
        fs::create_directories(folder);
        std::ofstream(folder / "ffmpeg") << "#!/bin/sh\n" << body << "\n";
        fs::permissions(folder / "ffmpeg", fs::perms::owner_all);
        return folder.string();
    }

    fs::path root_;
};

TEST_F(CaptureBinaryTest, TwoCapturesOfOneRangeAreByteIdenticalAndTheTraceKeepsToItsFormat) {
    for (const char* run : {"a", "b"}) {
        const Outcome outcome =
            RunHush({"--capture", (root_ / run).string(), "--from", "97", "--to", "97.2", "--fps",
                     "10", "--trace", (root_ / (std::string(run) + ".jsonl")).string()});
        ASSERT_EQ(outcome.exitCode, 0) << outcome.err;
    }
    const std::vector<fs::path> a = Frames(root_ / "a");
    const std::vector<fs::path> b = Frames(root_ / "b");
    ASSERT_EQ(a.size(), 3u);
    ASSERT_EQ(b.size(), a.size());
    for (std::size_t k = 0; k < a.size(); ++k) {
        EXPECT_EQ(a[k].filename(), FrameName(static_cast<int>(k)));
        EXPECT_EQ(b[k].filename(), a[k].filename());
        EXPECT_TRUE(ReadFile(a[k].string()) == ReadFile(b[k].string())) << a[k];
    }
    const std::string trace = ReadFile((root_ / "a.jsonl").string());
    EXPECT_TRUE(trace == ReadFile((root_ / "b.jsonl").string()));

    const std::vector<std::string> lines = Lines(trace);
    std::map<std::string, int> startUp;
    std::vector<std::string> frameCalls;
    std::int64_t frames = 0;
    bool fftHeard = false;
    for (const std::string& line : lines) {
        if (IsFrameLine(line)) {
            EXPECT_EQ(CheckFrameLine(line).frame, frames);
            fftHeard = fftHeard || line.find("\"fft\":[0,0,0,0,0,") == std::string::npos;
            ++frames;
            continue;
        }
        ASSERT_TRUE(IsListedLine(line)) << line;
        if (frames == 0) {
            ++startUp[Name(line)];
        } else if (frames == 1) {
            frameCalls.push_back(Name(line));
        }
    }
    EXPECT_EQ(frames, 3);
    EXPECT_TRUE(fftHeard) << "the music is analysed where the clock stands";
    // Nine pictures, the tunnel and the models' materials, each a skin with
    // its texture(s) and one static buffer.
    EXPECT_GE(startUp["AddSkin"], 10);
    EXPECT_GE(startUp["AddSkinTexture"], startUp["AddSkin"]);
    EXPECT_EQ(startUp["CreateStaticBuffer"], startUp["AddSkin"]);
    // A frame opens with the clear colour, the view and BeginFrame, and ends
    // with EndFrame.
    ASSERT_GE(frameCalls.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(frameCalls.begin(), frameCalls.begin() + 3),
              (std::vector<std::string>{"SetClearColor", "SelectView", "BeginFrame"}));
    EXPECT_EQ(frameCalls.back(), "EndFrame");
    EXPECT_GT(std::count(frameCalls.begin(), frameCalls.end(), "RenderStaticBuffer"), 0);
}

TEST_F(CaptureBinaryTest, ASecondAtThirtyFpsHasAFrameEveryThirtiethOfASecond) {
    const fs::path folder = root_ / "frames";
    const Outcome outcome = RunHush({"--capture", folder.string(), "--from", "100", "--to", "101",
                                     "--fps", "30", "--trace", (root_ / "t.jsonl").string()});
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err;
    // Not a terminal: quiet but for one summary line.
    EXPECT_TRUE(std::regex_match(
        outcome.err, std::regex(R"(hush: captured 31 frames \(t 100\.000 to 101\.000 s\) into )" +
                                folder.string() + R"( in \d+\.\d s \(\d+\.\d frames/s\)\n)")))
        << outcome.err;

    // 100 + 30/30 is exactly 101, the last frame that does not pass --to.
    const std::vector<fs::path> frames = Frames(folder);
    ASSERT_EQ(frames.size(), 31u);
    EXPECT_EQ(frames.back().filename(), FrameName(30));
    int width = 0, height = 0, channels = 0;
    ASSERT_TRUE(stbi_info(frames.back().c_str(), &width, &height, &channels));
    EXPECT_EQ(width, 1024);
    EXPECT_EQ(height, 768);
    EXPECT_EQ(channels, 3);

    std::vector<FrameLine> frameLines;
    for (const std::string& line : Lines(ReadFile((root_ / "t.jsonl").string()))) {
        if (IsFrameLine(line)) {
            frameLines.push_back(CheckFrameLine(line));
        }
    }
    ASSERT_EQ(frameLines.size(), frames.size());
    for (std::size_t k = 0; k < frameLines.size(); ++k) {
        // Frame k's show clock is the float nearest 100 + k/30 exactly.
        EXPECT_EQ(frameLines[k].t, static_cast<float>(100.0 + static_cast<double>(k) / 30.0))
            << "frame " << k;
        if (k == 0) {
            EXPECT_EQ(frameLines[k].dt, 100.0f) << "the whole time since the timer started";
        } else {
            EXPECT_NEAR(frameLines[k].dt, 1.0 / 30.0, 1e-8) << "frame " << k;
        }
    }
}

TEST_F(CaptureBinaryTest, AnMp4HoldsTheFramesAndTheMusicOfTheCapturedRange) {
    if (system("command -v ffmpeg >/dev/null && command -v ffprobe >/dev/null") != 0) {
        GTEST_SKIP() << "ffmpeg and ffprobe are needed";
    }
    const fs::path video = root_ / "two seconds.mp4";
    const Outcome outcome =
        RunHush({"--capture", video.string(), "--from", "40", "--to", "42", "--fps", "10"});
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_NE(outcome.err.find("captured 21 frames"), std::string::npos) << outcome.err;

    const fs::path probe = root_ / "probe.txt";
    const std::string command =
        "ffprobe -v error -show_entries "
        "stream=codec_type,codec_name,width,height,pix_fmt,r_frame_rate,nb_frames,duration "
        "-of default=noprint_wrappers=1 '" +
        video.string() + "' > '" + probe.string() + "'";
    ASSERT_EQ(system(command.c_str()), 0);
    const std::vector<std::string> lines = Lines(ReadFile(probe.string()));
    // Two streams, each a run of key=value lines starting at codec_name.
    std::vector<std::map<std::string, std::string>> streams;
    for (const std::string& line : lines) {
        const std::size_t equals = line.find('=');
        const std::string key = line.substr(0, equals);
        if (key == "codec_name") {
            streams.emplace_back();
        }
        ASSERT_FALSE(streams.empty()) << line;
        streams.back()[key] = line.substr(equals + 1);
    }
    ASSERT_EQ(streams.size(), 2u) << ReadFile(probe.string());
    const auto& picture = streams[0]["codec_type"] == "video" ? streams[0] : streams[1];
    const auto& sound = streams[0]["codec_type"] == "video" ? streams[1] : streams[0];
    EXPECT_EQ(picture.at("codec_name"), "h264");
    EXPECT_EQ(picture.at("width"), "1024");
    EXPECT_EQ(picture.at("height"), "768");
    EXPECT_EQ(picture.at("pix_fmt"), "yuv420p");
    EXPECT_EQ(picture.at("r_frame_rate"), "10/1");
    EXPECT_EQ(picture.at("nb_frames"), "21");
    EXPECT_EQ(sound.at("codec_type"), "audio");
    EXPECT_EQ(sound.at("codec_name"), "aac");
    // 21 frames of 1/10 s; AAC frames are 1024 samples (23 ms at 44.1 kHz).
    EXPECT_NEAR(std::stod(sound.at("duration")), 2.1, 0.025);
}

TEST_F(CaptureBinaryTest, WithoutFfmpegAVideoCaptureFailsBeforeAnyWork) {
    fs::create_directories(root_ / "empty");
    const fs::path video = root_ / "v.mp4";
    const fs::path trace = root_ / "t.jsonl";
    hushtest::Launch launch;
    launch.arguments = {"--capture", video.string(), "--trace", trace.string()};
    launch.setVariables = {{"PATH", (root_ / "empty").string()}};
    const Outcome outcome = RunHush(launch);
    EXPECT_EQ(outcome.exitCode, kSetupFailed);
    EXPECT_EQ(outcome.err, "hush: cannot make " + video.string() +
                               ": the ffmpeg command is not on PATH. Install ffmpeg, or capture "
                               "into a folder of PNG frames instead (--capture FOLDER).\n");
    EXPECT_FALSE(fs::exists(video));
    EXPECT_FALSE(fs::exists(trace)) << "nothing was started";
}

TEST_F(CaptureBinaryTest, AnFfmpegThatGoesAwayIsAClearErrorNotAHang) {
    const fs::path video = root_ / "v.mkv";
    hushtest::Launch launch;
    launch.arguments = {"--capture", video.string(), "--from", "40", "--to", "40.5", "--fps", "10"};
    // Gone before the first frame: the write finds no reader.
    launch.setVariables = {{"PATH", FakeFfmpeg("exit 0")}};
    Outcome outcome = RunHush(launch);
    EXPECT_TRUE(outcome.exited);
    EXPECT_EQ(outcome.exitCode, kCaptureFailed);
    EXPECT_EQ(outcome.err,
              "hush: the capture failed after 0 frames: ffmpeg stopped reading frames: it "
              "exited with status 0\n");

    // Reads every frame, then fails to make the file.
    launch.setVariables = {{"PATH", FakeFfmpeg("/bin/cat > /dev/null; exit 3")}};
    outcome = RunHush(launch);
    EXPECT_TRUE(outcome.exited);
    EXPECT_EQ(outcome.exitCode, kCaptureFailed);
    EXPECT_EQ(outcome.err,
              "hush: the capture failed after 6 frames: ffmpeg failed: it exited with status 3\n");
}

TEST_F(CaptureBinaryTest, ACaptureStoppedByCtrlCKeepsItsFramesAndSaysSo) {
    const fs::path folder = root_ / "frames";
    const Outcome outcome = RunHush({"--capture", folder.string(), "--fps", "10"}, SIGINT, 4000ms);
    EXPECT_EQ(outcome.exitCode, kCaptureFailed);
    const std::size_t written = Frames(folder).size();
    EXPECT_EQ(outcome.err, "hush: the capture stopped early: " + std::to_string(written) +
                               " of 1802 frames are in " + folder.string() + "\n");
}

TEST_F(CaptureBinaryTest, AWindowedRunWritesTheTraceToo) {
    const fs::path trace = root_ / "t.jsonl";
    const Outcome outcome = RunHush({"--windowed", "--trace", trace.string()}, SIGINT, 3000ms);
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err;
    const std::vector<std::string> lines = Lines(ReadFile(trace.string()));
    const auto firstFrame = std::find_if(lines.begin(), lines.end(), IsFrameLine);
    ASSERT_NE(firstFrame, lines.end());
    EXPECT_GT(std::count_if(lines.begin(), firstFrame,
                            [](const std::string& line) { return Name(line) == "AddSkin"; }),
              0);
    float last = -1.0f;
    for (auto line = firstFrame; line != lines.end(); ++line) {
        if (IsFrameLine(*line)) {
            const FrameLine frame = CheckFrameLine(*line);
            EXPECT_GT(frame.t, last) << "the real clock moves on";
            last = frame.t;
        } else {
            EXPECT_TRUE(IsListedLine(*line)) << *line;
        }
    }
}

}  // namespace
