// The kit's own elementary functions and noises: close to the C library's
// results (their series and reductions are right), and periodic noises that
// really wrap, which seamless tiles rely on.
#include <gtest/gtest.h>

#include <cmath>

#include "tools/datakit/DetMath.h"
#include "tools/datakit/Noise.h"

namespace {

TEST(DatakitMath, ElementaryFunctionsMatchTheCLibrary) {
    for (double x = -40.0; x <= 40.0; x += 0.0137) {
        EXPECT_NEAR(datakit::Sin(x), std::sin(x), 1e-12) << x;
        EXPECT_NEAR(datakit::Cos(x), std::cos(x), 1e-12) << x;
        EXPECT_NEAR(datakit::Atan2(x, 3.0 - x), std::atan2(x, 3.0 - x), 1e-12) << x;
        EXPECT_NEAR(datakit::Tanh(x * 0.1), std::tanh(x * 0.1), 1e-12) << x;
    }
    for (double x = -30.0; x <= 30.0; x += 0.0173) {
        EXPECT_NEAR(datakit::Exp(x) / std::exp(x), 1.0, 1e-13) << x;
    }
    for (double x = 1e-6; x <= 1e6; x *= 1.37) {
        EXPECT_NEAR(datakit::Log(x), std::log(x), 1e-12) << x;
        EXPECT_NEAR(datakit::Pow(x, 0.37) / std::pow(x, 0.37), 1.0, 1e-12) << x;
    }
    EXPECT_NEAR(datakit::MidiToHz(69.0), 440.0, 1e-9);
    EXPECT_NEAR(datakit::MidiToHz(57.0), 220.0, 1e-9);
}

TEST(DatakitMath, PeriodicNoisesWrapExactlyAtTheirPeriod) {
    const datakit::Period period{4, 8};
    for (double y = 0.05; y < 8.0; y += 0.61) {
        for (double x = 0.05; x < 4.0; x += 0.37) {
            EXPECT_NEAR(datakit::Fbm(x, y, 5, 11, period),
                        datakit::Fbm(x + 4.0, y + 8.0, 5, 11, period), 1e-9);
            EXPECT_NEAR(datakit::ValueNoise(x, y, 3, period),
                        datakit::ValueNoise(x - 4.0, y, 3, period), 1e-9);
            EXPECT_NEAR(datakit::Worley(x, y, 7, period).f1,
                        datakit::Worley(x + 4.0, y - 8.0, 7, period).f1, 1e-9);
        }
    }
}

}  // namespace
