// The web's audio output: the AudioContext, silent fallback, volume and the
// stream table.
#include "platform/bass/web_audio_system.h"

#include "platform/bass/InitArguments.h"
#include "platform/bass/web_audio_context.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace bass {

namespace {

// Frames copied from the browser's planes at a time.
constexpr int kCopyFrames = 1 << 16;

}  // namespace

AudioSystem& AudioSystem::Instance() {
    static AudioSystem system;
    return system;
}

AudioSystem::~AudioSystem() {
    Free();
}

void AudioSystem::SayRunningSilent(const char* why) {
    static bool said = false;
    if (!said) {
        said = true;
        std::fprintf(stderr, "audio: %s; playing silently\n", why);
    }
}

int AudioSystem::Init(int device, DWORD frequency) {
    if (output_ != Output::None) {
        return BASS_ERROR_ALREADY;
    }
    if (const int error = InitArgumentsError(device, frequency); error != BASS_OK) {
        return error;
    }
    rate_ = static_cast<int>(frequency);
    started_ = false;
    if (device == 0 && !capture_) {
        output_ = Output::NoSound;
        return BASS_OK;
    }
    if (device > 1) {
        return BASS_ERROR_DEVICE;
    }
    // In capture mode the context only decodes, and the page reports it.
    const int rate = web::OpenContext(rate_);
    context_ = rate != 0;
    if (context_) {
        rate_ = rate;
        web::SetGain(static_cast<float>(volume_) / 100.0f);
    }
    if (capture_) {
        output_ = Output::Capture;
        return BASS_OK;
    }
    if (!context_) {
        SayRunningSilent("no Web Audio in this browser");
        return BASS_ERROR_DRIVER;
    }
    output_ = Output::Context;
    return BASS_OK;
}

int AudioSystem::Start() {
    return SetStarted(true);
}

int AudioSystem::Stop() {
    return SetStarted(false);
}

// Starting resumes the context and every stream's clock; stopping suspends
// and pauses them.
int AudioSystem::SetStarted(bool on) {
    if (output_ == Output::None) {
        return BASS_ERROR_INIT;
    }
    if (output_ == Output::Context) {
        if (on) {
            web::ResumeContext();
        } else {
            web::SuspendContext();
        }
    }
    started_ = on;
    const std::int64_t now = MonotonicNanos();
    for (auto& [handle, stream] : streams_) {
        if (on) {
            stream->Clock().Resume(now);
        } else {
            stream->Clock().Pause(now);
        }
    }
    return BASS_OK;
}

int AudioSystem::Free() {
    const bool wasInitialised = output_ != Output::None;
    for (const auto& [handle, stream] : streams_.TakeAll()) {
        web::Forget(static_cast<int>(handle));
    }
    if (context_) {
        web::CloseContext();
        context_ = false;
    }
    output_ = Output::None;
    started_ = false;
    return wasInitialised ? BASS_OK : BASS_ERROR_INIT;
}

int AudioSystem::CreateStream(std::vector<unsigned char> bytes, HSTREAM& handle) {
    const HSTREAM key = streams_.NextHandle();
    const int frames = web::Decode(static_cast<int>(key), bytes.data(), bytes.size(), rate_);
    std::vector<unsigned char>().swap(bytes);
    if (frames <= 0) {
        return BASS_ERROR_FILEFORM;
    }
    int error = BASS_OK;
    std::shared_ptr<Stream> stream = Stream::ForMusic(frames, rate_, rate_, capture_, error);
    if (stream == nullptr) {
        web::Forget(static_cast<int>(key));
        return error;
    }
    std::vector<float> left(kCopyFrames);
    std::vector<float> right(kCopyFrames);
    for (std::int64_t first = 0; first < frames; first += kCopyFrames) {
        const int count = static_cast<int>(std::min<std::int64_t>(kCopyFrames, frames - first));
        web::CopyPlanes(static_cast<int>(key), first, count, left.data(), right.data());
        stream->Pcm().Append(left.data(), right.data(), count);
    }
    stream->Pcm().Finish();
    // Only a playing output needs the browser's copy.
    if (output_ != Output::Context) {
        web::Forget(static_cast<int>(key));
    }
    web::ShowDecoded(stream->FetchedSum(), static_cast<double>(frames) / rate_);
    handle = streams_.Add(std::move(stream));
    return BASS_OK;
}

std::shared_ptr<Stream> AudioSystem::Find(HSTREAM handle) {
    return streams_.Find(handle);
}

int AudioSystem::Play(HSTREAM handle, bool fromStart) {
    const std::shared_ptr<Stream> stream = Find(handle);
    if (stream == nullptr) {
        return BASS_ERROR_HANDLE;
    }
    PlayClock& clock = stream->Clock();
    const std::int64_t startFrame = std::llround(startSeconds_ * rate_);
    if (output_ != Output::Context) {
        if (output_ == Output::None && !capture_) {
            SayRunningSilent("no output initialised");
        }
        const bool running = output_ == Output::None || started_;
        clock.Play(PlayClock::Source::WallClock, fromStart, running, MonotonicNanos(), startFrame);
        return BASS_OK;
    }
    if (clock.Playing() && !fromStart) {
        return BASS_OK;
    }
    // The context's time stands still while it is suspended, so its clock
    // runs the stream only while the music can be heard.
    const std::int64_t first = clock.Start(fromStart, startFrame, 0);
    web::ResumeContext();
    const double start = web::Play(static_cast<int>(handle), static_cast<double>(first) / rate_);
    clock.Play(PlayClock::Source::WallClock, fromStart, true, std::llround(start * 1e9),
               startFrame);
    return BASS_OK;
}

int AudioSystem::GetVolume(DWORD& volume) const {
    if (output_ == Output::None) {
        return BASS_ERROR_INIT;
    }
    volume = volume_;
    return BASS_OK;
}

int AudioSystem::SetVolume(DWORD volume) {
    if (output_ == Output::None) {
        return BASS_ERROR_INIT;
    }
    if (volume > 100) {
        return BASS_ERROR_ILLPARAM;
    }
    volume_ = volume;
    if (context_) {
        web::SetGain(static_cast<float>(volume) / 100.0f);
    }
    return BASS_OK;
}

}  // namespace bass
