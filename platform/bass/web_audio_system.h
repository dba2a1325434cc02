// The web's audio output and its streams: the page's AudioContext plays the
// streams at the program's volume (or nothing plays: no sound, or capture
// mode). Every BASS call lands here, as on the desktop; the browser decodes
// the music, so there is no decoder thread.
#pragma once

#include "platform/bass/Stream.h"
#include "platform/bass/StreamTable.h"

#include <bass.h>

#include <memory>
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

    // The page's one output does not go away.
    void NoticeDeviceRemoval() {}

    void SetCaptureMode(bool on) { capture_ = on; }
    void SetStartTime(double seconds) { startSeconds_ = seconds; }

private:
    int SetStarted(bool on);
    enum class Output { None, Context, NoSound, Capture };

    AudioSystem() = default;
    void SayRunningSilent(const char* why);

    Output output_ = Output::None;
    bool context_ = false;
    bool started_ = false;
    int rate_ = 44100;
    DWORD volume_ = 100;
    bool capture_ = false;
    double startSeconds_ = 0.0;
    StreamTable streams_;
};

}  // namespace bass
