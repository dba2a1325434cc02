// Test music: tone sequences rendered to PCM, encoded to MP3 with LAME and
// written to files, for tests and benchmarks of the audio layer.
#pragma once

#include <string>
#include <vector>

namespace test_music {

struct Tone {
    double frequency;  // Hz; 0 is silence
    double seconds;
    float amplitude;
};

// The centre frequency of an FFT bin at the output rate of 44100 Hz.
double BinFrequency(int bin, int fftSize = 1024);

// Interleaved samples of the tones one after another.
std::vector<float> Render(const std::vector<Tone>& tones, int rate, int channels);

// CBR MP3 with a LAME tag, so decoders trim the encoder's delay and padding.
std::vector<unsigned char> EncodeMp3(const std::vector<float>& interleaved, int rate, int channels);

// A fresh folder under the system's temp folder, removed with the object.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& Path() const { return path_; }
    // Writes bytes to Path()/relativePath (creating folders); returns the
    // full path.
    std::string Write(const std::string& relativePath,
                      const std::vector<unsigned char>& bytes) const;

private:
    std::string path_;
};

// Renders, encodes and writes the tones; returns the file's path.
std::string WriteToneMp3(const TempFolder& folder, const std::string& name,
                         const std::vector<Tone>& tones, int rate, int channels);

}  // namespace test_music
