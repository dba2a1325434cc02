// Tone rendering, LAME encoding and temp files for the audio tests.
#include "tests/platform/bass/TestMusic.h"

#include <lame/lame.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <stdexcept>

namespace test_music {

double BinFrequency(int bin, int fftSize) {
    return bin * 44100.0 / fftSize;
}

std::vector<float> Render(const std::vector<Tone>& tones, int rate, int channels) {
    std::vector<float> samples;
    for (const Tone& tone : tones) {
        const auto frames = static_cast<long>(std::lround(tone.seconds * rate));
        for (long i = 0; i < frames; ++i) {
            const double phase = 2.0 * std::numbers::pi * tone.frequency * i / rate;
            const float value = tone.amplitude * static_cast<float>(std::sin(phase));
            for (int c = 0; c < channels; ++c) {
                samples.push_back(value);
            }
        }
    }
    return samples;
}

std::vector<unsigned char> EncodeMp3(const std::vector<float>& interleaved, int rate,
                                     int channels) {
    lame_t lame = lame_init();
    lame_set_in_samplerate(lame, rate);
    lame_set_out_samplerate(lame, rate);
    lame_set_num_channels(lame, channels);
    lame_set_mode(lame, channels == 1 ? MONO : JOINT_STEREO);
    lame_set_brate(lame, rate >= 32000 ? 192 : 128);
    lame_set_quality(lame, 5);
    lame_set_bWriteVbrTag(lame, 1);
    if (lame_init_params(lame) < 0) {
        lame_close(lame);
        throw std::runtime_error("lame_init_params failed");
    }
    const int frames = static_cast<int>(interleaved.size()) / channels;
    std::vector<float> left(static_cast<std::size_t>(frames));
    std::vector<float> right(static_cast<std::size_t>(frames));
    for (int i = 0; i < frames; ++i) {
        left[static_cast<std::size_t>(i)] = interleaved[static_cast<std::size_t>(i * channels)];
        right[static_cast<std::size_t>(i)] =
            interleaved[static_cast<std::size_t>(i * channels + channels - 1)];
    }
    std::vector<unsigned char> mp3(static_cast<std::size_t>(frames) * 5 / 4 + 7200 + 65536);
    int size = lame_encode_buffer_ieee_float(lame, left.data(), right.data(), frames, mp3.data(),
                                             static_cast<int>(mp3.size()));
    if (size >= 0) {
        const int flushed =
            lame_encode_flush(lame, mp3.data() + size, static_cast<int>(mp3.size()) - size);
        size = flushed >= 0 ? size + flushed : flushed;
    }
    if (size < 0) {
        lame_close(lame);
        throw std::runtime_error("lame encoding failed");
    }
    mp3.resize(static_cast<std::size_t>(size));
    // The first frame is a placeholder for the tag that carries the delay
    // and padding.
    unsigned char tag[4096];
    const std::size_t tagSize = lame_get_lametag_frame(lame, tag, sizeof tag);
    if (tagSize > 0 && tagSize <= sizeof tag && tagSize <= mp3.size()) {
        std::copy(tag, tag + tagSize, mp3.begin());
    }
    lame_close(lame);
    return mp3;
}

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "hush-audio-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TempFolder::Write(const std::string& relativePath,
                              const std::vector<unsigned char>& bytes) const {
    const std::filesystem::path path = std::filesystem::path(path_) / relativePath;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return path.string();
}

std::string WriteToneMp3(const TempFolder& folder, const std::string& name,
                         const std::vector<Tone>& tones, int rate, int channels) {
    return folder.Write(name, EncodeMp3(Render(tones, rate, channels), rate, channels));
}

}  // namespace test_music
