// The arrangement: which voices play in which bars, at what level, and the
// mix-down. Sections follow the show: pads and a pulse alone for the
// opening; drums and bass from 24 s; the arpeggio and lead under model W;
// a drumless break for the orbiting picture; everything, brightest and
// loudest, under the tunnel and model Q; then an outro fading out by 180 s.
#include "tools/datakit/Arrangement.h"

#include <algorithm>
#include <cmath>

#include "tools/datakit/AudioEffects.h"
#include "tools/datakit/DetMath.h"
#include "tools/datakit/Drums.h"
#include "tools/datakit/Filters.h"
#include "tools/datakit/Oscillators.h"
#include "tools/datakit/Random.h"
#include "tools/datakit/Score.h"

namespace datakit {
namespace {

struct Buses {
    explicit Buses(std::size_t frames)
        : drums(frames), bass(frames), pads(frames), music(frames), reverb(frames), delay(frames) {}
    Stereo drums, bass, pads, music, reverb, delay;
};

Route On(Stereo& bus, Buses& b, double gain, double reverb, double delay) {
    Route r;
    r.dry = &bus;
    r.reverb = &b.reverb;
    r.delay = &b.delay;
    r.gain = gain;
    r.reverbSend = reverb;
    r.delaySend = delay;
    return r;
}

bool In(int bar, int from, int to) {
    return bar >= from && bar < to;
}

// Pads: every bar, darker in the opening and the break, brightest at the peak.
void PadChords(Buses& b) {
    Route route = On(b.pads, b, 0.55, 0.5, 0.0);
    for (int bar = 0; bar < kLastBar - 1; ++bar) {
        double brightness = 1.0;
        if (bar < kDrumsIn) {
            brightness = 0.5 + 0.4 * bar / kDrumsIn;
        } else if (In(bar, kBreakIn, kPeakIn)) {
            brightness = 0.75;
        } else if (In(bar, kPeakIn, kOutroIn)) {
            brightness = 1.4;
        } else if (bar >= kOutroIn) {
            brightness = 1.1 - 0.06 * (bar - kOutroIn);
        }
        double start = bar == 0 ? 0.0 : StepTime(bar, 0) - 0.04;
        double held = bar == 0 ? StepTime(1, 0) : kBar;
        // Alone in the opening, the pads carry the music: louder there.
        double level = bar < kDrumsIn ? 1.6 : 1.0;
        PlayPad(route.Scaled(level), ChordOfBar(bar).pad, start, held, brightness, 100U + bar);
    }
}

// The opening pulse: soft eighths on the chord, returning in the outro.
void OpeningPulse(Buses& b) {
    Route route = On(b.music, b, 0.5, 0.3, 0.4);
    const double accents[8] = {1.0, 0.4, 0.65, 0.4, 0.85, 0.4, 0.65, 0.5};
    for (int bar = 2; bar < kLastBar - 2; ++bar) {
        double level;
        if (bar < kVerseIn) {
            level = 0.8 + 0.8 * std::min(1.0, (bar - 2) / 6.0);
        } else if (In(bar, kOutroIn + 2, kLastBar - 2)) {
            level = 0.8 - 0.1 * (bar - kOutroIn - 2);
        } else {
            continue;
        }
        const Chord& chord = ChordOfBar(bar);
        for (int e = 0; e < 8; ++e) {
            int note = chord.tones[e % 4 == 2 ? 2 : 0];
            PlayPulse(route.Panned(e % 2 ? 0.25 : -0.25), note, StepTime(bar, e * 2),
                      accents[e] * level);
        }
    }
}

void DrumKit(Buses& b, std::vector<double>& kicks, Random& rng) {
    Route kick = On(b.drums, b, 1.0, 0.04, 0.0);
    Route snare = On(b.drums, b, 0.5, 0.35, 0.0).Panned(0.05);
    Route hat = On(b.drums, b, 0.24, 0.12, 0.0).Panned(0.3);
    Route shaker = On(b.drums, b, 0.3, 0.1, 0.0).Panned(-0.35);
    Route crash = On(b.drums, b, 0.4, 0.3, 0.0);
    Route riser = On(b.music, b, 0.45, 0.4, 0.0);
    auto kickAt = [&](int bar, double step, double v) {
        double t = StepTime(bar, step);
        PlayKick(kick, t, v);
        kicks.push_back(t);
    };
    std::uint32_t seed = 1;
    for (int bar = kDrumsIn; bar < kOutroIn + 3; ++bar) {
        bool verse = In(bar, kDrumsIn, kBreakIn - 1);
        bool peak = In(bar, kPeakIn, kOutroIn);
        if (verse) {
            kickAt(bar, 0, 1.0);
            kickAt(bar, 6, 0.7);
            kickAt(bar, 10, 0.95);
            if (bar % 4 == 3) {
                kickAt(bar, 14, 0.6);
            }
        } else if (peak) {
            kickAt(bar, 0, 1.0);
            kickAt(bar, 3, 0.55);
            kickAt(bar, 6, 0.85);
            kickAt(bar, 10, 1.0);
            kickAt(bar, 11, 0.5);
        }
        if ((verse && bar > kDrumsIn) || peak) {
            PlaySnare(snare, StepTime(bar, 4), 0.95 + 0.05 * rng.Uniform(), seed++);
            PlaySnare(snare, StepTime(bar, 12), 1.0, seed++);
            if (peak) {
                PlaySnare(snare, StepTime(bar, 7), 0.22, seed++);
                PlaySnare(snare, StepTime(bar, 15), 0.28, seed++);
            }
        }
        // Hats: eighths to start, swung sixteenths once the verse settles.
        bool sixteenths = In(bar, kVerseIn + 2, kThinOut) || peak;
        bool eighths = verse || bar >= kOutroIn;
        if (sixteenths || eighths) {
            double fade = bar >= kOutroIn ? 0.8 - 0.2 * (bar - kOutroIn) : 1.0;
            for (int s = 0; s < 16; s += sixteenths ? 1 : 2) {
                double v =
                    (s % 4 == 2 ? 1.0 : (s % 2 == 0 ? 0.7 : 0.4)) * (0.85 + 0.15 * rng.Uniform());
                bool open = s == 14 && (peak || bar % 2 == 1);
                PlayHat(hat, StepTime(bar, s), v * fade, open, seed++);
            }
        }
        if (peak) {
            for (int s = 2; s < 16; s += 4) {
                PlayShaker(shaker, StepTime(bar, s), 0.6 + 0.4 * rng.Uniform(), seed++);
            }
        }
    }
    // A roll into the peak.
    for (int s = 0; s < 16; ++s) {
        PlaySnare(snare, StepTime(kPeakIn - 1, s), 0.15 + 0.6 * s / 15.0, seed++);
        if (s >= 12) {
            PlaySnare(snare, StepTime(kPeakIn - 1, s + 0.5), 0.2 + 0.5 * s / 15.0, seed++);
        }
    }
    for (int bar : {kDrumsIn, kPeakIn, kPeakIn + 8, kPeakIn + 16}) {
        PlayCrash(crash, StepTime(bar, 0), 1.0, seed++);
    }
    PlayCrash(crash, StepTime(kOutroIn, 0), 0.6, seed++);
    PlayRiser(riser, StepTime(kDrumsIn - 2, 0), StepTime(kDrumsIn, 0), 501);
    PlayRiser(riser, StepTime(kPeakIn - 2, 0), StepTime(kPeakIn, 0), 503);
}

void Bassline(Buses& b) {
    Route route = On(b.bass, b, 0.8, 0.0, 0.0);
    for (int bar = kDrumsIn; bar < kOutroIn + 4; ++bar) {
        int root = ChordOfBar(bar).bass;
        if (In(bar, kDrumsIn, kBreakIn - 1)) {
            PlayBass(route, root, StepTime(bar, 0), 5 * kStep, 1.0);
            PlayBass(route, root, StepTime(bar, 7), 2 * kStep, 0.75);
            PlayBass(route, root, StepTime(bar, 10), 3 * kStep, 0.9);
            PlayBass(route, root + 7, StepTime(bar, 14), 1.5 * kStep, 0.6);
        } else if (bar == kBreakIn - 1) {
            PlayBass(route, root, StepTime(bar, 0), 14 * kStep, 0.9);
        } else if (In(bar, kPeakIn, kOutroIn)) {
            for (int s = 0; s < 16; s += 2) {
                int note = (s == 6 || s == 14) ? root + 12 : root;
                PlayBass(route, note, StepTime(bar, s), 1.6 * kStep, s % 4 == 0 ? 1.0 : 0.8);
            }
        } else if (bar >= kOutroIn) {
            PlayBass(route, root, StepTime(bar, 0), 12 * kStep, 0.9 - 0.18 * (bar - kOutroIn));
        }
    }
}

void Arpeggio(Buses& b) {
    Route route = On(b.music, b, 0.4, 0.25, 0.35);
    const int order[8] = {0, 1, 2, 3, 4, 3, 2, 1};
    for (int bar = kVerseIn; bar < kOutroIn + 2; ++bar) {
        const Chord& chord = ChordOfBar(bar);
        bool breakBar = In(bar, kBreakIn, kPeakIn);
        bool peak = In(bar, kPeakIn, kOutroIn);
        double level = peak ? 1.0 : (bar >= kThinOut ? 0.6 : 0.8);
        double brightness = peak ? 1.0 : (breakBar ? 0.35 : 0.6);
        if (bar >= kOutroIn) {
            level = 0.5 - 0.15 * (bar - kOutroIn);
        }
        for (int s = 0; s < 16; s += breakBar ? 2 : 1) {
            int note = chord.tones[order[(s + bar) % 8]];
            double v = (s % 4 == 0 ? 1.0 : 0.7) * level;
            PlayPluck(route.Panned(s % 2 ? 0.35 : -0.35), note, StepTime(bar, s), v, brightness);
        }
    }
}

void Melody(Buses& b) {
    Route route = On(b.music, b, 0.55, 0.4, 0.28).Panned(-0.1);
    auto phrase = [&](int which, int firstBar, int bars, double velocity) {
        for (const Note& n : LeadPhrase(which)) {
            if (n.step < bars * 16) {
                int bar = firstBar + static_cast<int>(n.step) / 16;
                double step = n.step - 16.0 * (static_cast<int>(n.step) / 16);
                PlayLead(route, n.pitch, StepTime(bar, step), n.length * kStep * 0.92, velocity);
            }
        }
    };
    phrase(0, kVerseIn + 2, 8, 0.75);
    phrase(0, kVerseIn + 10, 8, 0.85);
    phrase(0, kPeakIn, 8, 1.0);
    phrase(1, kPeakIn + 8, 8, 1.0);
    phrase(1, kPeakIn + 16, 6, 1.0);
    phrase(0, kOutroIn + 2, 4, 0.55);
}

void GlassChords(Buses& b) {
    Route route = On(b.music, b, 0.45, 0.6, 0.2).Panned(0.2);
    for (int bar = kVerseIn + 6; bar < kOutroIn + 6; ++bar) {
        if (In(bar, kThinOut, kBreakIn)) {
            continue;
        }
        double v = In(bar, kBreakIn, kPeakIn) ? 1.0 : (bar >= kOutroIn ? 0.6 : 0.8);
        for (int note : ChordOfBar(bar).glass) {
            PlayGlass(route, note, StepTime(bar, 0), kBar * 0.9, v);
        }
    }
}

}  // namespace

Stereo RenderShowMusic() {
    const std::size_t frames = FrameAt(kMusicLength);
    Buses b(frames);
    std::vector<double> kicks;
    Random rng(2024);
    PadChords(b);
    OpeningPulse(b);
    DrumKit(b, kicks, rng);
    Bassline(b);
    Arpeggio(b);
    Melody(b);
    GlassChords(b);
    PlayCrackle(On(b.music, b, 1.0, 0.0, 0.0), 0.0, kFadeEnd, 77);

    std::sort(kicks.begin(), kicks.end());
    ApplyGain(b.bass, DuckingCurve(frames, kicks, 0.6, 0.15));
    ApplyGain(b.pads, DuckingCurve(frames, kicks, 0.35, 0.2));
    ApplyPingPongDelay(b.delay, 3.0 * kBeat / 4.0, 0.45);
    for (std::size_t i = 0; i < frames; ++i) {
        b.reverb.left[i] += 0.25f * b.delay.left[i];
        b.reverb.right[i] += 0.25f * b.delay.right[i];
    }
    ApplyReverb(b.reverb, {});

    Stereo master(frames);
    OnePole dcL, dcR;
    dcL.SetLowpass(22.0);
    dcR.SetLowpass(22.0);
    double peak = 0.0;
    for (std::size_t i = 0; i < frames; ++i) {
        double l = b.drums.left[i] + b.bass.left[i] + b.pads.left[i] + b.music.left[i] +
                   1.5 * b.reverb.left[i] + 0.7 * b.delay.left[i];
        double r = b.drums.right[i] + b.bass.right[i] + b.pads.right[i] + b.music.right[i] +
                   1.5 * b.reverb.right[i] + 0.7 * b.delay.right[i];
        l = dcL.High(l);
        r = dcR.High(r);
        master.left[i] = static_cast<float>(l);
        master.right[i] = static_cast<float>(r);
        peak = std::max({peak, std::fabs(l), std::fabs(r)});
    }
    // Drive the loudest peaks gently into the clipper, fade, then settle
    // the peak at -1 dBFS.
    const double drive = peak > 0.0 ? 1.25 / peak : 1.0;
    double finalPeak = 0.0;
    for (std::size_t i = 0; i < frames; ++i) {
        double t = double(i) / kSampleRate;
        double fade = 1.0;
        if (t >= kFadeEnd) {
            fade = 0.0;
        } else if (t > kFadeStart) {
            fade = 0.5 + 0.5 * Cos(kPi * (t - kFadeStart) / (kFadeEnd - kFadeStart));
        }
        double l = SoftClip(master.left[i] * drive) * fade;
        double r = SoftClip(master.right[i] * drive) * fade;
        master.left[i] = static_cast<float>(l);
        master.right[i] = static_cast<float>(r);
        finalPeak = std::max({finalPeak, std::fabs(l), std::fabs(r)});
    }
    const double norm = finalPeak > 0.0 ? 0.891 / finalPeak : 1.0;
    for (std::size_t i = 0; i < frames; ++i) {
        master.left[i] = static_cast<float>(master.left[i] * norm);
        master.right[i] = static_cast<float>(master.right[i] * norm);
    }
    return master;
}

}  // namespace datakit
