// libmp3lame, VBR quality 2, joint stereo; the encoder's tag frame is
// written over the first frame once the length is known.
#include "tools/datakit/Mp3Writer.h"

#include <lame/lame.h>

#include <fstream>
#include <memory>
#include <stdexcept>
#include <vector>

#include "tools/datakit/Oscillators.h"

namespace datakit {

void WriteMp3(const Stereo& audio, const std::filesystem::path& path) {
    std::unique_ptr<lame_global_flags, decltype(&lame_close)> lame(lame_init(), &lame_close);
    if (!lame) {
        throw std::runtime_error("lame_init failed");
    }
    lame_global_flags* gf = lame.get();
    lame_set_in_samplerate(gf, kSampleRate);
    lame_set_out_samplerate(gf, kSampleRate);
    lame_set_num_channels(gf, 2);
    lame_set_mode(gf, JOINT_STEREO);
    lame_set_VBR(gf, vbr_mtrh);
    lame_set_VBR_quality(gf, 2.0f);
    lame_set_quality(gf, 2);
    lame_set_bWriteVbrTag(gf, 1);
    if (lame_init_params(gf) < 0) {
        throw std::runtime_error("lame_init_params failed");
    }
    std::vector<unsigned char> mp3;
    const std::size_t chunk = 8192;
    std::vector<unsigned char> buffer(chunk * 5 / 4 + 7200);
    for (std::size_t at = 0; at < audio.Frames(); at += chunk) {
        int n = static_cast<int>(std::min(chunk, audio.Frames() - at));
        int bytes =
            lame_encode_buffer_ieee_float(gf, audio.left.data() + at, audio.right.data() + at, n,
                                          buffer.data(), static_cast<int>(buffer.size()));
        if (bytes < 0) {
            throw std::runtime_error("lame encoding failed");
        }
        mp3.insert(mp3.end(), buffer.begin(), buffer.begin() + bytes);
    }
    int bytes = lame_encode_flush(gf, buffer.data(), static_cast<int>(buffer.size()));
    if (bytes < 0) {
        throw std::runtime_error("lame flush failed");
    }
    mp3.insert(mp3.end(), buffer.begin(), buffer.begin() + bytes);
    // The first frame was a placeholder for the VBR tag: fill it in now.
    std::vector<unsigned char> tag(4096);
    std::size_t tagBytes = lame_get_lametag_frame(gf, tag.data(), tag.size());
    if (tagBytes > 0 && tagBytes <= mp3.size()) {
        std::copy(tag.begin(), tag.begin() + static_cast<long>(tagBytes), mp3.begin());
    }
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(mp3.data()), static_cast<std::streamsize>(mp3.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

}  // namespace datakit
