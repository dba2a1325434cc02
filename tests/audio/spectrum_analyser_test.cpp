// The analyser's weighting and smoothing, fed scripted FFT magnitudes.
#include "audio/SpectrumAnalyser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>

namespace {

// What the scripted FFT delivers: 512 magnitudes, like BASS_DATA_FFT1024.
std::array<float, 512> g_script;
DWORD g_lastFlag = 0;

DWORD ScriptedFft(DWORD, void* buffer, DWORD flag) {
    g_lastFlag = flag;
    std::copy(g_script.begin(), g_script.end(), static_cast<float*>(buffer));
    return sizeof g_script;
}

DWORD FailingFft(DWORD, void*, DWORD) {
    return static_cast<DWORD>(-1);
}

class SpectrumAnalyserTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_script.fill(0.0f);
        analyser_.fetchFft = &ScriptedFft;
        ASSERT_EQ(analyser_.SetupAnalysis(), 1);
    }
    void TearDown() override {
        delete[] analyser_.spectrum;
        delete[] analyser_.work;
    }

    // Non-zero positions of the result.
    std::vector<int> NonZero(const float* result) const {
        std::vector<int> positions;
        for (int i = 0; i < analyser_.binCount; ++i) {
            if (result[i] != 0.0f) {
                positions.push_back(i);
            }
        }
        return positions;
    }

    CSpectrumAnalyser analyser_;
};

TEST_F(SpectrumAnalyserTest, SilenceGivesZeros) {
    const float* result = analyser_.Analyse();
    EXPECT_EQ(result, analyser_.spectrum);
    EXPECT_EQ(g_lastFlag, static_cast<DWORD>(BASS_DATA_FFT1024));
    EXPECT_TRUE(NonZero(result).empty());
}

TEST_F(SpectrumAnalyserTest, EvenSpectrumRisesWithThePosition) {
    g_script.fill(0.01f);
    const float* result = analyser_.Analyse();
    // Position 0 is the average of the weighted positions 4 to 7.
    EXPECT_NEAR(result[0], 0.0134f, 5e-5f);
    EXPECT_NEAR(result[1], 0.0147f, 5e-5f);
    EXPECT_NEAR(result[2], 0.0158f, 5e-5f);
    EXPECT_NEAR(result[3], 0.0167f, 5e-5f);
    // Rising up to the last blocks, whose bands wrap to the lowest positions.
    for (int i = 1; i < 1016; ++i) {
        EXPECT_GE(result[i], result[i - 1]) << i;
    }
}

TEST_F(SpectrumAnalyserTest, LowestBinReachesTheTopThroughTheWrap) {
    g_script[0] = 1.0f;
    analyser_.Analyse();
    // Weighted, only positions 1 to 3 hold anything; the last blocks' bands
    // wrap around to them.
    const float* result = analyser_.spectrum;
    const std::vector<int> nonZero = NonZero(result);
    ASSERT_FALSE(nonZero.empty());
    for (int i : nonZero) {
        EXPECT_TRUE((i >= 1 && i <= 3) || i >= 1013) << i;
    }
    const auto peak = std::max_element(result, result + 1024);
    EXPECT_EQ(peak - result, 1020);
    EXPECT_NEAR(*peak, 0.595f, 5e-4f);
}

TEST_F(SpectrumAnalyserTest, BinTenSaturatesOneBandLower) {
    g_script[10] = 1.0f;
    const float* result = analyser_.Analyse();
    for (int i : NonZero(result)) {
        EXPECT_GE(i, 17);
        EXPECT_LE(i, 35);
    }
    for (int i = 25; i <= 29; ++i) {
        EXPECT_EQ(result[i], 1.0f) << i;
    }
}

TEST_F(SpectrumAnalyserTest, OnlyTheLowestBinsCountAndResultsStayInRange) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> magnitude(0.0f, 20.0f);
    for (float& value : g_script) {
        value = magnitude(random);
    }
    const float* result = analyser_.Analyse();
    const std::vector<float> first(result, result + 1024);
    for (float value : first) {
        EXPECT_GE(value, 0.0f);
        EXPECT_LE(value, 1.0f);
    }
    // Bins above 337 never reach the result, and neither does what the
    // buffer held before the fetch.
    for (std::size_t i = 338; i < g_script.size(); ++i) {
        g_script[i] = magnitude(random);
    }
    std::fill(analyser_.spectrum, analyser_.spectrum + 1024, 1e6f);
    std::fill(analyser_.work, analyser_.work + 1024, -1e6f);
    analyser_.Analyse();
    EXPECT_TRUE(std::equal(first.begin(), first.end(), analyser_.spectrum));
}

TEST_F(SpectrumAnalyserTest, FailedFetchesKeepWorkingOnTheBuffer) {
    analyser_.fetchFft = &FailingFft;
    const float* first = analyser_.Analyse();
    EXPECT_TRUE(NonZero(first).empty());
    EXPECT_EQ(analyser_.Analyse(), first);
}

TEST(SpectrumAnalyserSetupTest, WithoutBuffersAnalyseGivesZeros) {
    CSpectrumAnalyser analyser;
    analyser.fetchFft = &ScriptedFft;
    g_script.fill(0.5f);
    const float* result = analyser.Analyse();
    ASSERT_NE(result, nullptr);
    EXPECT_TRUE(std::all_of(result, result + 1024, [](float v) { return v == 0.0f; }));
    EXPECT_EQ(analyser.spectrum, nullptr);
}

TEST(SpectrumAnalyserSetupTest, BandAverageWrapsAndRoundsAsItAdds) {
    CSpectrumAnalyser analyser;
    const float counting[4] = {1.0f, 2.0f, 3.0f, 4.0f};
    EXPECT_EQ(analyser.BandAverage(counting, 4, 3, 2), 2.5f);
    // The running sum is single precision: 1e8 + 1 loses the 1.
    const float values[4] = {1.0f, 1e8f, 1.0f, -1e8f};
    EXPECT_EQ(analyser.BandAverage(values, 4, 0, 4), 0.0f);
    EXPECT_EQ(analyser.BandAverage(values, 4, 1, 4), 0.25f);
}

}  // namespace
