// The generated music decoded as the show's player decodes it: its length,
// its format, and where its energy lies over time in the three bands the
// show follows (bass below 130 Hz, pitch 300-650 Hz, upper 730-950 Hz).
#include <gtest/gtest.h>
#include <kiss_fftr.h>
#include <mpg123.h>

#include <cmath>
#include <vector>

#include "GeneratedMedia.h"

namespace {

struct Decoded {
    long rate = 0;
    int channels = 0;
    std::vector<float> mono;
};

Decoded Decode(const std::filesystem::path& file) {
    Decoded d;
    mpg123_init();
    int error = 0;
    mpg123_handle* mh = mpg123_new(nullptr, &error);
    if (mh == nullptr) {
        return d;
    }
    mpg123_format_none(mh);
    mpg123_format(mh, 44100, MPG123_STEREO | MPG123_MONO, MPG123_ENC_FLOAT_32);
    if (mpg123_open(mh, file.c_str()) == MPG123_OK) {
        int encoding = 0;
        mpg123_getformat(mh, &d.rate, &d.channels, &encoding);
        std::vector<unsigned char> buffer(1 << 16);
        size_t got = 0;
        int result = MPG123_OK;
        while (result == MPG123_OK || result == MPG123_NEW_FORMAT) {
            result = mpg123_read(mh, buffer.data(), buffer.size(), &got);
            const float* samples = reinterpret_cast<const float*>(buffer.data());
            size_t count = got / sizeof(float);
            for (size_t i = 0; i + d.channels <= count; i += d.channels) {
                float sum = 0.0f;
                for (int c = 0; c < d.channels; ++c) {
                    sum += samples[i + c];
                }
                d.mono.push_back(sum / d.channels);
            }
        }
        mpg123_close(mh);
    }
    mpg123_delete(mh);
    return d;
}

const Decoded& Music() {
    static const Decoded music =
        Decode(datakit_test::Media().first / "data/music/hush_master_mix.mp3");
    return music;
}

struct Bands {
    double bass = 0.0, pitch = 0.0, upper = 0.0, total = 0.0;
};

// Mean band powers over [from, to) seconds, from Hann-windowed FFT frames.
Bands Measure(double from, double to) {
    const Decoded& m = Music();
    const int n = 4096;
    kiss_fftr_cfg fft = kiss_fftr_alloc(n, 0, nullptr, nullptr);
    std::vector<float> frame(n);
    std::vector<kiss_fft_cpx> spectrum(n / 2 + 1);
    Bands b;
    int frames = 0;
    const double hz = double(m.rate) / n;
    for (size_t at = static_cast<size_t>(from * m.rate);
         at + n <= static_cast<size_t>(to * m.rate) && at + n <= m.mono.size(); at += n / 2) {
        for (int i = 0; i < n; ++i) {
            double w = 0.5 - 0.5 * std::cos(2.0 * M_PI * i / n);
            frame[i] = static_cast<float>(m.mono[at + i] * w);
        }
        kiss_fftr(fft, frame.data(), spectrum.data());
        for (int k = 1; k <= n / 2; ++k) {
            double f = k * hz;
            double p =
                double(spectrum[k].r) * spectrum[k].r + double(spectrum[k].i) * spectrum[k].i;
            b.total += p;
            b.bass += (f >= 30.0 && f < 130.0) ? p : 0.0;
            b.pitch += (f >= 300.0 && f < 650.0) ? p : 0.0;
            b.upper += (f >= 730.0 && f < 950.0) ? p : 0.0;
        }
        ++frames;
    }
    kiss_fftr_free(fft);
    if (frames > 0) {
        b.bass /= frames;
        b.pitch /= frames;
        b.upper /= frames;
        b.total /= frames;
    }
    return b;
}

double Db(double ratio) {
    return 10.0 * std::log10(ratio);
}

TEST(DatakitMusic, DecodesToThreeMinutesOfStereo) {
    const Decoded& m = Music();
    EXPECT_EQ(m.rate, 44100);
    EXPECT_EQ(m.channels, 2);
    double seconds = double(m.mono.size()) / 44100.0;
    EXPECT_NEAR(seconds, 180.0, 2.0);
}

TEST(DatakitMusic, BassArrivesWithTheParticles) {
    Bands opening = Measure(2.0, 22.0), groove = Measure(25.0, 78.0), peak = Measure(98.0, 154.0);
    EXPECT_GT(Db(groove.bass / opening.bass), 15.0);
    EXPECT_GT(Db(peak.bass / opening.bass), 15.0);
}

TEST(DatakitMusic, LoudestUnderTheTunnelAndModelQ) {
    Bands orbit = Measure(88.0, 96.0), peak = Measure(98.0, 154.0), groove = Measure(30.0, 78.0);
    EXPECT_GT(Db(peak.total / orbit.total), 3.0);
    EXPECT_GT(Db(peak.total / groove.total), 0.5);
    // The break drops the kick and the bass.
    EXPECT_GT(Db(groove.bass / orbit.bass), 10.0);
}

TEST(DatakitMusic, PitchAndUpperBandsCarryTheMelodyAndShimmer) {
    for (auto [from, to] : {std::pair{30.0, 78.0}, std::pair{98.0, 154.0}}) {
        Bands b = Measure(from, to);
        EXPECT_GT(b.pitch / b.total, 0.04) << from;
        EXPECT_GT(b.upper / b.total, 0.005) << from;
    }
    // The opening's pulse already moves the pitch value.
    Bands opening = Measure(6.0, 22.0);
    EXPECT_GT(opening.pitch / opening.total, 0.04);
}

TEST(DatakitMusic, FadesOutByTheEndOfTheShow) {
    Bands peak = Measure(98.0, 154.0), tail = Measure(179.8, 181.0);
    EXPECT_LT(Db(tail.total / peak.total), -40.0);
}

}  // namespace
