// Encodes stereo audio to an MP3 file with LAME: VBR, high quality, with
// the LAME/Xing header so decoders know the exact length.
#pragma once

#include <filesystem>

#include "tools/datakit/Instruments.h"

namespace datakit {

void WriteMp3(const Stereo& audio, const std::filesystem::path& path);

}  // namespace datakit
