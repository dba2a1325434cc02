// The audio output and its streams: an SDL2 device whose callback mixes the
// playing streams at the program's volume, or no device (silent playback in
// real time, or capture mode). Every BASS call lands here.
#pragma once

#include "platform/bass/Stream.h"

#include <bass.h>

#include <SDL2/SDL_audio.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

namespace bass {

class AudioSystem {
public:
    static AudioSystem& Instance();
    ~AudioSystem();

    // Each returns a BASS error code (BASS_OK on success).
    int Init(int device, DWORD frequency);
    int Start();
    int Stop();
    int Free();
    int CreateStream(std::vector<unsigned char> bytes, HSTREAM& handle);
    int Play(HSTREAM handle, bool fromStart);
    int GetVolume(DWORD& volume) const;
    int SetVolume(DWORD volume);

    // Null for a handle that is not a stream.
    std::shared_ptr<Stream> Find(HSTREAM handle);

    void SetCaptureMode(bool on) { capture_.store(on); }

private:
    enum class Output { None, Device, NoSound, Capture };

    AudioSystem() = default;
    static void Mix(void* user, Uint8* bytes, int length);
    int OpenDevice(int device);
    void SayRunningSilent(const char* why);
    template <typename Action>
    void ForEachStream(Action action);

    // Guards the output's state; only the caller's thread takes it, never
    // the output callback, so SDL may be called while holding it.
    mutable std::mutex controlMutex_;
    Output output_ = Output::None;
    bool started_ = false;
    SDL_AudioDeviceID device_ = 0;
    int rate_ = 44100;
    std::atomic<DWORD> volume_{100};
    std::atomic<bool> capture_{false};

    // Guards the stream table; the output callback takes it while mixing.
    std::mutex streamsMutex_;
    std::vector<std::pair<HSTREAM, std::shared_ptr<Stream>>> streams_;
    HSTREAM nextHandle_ = 1;
};

}  // namespace bass
