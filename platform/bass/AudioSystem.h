// The audio output and its streams: an SDL2 device whose callback mixes the
// playing streams at the program's volume, or no device (silent playback in
// real time, or capture mode). Every BASS call lands here.
#pragma once

#include "platform/bass/Stream.h"
#include "platform/bass/StreamTable.h"

#include <bass.h>

#include <SDL2/SDL_audio.h>
#include <SDL2/SDL_events.h>

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

    // A removed output device, once SDL has told of it, is closed here and
    // its streams go on silently on the wall clock from where they were
    // heard (one line on standard error). Called on the caller's thread by
    // the BASS calls, so the per-frame FFT fetch notices within a frame.
    void NoticeDeviceRemoval();

    void SetCaptureMode(bool on) { capture_.store(on); }
    void SetStartTime(double seconds) { startSeconds_.store(seconds); }

private:
    int SetStarted(bool on);
    enum class Output { None, Device, NoSound, Capture };

    AudioSystem() = default;
    static void Mix(void* user, Uint8* bytes, int length);
    // SDL's event watch: runs on whichever thread reports the removal, so it
    // only marks it.
    static int WatchDeviceRemoval(void* user, SDL_Event* event);
    int OpenDevice(int device);
    void CloseDevice();
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
    std::atomic<double> startSeconds_{0.0};
    std::atomic<SDL_AudioDeviceID> watchedDevice_{0};
    std::atomic<bool> deviceRemoved_{false};

    // Guards the stream table; the output callback takes it while mixing.
    std::mutex streamsMutex_;
    StreamTable streams_;
};

}  // namespace bass
