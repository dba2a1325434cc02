// The music values and the show state that OnInit sets up.
#include "show/MusicValues.h"
#include "tests/show/ShowTestSupport.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace showtest {
namespace {

class MusicValuesTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_show.bassValue = 0.0f;
        g_show.pitchValue = 0.0f;
        g_show.upperBandValue = 0.0f;
    }
    std::array<float, 1024> spectrum_{};
};

// Each bin a different value, so a wrong bin or order shows.
TEST_F(MusicValuesTest, EachValueAddsItsBandInAscendingOrderToThePreviousOne) {
    for (int i = 0; i < 1024; ++i) {
        spectrum_[i] = 0.001f * static_cast<float>(i) + 0.1f / static_cast<float>(i + 3);
    }
    g_show.bassValue = 0.3f;
    g_show.pitchValue = 0.7f;
    g_show.upperBandValue = 1.1f;
    UpdateMusicValues(spectrum_.data());

    float bass = 0.3f;
    for (int i = 0; i < 8; ++i) {
        bass = bass + spectrum_[i];
    }
    float pitch = 0.7f;
    for (int i = 24; i < 48; ++i) {
        pitch = pitch + spectrum_[i];
    }
    float upper = 1.1f;
    for (int i = 52; i < 68; ++i) {
        upper = upper + spectrum_[i];
    }
    EXPECT_EQ(g_show.bassValue, bass * 0.125f);
    EXPECT_EQ(g_show.pitchValue, pitch / 24.0f);
    EXPECT_EQ(g_show.upperBandValue, upper * 0.125f);
}

TEST_F(MusicValuesTest, BinsOutsideTheBandsAreIgnored) {
    spectrum_.fill(1.0f);
    const int bands[3][2] = {{0, 7}, {24, 47}, {52, 67}};
    for (const auto& band : bands) {
        std::fill(spectrum_.begin() + band[0], spectrum_.begin() + band[1] + 1, 0.0f);
    }
    UpdateMusicValues(spectrum_.data());
    EXPECT_EQ(g_show.bassValue, 0.0f);
    EXPECT_EQ(g_show.pitchValue, 0.0f);
    EXPECT_EQ(g_show.upperBandValue, 0.0f);
}

TEST_F(MusicValuesTest, AConstantSpectrumSettlesAtTheFixedPoints) {
    const float m = 0.4f;
    spectrum_.fill(m);
    for (int frame = 0; frame < 200; ++frame) {
        UpdateMusicValues(spectrum_.data());
    }
    EXPECT_NEAR(g_show.bassValue, 8.0f * m / 7.0f, 1e-6f);
    EXPECT_NEAR(g_show.pitchValue, 24.0f * m / 23.0f, 1e-6f);
    EXPECT_NEAR(g_show.upperBandValue, 16.0f * m / 7.0f, 1e-6f);
    const float bass = g_show.bassValue;
    UpdateMusicValues(spectrum_.data());
    EXPECT_EQ(g_show.bassValue, bass);
}

TEST_F(MusicValuesTest, SilenceDecaysEachValueByItsFactor) {
    g_show.bassValue = 2.0f;
    g_show.pitchValue = 3.0f;
    g_show.upperBandValue = 5.0f;
    UpdateMusicValues(spectrum_.data());
    EXPECT_EQ(g_show.bassValue, 0.25f);
    EXPECT_EQ(g_show.pitchValue, 0.125f);
    EXPECT_EQ(g_show.upperBandValue, 0.625f);
    UpdateMusicValues(spectrum_.data());
    EXPECT_EQ(g_show.pitchValue, 0.125f / 24.0f);
}

TEST(ShowInitTest, OnInitOpensTheMusicClearsTheValuesAndBuildsTheProjections) {
    win32::SetMessageBoxHook(&RecordBoxes, &g_boxes);
    g_show.bassValue = 1.0f;
    g_show.pitchValue = 2.0f;
    g_show.upperBandValue = 3.0f;
    ProbeWindow window;
    EXPECT_EQ(window.OnInit(), 0);
    win32::SetMessageBoxHook(nullptr, nullptr);
    ASSERT_NE(g_analyser, nullptr);
    EXPECT_EQ(g_analyser->binCount, 1024);
    g_analyser->CloseMusic();
    delete g_analyser;
    g_analyser = nullptr;

    EXPECT_EQ(g_show.bassValue, 0.0f);
    EXPECT_EQ(g_show.pitchValue, 0.0f);
    EXPECT_EQ(g_show.upperBandValue, 0.0f);
    Matrix4 identity;
    identity.SetIdentity();
    EXPECT_TRUE(SameBits(g_show.identityWorld, identity));
    EXPECT_TRUE(SameBits(g_show.projection45, Projection(0.7853982f)));
    EXPECT_TRUE(SameBits(g_show.projection60, Projection(1.0471976f)));
    EXPECT_TRUE(SameBits(g_show.projection90, Projection(1.5707964f)));
    // Far plane 4000, near 1, aspect 4:3: the 90-degree projection's x
    // scale is 1 / (4/3 * tan 45 degrees).
    EXPECT_FLOAT_EQ(g_show.projection90._11, 0.75f);
    EXPECT_FLOAT_EQ(g_show.projection90._33, 4000.0f / 3999.0f);
}

}  // namespace
}  // namespace showtest
