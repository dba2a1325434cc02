// The BASS stand-in: decoding, rate conversion, the FFT fetch, the capture
// seam, device and silent playback, and bad files.
#include <bass.h>
#include <bass_standin.h>

#include "platform/bass/SpectrumFft.h"
#include "tests/platform/bass/TestMusic.h"

#include <SDL2/SDL.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <numbers>
#include <thread>
#include <vector>

namespace {

using test_music::BinFrequency;
using test_music::TempFolder;
using test_music::Tone;
using Clock = std::chrono::steady_clock;

// Tones of 0.2 s each at distinct bins, so the bin tells the position.
constexpr double kStepSeconds = 0.2;
const int kStepBins[] = {20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120, 130, 140, 150, 160};

std::vector<Tone> Steps() {
    std::vector<Tone> tones;
    for (int bin : kStepBins) {
        tones.push_back({BinFrequency(bin), kStepSeconds, 0.5f});
    }
    return tones;
}

// The step whose bin is the FFT's peak, or -1.
int StepOf(const std::vector<float>& bins) {
    const auto peak = static_cast<int>(std::max_element(bins.begin(), bins.end()) - bins.begin());
    const auto* step = std::find(std::begin(kStepBins), std::end(kStepBins), peak);
    return step == std::end(kStepBins) ? -1 : static_cast<int>(step - std::begin(kStepBins));
}

std::vector<float> Fetch(HSTREAM stream, DWORD flag = BASS_DATA_FFT1024) {
    std::vector<float> bins(1024, -1.0f);
    const DWORD written = BASS_ChannelGetData(stream, bins.data(), flag);
    EXPECT_NE(written, static_cast<DWORD>(-1));
    bins.resize(written / sizeof(float));
    return bins;
}

int PeakBin(const std::vector<float>& bins) {
    return static_cast<int>(std::max_element(bins.begin(), bins.end()) - bins.begin());
}

class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        const char* old = std::getenv(name);
        had_ = old != nullptr;
        old_ = had_ ? old : "";
        setenv(name, value, 1);
    }
    ~ScopedEnv() {
        if (had_) {
            setenv(name_, old_.c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }

private:
    const char* name_;
    bool had_;
    std::string old_;
};

class BassTest : public ::testing::Test {
protected:
    void TearDown() override {
        BASS_Free();
        bass::SetCaptureMode(false);
    }
    TempFolder folder_;
};

class BassCaptureTest : public BassTest {
protected:
    void SetUp() override {
        bass::SetCaptureMode(true);
        ASSERT_TRUE(BASS_Init(-1, 44100, 0, nullptr));
    }
};

TEST(SpectrumFftTest, FullScaleSineAtABinCentreReadsHalf) {
    bass::SpectrumFft fft;
    for (DWORD flag : {BASS_DATA_FFT512, BASS_DATA_FFT1024, BASS_DATA_FFT2048}) {
        const int size = bass::SpectrumFft::SizeForFlag(flag);
        const int bin = size / 16;
        for (int i = 0; i < size; ++i) {
            fft.Input()[i] = static_cast<float>(std::sin(2.0 * std::numbers::pi * bin * i / size));
        }
        std::vector<float> out(static_cast<std::size_t>(size / 2));
        fft.Magnitudes(size, out.data());
        EXPECT_NEAR(out[bin], 0.5f, 1e-4f) << size;
        // The Hann window spreads a centred sine over exactly its neighbours.
        EXPECT_NEAR(out[bin - 1], 0.25f, 1e-4f) << size;
        EXPECT_NEAR(out[bin + 1], 0.25f, 1e-4f) << size;
        EXPECT_LT(out[bin + 3], 1e-4f) << size;
    }
    EXPECT_EQ(bass::SpectrumFft::SizeForFlag(4096), 0);
}

TEST_F(BassCaptureTest, DecodesToTheEncodedLength) {
    const HSTREAM stream = BASS_StreamCreateFile(
        FALSE, test_music::WriteToneMp3(folder_, "a.mp3", Steps(), 44100, 2).c_str(), 0, 0, 0);
    ASSERT_NE(stream, 0u);
    EXPECT_NEAR(bass::DecodedDuration(stream), 15 * kStepSeconds, 0.001);
    EXPECT_EQ(bass::DecodedDuration(12345), -1.0);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_HANDLE);
}

TEST_F(BassCaptureTest, FftAtAHeardTimeShowsThatTone) {
    const HSTREAM stream = BASS_StreamCreateFile(
        FALSE, test_music::WriteToneMp3(folder_, "a.mp3", Steps(), 44100, 2).c_str(), 0, 0, 0);
    ASSERT_NE(stream, 0u);
    // Asked at once, the last step is there: the fetch waits for the decoder.
    for (int step : {14, 0, 7, 3}) {
        ASSERT_TRUE(bass::SetHeardTime(stream, step * kStepSeconds + 0.05));
        const std::vector<float> bins = Fetch(stream);
        ASSERT_EQ(bins.size(), 512u);
        EXPECT_EQ(PeakBin(bins), kStepBins[step]);
        EXPECT_NEAR(bins[static_cast<std::size_t>(kStepBins[step])], 0.25f, 0.02f);
    }
    // The FFT sizes give N / 2 values over the same frequencies.
    ASSERT_TRUE(bass::SetHeardTime(stream, 0.05));
    EXPECT_EQ(PeakBin(Fetch(stream, BASS_DATA_FFT512)), kStepBins[0] / 2);
    EXPECT_EQ(PeakBin(Fetch(stream, BASS_DATA_FFT2048)), kStepBins[0] * 2);
    // Past the end there is silence.
    ASSERT_TRUE(bass::SetHeardTime(stream, 10.0));
    const std::vector<float> after = Fetch(stream);
    EXPECT_EQ(*std::max_element(after.begin(), after.end()), 0.0f);
}

struct FileFormat {
    int rate;
    int channels;
};

class BassFormatTest : public BassCaptureTest, public ::testing::WithParamInterface<FileFormat> {};

TEST_P(BassFormatTest, PlaysAndAnalysesAtTheOutputRate) {
    const FileFormat format = GetParam();
    const std::vector<Tone> tone = {{BinFrequency(40), 1.0, 0.5f}};
    const HSTREAM stream = BASS_StreamCreateFile(
        FALSE,
        test_music::WriteToneMp3(folder_, "f.mp3", tone, format.rate, format.channels).c_str(), 0,
        0, 0);
    ASSERT_NE(stream, 0u);
    EXPECT_NEAR(bass::DecodedDuration(stream), 1.0, 0.001);
    ASSERT_TRUE(bass::SetHeardTime(stream, 0.5));
    const std::vector<float> bins = Fetch(stream);
    EXPECT_EQ(PeakBin(bins), 40);
    EXPECT_NEAR(bins[40], 0.25f, 0.02f);
}

INSTANTIATE_TEST_SUITE_P(Formats, BassFormatTest,
                         ::testing::Values(FileFormat{48000, 2}, FileFormat{22050, 2},
                                           FileFormat{44100, 1}, FileFormat{48000, 1}),
                         [](const auto& info) {
                             return std::to_string(info.param.rate) +
                                    (info.param.channels == 1 ? "Mono" : "Stereo");
                         });

TEST_F(BassTest, MissingCorruptAndTruncatedFiles) {
    std::vector<float> bins(512, 7.0f);
    EXPECT_EQ(BASS_StreamCreateFile(FALSE, "no\\such\\file.mp3", 0, 0, 0), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_FILEOPEN);
    const std::string text = "this is not an mp3 file\n";
    const std::vector<unsigned char> notMp3(text.begin(), text.end());
    EXPECT_EQ(BASS_StreamCreateFile(FALSE, folder_.Write("text.mp3", notMp3).c_str(), 0, 0, 0), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_FILEFORM);
    EXPECT_EQ(
        BASS_StreamCreateFile(
            FALSE, folder_.Write("zeros.mp3", std::vector<unsigned char>(8192)).c_str(), 0, 0, 0),
        0u);
    EXPECT_EQ(BASS_StreamCreateFile(FALSE, folder_.Write("empty.mp3", {}).c_str(), 0, 0, 0), 0u);
    EXPECT_EQ(BASS_ChannelGetData(0, bins.data(), BASS_DATA_FFT1024), static_cast<DWORD>(-1));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_HANDLE);
    EXPECT_EQ(bins[0], 7.0f);
    EXPECT_FALSE(BASS_StreamPlay(0, FALSE, 0));

    // Half a file plays what it holds.
    bass::SetCaptureMode(true);
    std::vector<unsigned char> mp3 =
        test_music::EncodeMp3(test_music::Render(Steps(), 44100, 2), 44100, 2);
    mp3.resize(mp3.size() / 2);
    const HSTREAM half =
        BASS_StreamCreateFile(FALSE, folder_.Write("half.mp3", mp3).c_str(), 0, 0, 0);
    ASSERT_NE(half, 0u);
    EXPECT_NEAR(bass::DecodedDuration(half), 15 * kStepSeconds / 2, 0.1);
}

// Silent MPEG 2.5 Layer III frames, 8 kHz mono at 8 kbit/s: 576 samples in
// 72 bytes, the most music the fewest bytes hold.
std::vector<unsigned char> SilentLowRateMp3(int frames) {
    std::vector<unsigned char> frame(72, 0);
    frame[0] = 0xFF;
    frame[1] = 0xE3;  // sync, MPEG 2.5, Layer III, no CRC
    frame[2] = 0x18;  // 8 kbit/s, 8000 Hz
    frame[3] = 0xC0;  // mono
    std::vector<unsigned char> bytes;
    for (int i = 0; i < frames; ++i) {
        bytes.insert(bytes.end(), frame.begin(), frame.end());
    }
    return bytes;
}

// The stream is decoded into memory at the output rate: 3.6 MB that decode
// to over an hour would take 1.3 GB, and are refused before any of it.
TEST_F(BassTest, FilesDecodingToMoreThanAnHourAreRefused) {
    bass::SetCaptureMode(true);
    const HSTREAM minute = BASS_StreamCreateFile(
        FALSE, folder_.Write("minute.mp3", SilentLowRateMp3(60 * 8000 / 576)).c_str(), 0, 0, 0);
    ASSERT_NE(minute, 0u);
    EXPECT_NEAR(bass::DecodedDuration(minute), 60.0, 0.1);
    EXPECT_EQ(
        BASS_StreamCreateFile(
            FALSE, folder_.Write("long.mp3", SilentLowRateMp3(3601 * 8000 / 576)).c_str(), 0, 0, 0),
        0u);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_MEM);
}

TEST_F(BassTest, SampleDataAndBadArgumentsAreRefused) {
    bass::SetCaptureMode(true);
    const HSTREAM stream = BASS_StreamCreateFile(
        FALSE, test_music::WriteToneMp3(folder_, "a.mp3", Steps(), 44100, 2).c_str(), 0, 0, 0);
    ASSERT_NE(stream, 0u);
    float bins[512];
    EXPECT_EQ(BASS_ChannelGetData(stream, bins, 4096), static_cast<DWORD>(-1));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_ILLPARAM);
    EXPECT_EQ(BASS_ChannelGetData(stream, nullptr, BASS_DATA_FFT1024), static_cast<DWORD>(-1));
    EXPECT_EQ(BASS_StreamCreateFile(TRUE, bins, 0, sizeof bins, 0), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_NOTAVAIL);
    // Freeing the output frees its streams.
    BASS_Free();
    EXPECT_EQ(BASS_ChannelGetData(stream, bins, BASS_DATA_FFT1024), static_cast<DWORD>(-1));
}

TEST_F(BassTest, OutputStateAndVolume) {
    EXPECT_EQ(BASS_GetVersion(), 0x00080001u);
    EXPECT_EQ(BASS_GetVolume(), static_cast<DWORD>(-1));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_INIT);
    EXPECT_FALSE(BASS_Start());
    ASSERT_TRUE(BASS_Init(0, 44100, 0, nullptr));
    EXPECT_FALSE(BASS_Init(0, 44100, 0, nullptr));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_ALREADY);
    EXPECT_EQ(BASS_GetVolume(), 100u);
    EXPECT_TRUE(BASS_SetVolume(40));
    EXPECT_EQ(BASS_GetVolume(), 40u);
    EXPECT_FALSE(BASS_SetVolume(101));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_ILLPARAM);
    EXPECT_FALSE(bass::SetHeardTime(12345, 1.0));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_HANDLE);
    EXPECT_TRUE(BASS_Stop());
    EXPECT_TRUE(BASS_Free());
    EXPECT_FALSE(BASS_Free());
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_INIT);
}

// Plays the steps for about `seconds`, fetching every few milliseconds, and
// checks that the step heard follows the wall clock; `midway` runs once
// halfway through.
void ExpectPlaysInRealTime(HSTREAM stream, double seconds,
                           const std::function<void()>& midway = {}) {
    // Not yet playing: the start is analysed, once the decoder (which a
    // fetch never waits for) has reached it.
    const Clock::time_point created = Clock::now();
    while (StepOf(Fetch(stream)) != 0 && Clock::now() - created < std::chrono::seconds(2)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(StepOf(Fetch(stream)), 0);
    ASSERT_TRUE(BASS_StreamPlay(stream, FALSE, 0));
    const Clock::time_point start = Clock::now();
    Clock::duration slowestFetch{};
    std::vector<float> bins(512);
    bool halfway = false;
    while (Clock::now() - start < std::chrono::duration<double>(seconds)) {
        if (!halfway && Clock::now() - start > std::chrono::duration<double>(seconds / 2)) {
            halfway = true;
            if (midway) {
                midway();
            }
        }
        const Clock::time_point before = Clock::now();
        ASSERT_EQ(BASS_ChannelGetData(stream, bins.data(), BASS_DATA_FFT1024), 2048u);
        slowestFetch = std::max(slowestFetch, Clock::now() - before);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    const std::vector<float> last = Fetch(stream);
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    // Within one step (0.2 s) of the wall clock: the device buffer, the
    // window's length and a loaded machine all fit in that.
    const int expected = static_cast<int>(elapsed / kStepSeconds);
    EXPECT_NEAR(StepOf(last), expected, 1) << "after " << elapsed << " s";
    // A fetch only reads what is decoded: it never waits for anything.
    EXPECT_LT(std::chrono::duration<double>(slowestFetch).count(), 0.1);
}

TEST_F(BassTest, DummyDevicePlaysInRealTime) {
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    ASSERT_TRUE(BASS_Init(-1, 44100, 0, nullptr));
    ASSERT_TRUE(BASS_Start());
    const HSTREAM stream = BASS_StreamCreateFile(
        FALSE, test_music::WriteToneMp3(folder_, "a.mp3", Steps(), 44100, 2).c_str(), 0, 0, 0);
    ASSERT_NE(stream, 0u);
    // Only a capture stream is moved by hand.
    EXPECT_FALSE(bass::SetHeardTime(stream, 1.0));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_NOTAVAIL);
    ExpectPlaysInRealTime(stream, 1.5);
}

// The open output device, found by asking SDL about each device id.
SDL_AudioDeviceID PlayingDevice() {
    for (SDL_AudioDeviceID id = 1; id < 64; ++id) {
        if (SDL_GetAudioDeviceStatus(id) == SDL_AUDIO_PLAYING) {
            return id;
        }
    }
    return 0;
}

// Unplugging the output while the show plays: SDL reports the removal from a
// thread of its own, the stream goes on silently in step with the clock and
// one line says why the sound stopped.
TEST_F(BassTest, RemovedDeviceLeavesTheStreamPlayingSilentlyInRealTime) {
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    ASSERT_TRUE(BASS_Init(-1, 44100, 0, nullptr));
    ASSERT_TRUE(BASS_Start());
    const SDL_AudioDeviceID device = PlayingDevice();
    ASSERT_NE(device, 0u);
    const HSTREAM stream = BASS_StreamCreateFile(
        FALSE, test_music::WriteToneMp3(folder_, "a.mp3", Steps(), 44100, 2).c_str(), 0, 0, 0);
    ASSERT_NE(stream, 0u);
    ::testing::internal::CaptureStderr();
    ExpectPlaysInRealTime(stream, 2.0, [device] {
        SDL_Event removal{};
        removal.type = SDL_AUDIODEVICEREMOVED;
        removal.adevice.which = device;
        // An input device of the same number is not the output.
        removal.adevice.iscapture = 1;
        std::thread([&removal] { SDL_PushEvent(&removal); }).join();
        EXPECT_EQ(SDL_GetAudioDeviceStatus(device), SDL_AUDIO_PLAYING);
        removal.adevice.iscapture = 0;
        std::thread([&removal] { SDL_PushEvent(&removal); }).join();
    });
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "audio: the output device was removed; playing silently\n");
    EXPECT_EQ(SDL_GetAudioDeviceStatus(device), SDL_AUDIO_STOPPED);
    // The output itself lives on without the device.
    EXPECT_TRUE(BASS_SetVolume(30));
    EXPECT_TRUE(BASS_Stop());
    EXPECT_TRUE(BASS_Free());
}

TEST_F(BassTest, WithoutAnOutputPlaysSilentlyInRealTime) {
    ScopedEnv driver("SDL_AUDIODRIVER", "no-such-driver");
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(BASS_Init(-1, 44100, 0, nullptr));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_DRIVER);
    const HSTREAM stream = BASS_StreamCreateFile(
        FALSE, test_music::WriteToneMp3(folder_, "a.mp3", Steps(), 44100, 2).c_str(), 0, 0, 0);
    ASSERT_NE(stream, 0u);
    ExpectPlaysInRealTime(stream, 0.9);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_THAT(said, ::testing::HasSubstr("playing silently"));
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
}

TEST_F(BassTest, DeviceGetsTheStreamAtTheOutputRateAndVolume) {
    // SDL's disk driver writes what the callback mixes to a file.
    const std::string output = folder_.Path() + "/out.raw";
    ScopedEnv driver("SDL_AUDIODRIVER", "disk");
    ScopedEnv file("SDL_DISKAUDIOFILE", output.c_str());
    ASSERT_TRUE(BASS_Init(-1, 44100, 0, nullptr));
    ASSERT_TRUE(BASS_SetVolume(50));
    ASSERT_TRUE(BASS_Start());
    const std::vector<Tone> tone = {{BinFrequency(40), 2.0, 0.8f}};
    const HSTREAM stream = BASS_StreamCreateFile(
        FALSE, test_music::WriteToneMp3(folder_, "m.mp3", tone, 48000, 1).c_str(), 0, 0, 0);
    ASSERT_NE(stream, 0u);
    ASSERT_TRUE(BASS_StreamPlay(stream, FALSE, 0));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    ASSERT_TRUE(BASS_Free());

    std::ifstream in(output, std::ios::binary);
    const std::vector<char> raw((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
    std::vector<float> stereo(raw.size() / sizeof(float));
    std::copy(raw.begin(), raw.begin() + static_cast<long>(stereo.size() * sizeof(float)),
              reinterpret_cast<char*>(stereo.data()));
    // The device ran before the stream was played: find where the music
    // starts, and analyse the left channel a little later.
    const auto start = static_cast<std::size_t>(
        std::find_if(stereo.begin(), stereo.end(), [](float s) { return std::fabs(s) > 1e-3f; }) -
        stereo.begin());
    ASSERT_GE(stereo.size(), start + 2 * (4096 + 1024));
    const std::size_t left = start - start % 2;
    bass::SpectrumFft fft;
    for (std::size_t i = 0; i < 1024; ++i) {
        fft.Input()[i] = stereo[left + (4096 + i) * 2];
    }
    std::vector<float> bins(512);
    fft.Magnitudes(1024, bins.data());
    EXPECT_EQ(PeakBin(bins), 40);
    EXPECT_NEAR(bins[40], 0.8f * 0.5f * 0.5f, 0.02f);
}

}  // namespace
