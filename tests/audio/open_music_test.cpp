// Opening and closing the show's music through the BASS stand-in, run in a
// temp folder as the working directory.
#include "audio/SpectrumAnalyser.h"

#include <bass_standin.h>
#include <win32_standin.h>

#include "tests/platform/bass/TestMusic.h"
#include "tests/platform/win32_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

class OpenMusicTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(folder_.Path());
        win32::SetMessageBoxHook(&RecordBoxes, &boxes_);
    }
    void TearDown() override {
        win32::SetMessageBoxHook(nullptr, nullptr);
        std::filesystem::current_path(previous_);
        bass::SetCaptureMode(false);
    }

    test_music::TempFolder folder_;
    std::filesystem::path previous_;
    std::vector<RecordedBox> boxes_;
};

// Opens the music that is not there (or not music) and checks that the show
// goes on in silence after one box.
void ExpectSilentShowAfterOneBox(const std::vector<RecordedBox>& boxes) {
    OpenMusic();
    ASSERT_NE(g_analyser, nullptr);
    EXPECT_EQ(g_analyser->stream, 0u);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"Error loading data\\music\\hush_master_mix.mp3");
    EXPECT_EQ(boxes[0].caption, L"Error");
    EXPECT_EQ(boxes[0].type, static_cast<UINT>(MB_OK));
    EXPECT_EQ(g_analyser->binCount, 1024);

    const float* first = g_analyser->Analyse();
    EXPECT_TRUE(std::all_of(first, first + 1024, [](float v) { return v == 0.0f; }));
    EXPECT_EQ(g_analyser->Analyse(), first);

    CSpectrumAnalyser* analyser = g_analyser;
    g_analyser->CloseMusic();
    EXPECT_EQ(g_analyser, analyser);
    EXPECT_EQ(g_analyser->spectrum, nullptr);
    EXPECT_EQ(g_analyser->work, nullptr);
    delete g_analyser;
}

TEST_F(OpenMusicTest, MissingMusicIsSaidAndTheShowGoesOnSilent) {
    ExpectSilentShowAfterOneBox(boxes_);
}

TEST_F(OpenMusicTest, CorruptMusicIsSaidAndTheShowGoesOnSilent) {
    const std::string text = "not music at all\n";
    folder_.Write("data/music/hush_master_mix.mp3",
                  std::vector<unsigned char>(text.begin(), text.end()));
    ExpectSilentShowAfterOneBox(boxes_);
}

TEST_F(OpenMusicTest, MusicIsAnalysedWhereItIsHeard) {
    // A tone at FFT bin 40 is spread to about three positions per bin and
    // smoothed one band (4 positions) lower.
    test_music::WriteToneMp3(folder_, "data/music/hush_master_mix.mp3",
                             {{test_music::BinFrequency(40), 1.0, 0.5f}}, 44100, 2);
    bass::SetCaptureMode(true);
    OpenMusic();
    ASSERT_NE(g_analyser->stream, 0u);
    EXPECT_TRUE(boxes_.empty());
    EXPECT_EQ(BASS_GetVolume(), 100u);
    ASSERT_TRUE(BASS_StreamPlay(g_analyser->stream, FALSE, 0));
    ASSERT_TRUE(bass::SetHeardTime(g_analyser->stream, 0.5));
    const float* result = g_analyser->Analyse();
    const auto peak = std::max_element(result, result + 1024) - result;
    EXPECT_GE(peak, 40 * 3 - 8);
    EXPECT_LE(peak, 41 * 3 - 4);
    EXPECT_GT(result[peak], 0.5f);
    g_analyser->CloseMusic();
    EXPECT_EQ(BASS_GetVolume(), static_cast<DWORD>(-1));
    delete g_analyser;
}

}  // namespace
