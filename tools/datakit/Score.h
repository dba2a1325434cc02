// The piece's score: tempo grid, A-minor chord cycle, melodies, and the
// sections, laid out so the music changes where the show does.
//
// 92 bpm, bars of four beats. Bar 0 starts 0.522 s in, so that bar 9 (the
// drums and bass, with the particles) starts at 24.0 s and bar 37 (the
// loudest stretch, with the tunnel and model Q) at 97.0 s.
#pragma once

#include <vector>

namespace datakit {

inline constexpr double kBpm = 92.0;
inline constexpr double kBeat = 60.0 / kBpm;
inline constexpr double kBar = 4.0 * kBeat;
inline constexpr double kStep = kBeat / 4.0;  // a sixteenth
inline constexpr double kFirstBar = 24.0 - 9.0 * kBar;
inline constexpr double kSwing = 0.16;         // odd sixteenths, late by this part of a step
inline constexpr double kMusicLength = 181.0;  // seconds, silence after the fade
inline constexpr double kFadeStart = 168.0, kFadeEnd = 180.0;

// Section boundaries, in bars.
inline constexpr int kDrumsIn = 9;   // 24.0 s: drums and bass with the particles
inline constexpr int kVerseIn = 11;  // 29.2 s: arpeggio with model W
inline constexpr int kThinOut = 30;  // 78.8 s: model W fades
inline constexpr int kBreakIn = 33;  // 86.6 s: the orbiting picture, no drums
inline constexpr int kPeakIn = 37;   // 97.0 s: tunnel and model Q, everything
inline constexpr int kOutroIn = 59;  // 154.4 s: model Q gone, winding down
inline constexpr int kLastBar = 69;

// Start of a sixteenth step of a bar, swing included.
double StepTime(int bar, double step);

struct Chord {
    std::vector<int> pad;    // MIDI notes of the pad voicing
    int bass;                // MIDI root for the bass
    std::vector<int> tones;  // chord tones for the arpeggio, 64..76
    std::vector<int> glass;  // two high notes, 77..83
};
// The eight-bar cycle Am F C G Dm Am F E.
const Chord& ChordOfBar(int bar);

struct Note {
    double step;    // sixteenths from the phrase's first bar
    double length;  // sixteenths
    int pitch;      // MIDI
};
// The lead's eight-bar phrases: a mournful first and a climbing second.
const std::vector<Note>& LeadPhrase(int which);

}  // namespace datakit
