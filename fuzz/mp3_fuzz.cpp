// libFuzzer target: any bytes as the music file, opened by
// BASS_StreamCreateFile in capture mode and analysed by FFT fetches at a few
// heard times in its first seconds. BASS_Free after each input stops and
// joins the stream's decoder thread, so no run leaves a thread behind.
#include "fuzz/FuzzFile.h"

#include <bass.h>
#include <bass_standin.h>

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    bass::SetCaptureMode(true);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = fuzz::InputPath("mp3_fuzz", ".mp3");
    if (!fuzz::WriteInput(path, data, size)) {
        return 0;
    }
    BASS_Init(-1, 44100, 0, nullptr);
    const HSTREAM stream = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, 0);
    if (stream != 0) {
        BASS_StreamPlay(stream, FALSE, 0);
        float bins[1024];
        for (const double seconds : {0.0, 0.02, 0.5, 1.0, 2.5, 4.0}) {
            bass::SetHeardTime(stream, seconds);
            BASS_ChannelGetData(stream, bins, BASS_DATA_FFT1024);
        }
        BASS_ChannelGetData(stream, bins, BASS_DATA_FFT2048);
    }
    BASS_Free();
    std::remove(path.c_str());
    return 0;
}
