// The score against the show's clock and the analyser's bands: sections
// start where the show changes, and each voice keeps to its band.
#include <gtest/gtest.h>

#include "tools/datakit/DetMath.h"
#include "tools/datakit/Score.h"

namespace {

using datakit::MidiToHz;

TEST(DatakitScore, SectionsStartWhereTheShowChanges) {
    EXPECT_NEAR(datakit::StepTime(datakit::kDrumsIn, 0), 24.0, 0.001);  // the particles
    EXPECT_NEAR(datakit::StepTime(datakit::kVerseIn, 0), 29.0, 0.5);    // model W
    EXPECT_NEAR(datakit::StepTime(datakit::kBreakIn, 0), 87.0, 0.5);    // the orbiting picture
    EXPECT_NEAR(datakit::StepTime(datakit::kPeakIn, 0), 97.0, 0.05);    // tunnel and model Q
    EXPECT_NEAR(datakit::StepTime(datakit::kOutroIn, 0), 155.0, 1.0);   // model Q leaves
    EXPECT_LE(datakit::StepTime(datakit::kLastBar, 0), datakit::kMusicLength);
    EXPECT_LE(datakit::kMusicLength, 182.0);
}

TEST(DatakitScore, OffbeatSixteenthsSwingLate) {
    double step = datakit::kStep;
    EXPECT_NEAR(datakit::StepTime(20, 1) - datakit::StepTime(20, 0), step * 1.16, 1e-9);
    EXPECT_NEAR(datakit::StepTime(20, 2) - datakit::StepTime(20, 1), step * 0.84, 1e-9);
}

TEST(DatakitScore, VoicesKeepToTheirBands) {
    for (int bar = 0; bar < 8; ++bar) {
        const datakit::Chord& chord = datakit::ChordOfBar(bar);
        // Bass below 130 Hz; pads above it, so the opening leaves the bass band empty.
        EXPECT_LT(MidiToHz(chord.bass), 130.0) << bar;
        for (int n : chord.pad) {
            EXPECT_GT(MidiToHz(n), 130.0) << bar;
        }
        // The arpeggio drives the pitch band (about 300 to 700 Hz).
        for (int n : chord.tones) {
            EXPECT_GT(MidiToHz(n), 300.0) << bar;
            EXPECT_LT(MidiToHz(n), 700.0) << bar;
        }
        // At least one glass note in the upper band (730 to 950 Hz).
        bool upper = false;
        for (int n : chord.glass) {
            upper = upper || (MidiToHz(n) > 730.0 && MidiToHz(n) < 950.0);
        }
        EXPECT_TRUE(upper) << bar;
    }
}

TEST(DatakitScore, LeadPhrasesAreSingleLinesOfEightBars) {
    for (int which : {0, 1}) {
        const auto& phrase = datakit::LeadPhrase(which);
        ASSERT_FALSE(phrase.empty());
        for (size_t i = 0; i < phrase.size(); ++i) {
            EXPECT_GT(MidiToHz(phrase[i].pitch), 300.0);
            EXPECT_LT(MidiToHz(phrase[i].pitch), 800.0);
            EXPECT_LE(phrase[i].step + phrase[i].length, 128.0);
            if (i > 0) {
                EXPECT_GE(phrase[i].step, phrase[i - 1].step + phrase[i - 1].length)
                    << which << " " << i;
            }
        }
    }
}

}  // namespace
