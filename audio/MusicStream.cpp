// Opening and closing the show's music: the BASS output, the stream and the
// analyser's life around them.
#include "audio/SpectrumAnalyser.h"

#include <windows.h>

#include <cwchar>

CSpectrumAnalyser* g_analyser = nullptr;

namespace {

constexpr const char* kMusicPath = "data\\music\\hush_master_mix.mp3";
constexpr std::size_t kMessageSize = 128;

}  // namespace

void OpenMusic() {
    g_analyser = nullptr;
    g_analyser = new CSpectrumAnalyser();
    if (BASS_GetVersion() == BASSVERSION) {
        if (BASS_Init(-1, 44100, 0, nullptr)) {
            BASS_Start();
        }
    }
    g_analyser->stream = BASS_StreamCreateFile(FALSE, kMusicPath, 0, 0, 0);
    if (g_analyser->stream == 0) {
        wchar_t message[kMessageSize];
        // Wide printf's %s takes the narrow path, as wsprintfW's %hs would.
        std::swprintf(message, kMessageSize, L"Error loading %s", kMusicPath);
        MessageBoxW(nullptr, message, L"Error", MB_OK);
    }
    g_analyser->SetupAnalysis();
}

void CSpectrumAnalyser::CloseMusic() {
    // The volume was saved only when the analysis was set up; putting back a
    // value never read would mute the output.
    if (spectrum != nullptr && work != nullptr) {
        BASS_SetVolume(savedVolume);
    }
    BASS_Stop();
    BASS_Free();
    delete[] spectrum;
    spectrum = nullptr;
    delete[] work;
    work = nullptr;
}
