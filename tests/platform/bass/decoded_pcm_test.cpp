// The PCM store filled from float planes (the web's decoded music) holds what
// the desktop's decoder thread stores from the same decoded floats, so both
// builds analyse the same samples.
#include <bass.h>
#include <bass_standin.h>

#include "platform/bass/DecodedPcm.h"
#include "platform/bass/Mp3Reader.h"
#include "platform/bass/SpectrumFft.h"
#include "tests/platform/bass/TestMusic.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

using test_music::BinFrequency;
using test_music::Tone;

TEST(DecodedPcmTest, SamplesAreClampedScaledAndRounded) {
    EXPECT_EQ(bass::DecodedPcm::ToSample(0.0f), 0);
    EXPECT_EQ(bass::DecodedPcm::ToSample(1.0f), 32767);
    EXPECT_EQ(bass::DecodedPcm::ToSample(1.5f), 32767);
    EXPECT_EQ(bass::DecodedPcm::ToSample(-1.0f), -32767);
    EXPECT_EQ(bass::DecodedPcm::ToSample(-2.0f), -32767);
    EXPECT_EQ(bass::DecodedPcm::ToSample(0.6f / 32767.0f), 1);
    EXPECT_EQ(bass::DecodedPcm::ToSample(-1.4f / 32767.0f), -1);
    EXPECT_EQ(bass::DecodedPcm::ToSample(2.5f / 32767.0f), 2);

    // Frames past the capacity are dropped; frames not yet there read as silence.
    bass::DecodedPcm pcm;
    ASSERT_TRUE(pcm.Allocate(3));
    const float left[] = {0.5f, -0.5f, 0.25f, 1.0f};
    const float right[] = {0.5f, 0.5f, -0.25f, 1.0f};
    pcm.Append(left, right, 2);
    float mono[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    pcm.ReadMono(1, 4, mono);
    EXPECT_EQ(mono[0], 0.0f);
    EXPECT_EQ(mono[1], 0.0f);
    pcm.Append(left + 2, right + 2, 2);
    EXPECT_EQ(pcm.Decoded(), 3);
    pcm.ReadMono(-1, 4, mono);
    EXPECT_EQ(mono[0], 0.0f);
    EXPECT_EQ(mono[3], 0.0f);
}

struct Format {
    int channels;
    float amplitude;
};

class FloatPlanesTest : public ::testing::TestWithParam<Format> {
protected:
    void TearDown() override {
        BASS_Free();
        bass::SetCaptureMode(false);
    }
    test_music::TempFolder folder_;
};

// The same MP3 through the desktop's path (decoder thread, converter) and
// through float planes gives the same spectrum, bit for bit, everywhere.
TEST_P(FloatPlanesTest, SpectraEqualTheDesktopDecoders) {
    const Format format = GetParam();
    const std::vector<Tone> tones = {{BinFrequency(30), 0.3, format.amplitude},
                                     {BinFrequency(90), 0.3, format.amplitude * 0.3f},
                                     {BinFrequency(200), 0.3, format.amplitude}};
    const std::vector<unsigned char> mp3 = test_music::EncodeMp3(
        test_music::Render(tones, 44100, format.channels), 44100, format.channels);

    bass::SetCaptureMode(true);
    ASSERT_TRUE(BASS_Init(-1, 44100, 0, nullptr));
    const HSTREAM stream =
        BASS_StreamCreateFile(FALSE, folder_.Write("m.mp3", mp3).c_str(), 0, 0, 0);
    ASSERT_NE(stream, 0u);

    const std::unique_ptr<bass::Mp3Reader> reader = bass::Mp3Reader::Open(mp3);
    ASSERT_NE(reader, nullptr);
    const int channels = reader->Channels();
    std::vector<float> interleaved(static_cast<std::size_t>(reader->Length() * channels));
    std::size_t read = 0;
    while (std::size_t got = reader->Read(interleaved.data() + read * channels,
                                          interleaved.size() / channels - read)) {
        read += got;
    }
    ASSERT_EQ(static_cast<std::int64_t>(read), reader->Length());
    const auto [low, high] = std::minmax_element(interleaved.begin(), interleaved.end());
    if (format.amplitude >= 1.0f) {
        ASSERT_LT(*low, -1.0f);
        ASSERT_GT(*high, 1.0f);
    }
    std::vector<float> left(read);
    std::vector<float> right(read);
    for (std::size_t i = 0; i < read; ++i) {
        left[i] = interleaved[i * channels];
        right[i] = interleaved[i * channels + channels - 1];
    }
    bass::DecodedPcm pcm;
    ASSERT_TRUE(pcm.Allocate(reader->Length()));
    // In uneven chunks, as a browser's planes are copied over.
    for (std::size_t first = 0; first < read;) {
        const std::size_t count = std::min<std::size_t>(777, read - first);
        pcm.Append(left.data() + first, channels == 1 ? left.data() + first : right.data() + first,
                   static_cast<std::int64_t>(count));
        first += count;
    }
    pcm.Finish();
    ASSERT_EQ(bass::DecodedDuration(stream), static_cast<double>(read) / 44100.0);

    bass::SpectrumFft fft;
    std::vector<float> desktop(512);
    std::vector<float> planes(512);
    for (double seconds = 0.0; seconds < 0.9; seconds += 0.0437) {
        ASSERT_TRUE(bass::SetHeardTime(stream, seconds));
        BASS_ChannelGetData(stream, desktop.data(), BASS_DATA_FFT1024);
        pcm.ReadMono(std::llround(seconds * 44100.0), 1024, fft.Input());
        fft.Magnitudes(1024, planes.data());
        ASSERT_EQ(planes, desktop) << seconds;
    }
}

// Loud enough to clip: the decoded floats pass 1.0.
INSTANTIATE_TEST_SUITE_P(Formats, FloatPlanesTest,
                         ::testing::Values(Format{2, 0.5f}, Format{1, 0.5f}, Format{2, 1.3f}),
                         [](const auto& info) {
                             return std::string(info.param.channels == 1 ? "Mono" : "Stereo") +
                                    (info.param.amplitude >= 1.0f ? "Clipping" : "");
                         });

}  // namespace
