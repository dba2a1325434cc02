// The audio output: device, silent fallback, volume and the stream table.
#include "platform/bass/AudioSystem.h"

#include "platform/bass/InitArguments.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace bass {

namespace {

// About 23 ms at 44.1 kHz: the latency a fetch compensates stays small.
constexpr Uint16 kDeviceBufferFrames = 1024;

}  // namespace

AudioSystem& AudioSystem::Instance() {
    static AudioSystem system;
    return system;
}

AudioSystem::~AudioSystem() {
    Free();
}

template <typename Action>
void AudioSystem::ForEachStream(Action action) {
    std::lock_guard<std::mutex> lock(streamsMutex_);
    for (auto& [handle, stream] : streams_) {
        action(*stream);
    }
}

void AudioSystem::SayRunningSilent(const char* why) {
    static std::atomic<bool> said{false};
    if (!said.exchange(true)) {
        std::fprintf(stderr, "audio: %s; playing silently\n", why);
        std::fflush(stderr);
    }
}

int AudioSystem::Init(int device, DWORD frequency) {
    std::lock_guard<std::mutex> lock(controlMutex_);
    if (output_ != Output::None) {
        return BASS_ERROR_ALREADY;
    }
    if (const int error = InitArgumentsError(device, frequency); error != BASS_OK) {
        return error;
    }
    rate_ = static_cast<int>(frequency);
    started_ = false;
    if (capture_.load()) {
        output_ = Output::Capture;
        return BASS_OK;
    }
    if (device == 0) {
        output_ = Output::NoSound;
        return BASS_OK;
    }
    const int error = OpenDevice(device);
    if (error != BASS_OK) {
        const std::string why = std::string("no output device (") + SDL_GetError() + ")";
        SayRunningSilent(why.c_str());
        return error;
    }
    output_ = Output::Device;
    return BASS_OK;
}

int AudioSystem::OpenDevice(int device) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return BASS_ERROR_DRIVER;
    }
    const char* name = nullptr;
    if (device >= 1) {
        if (device > SDL_GetNumAudioDevices(0)) {
            SDL_SetError("device %d does not exist", device);
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            return BASS_ERROR_DEVICE;
        }
        name = SDL_GetAudioDeviceName(device - 1, 0);
    }
    SDL_AudioSpec wanted{};
    wanted.freq = rate_;
    wanted.format = AUDIO_F32SYS;
    wanted.channels = DecodedPcm::kChannels;
    wanted.samples = kDeviceBufferFrames;
    wanted.callback = &AudioSystem::Mix;
    wanted.userdata = this;
    SDL_AudioSpec obtained{};
    // No changes allowed: SDL converts to whatever the device really takes,
    // so the callback always mixes stereo floats at the stream's rate.
    device_ = SDL_OpenAudioDevice(name, 0, &wanted, &obtained, 0);
    if (device_ == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return BASS_ERROR_DRIVER;
    }
    deviceRemoved_.store(false);
    watchedDevice_.store(device_);
    SDL_AddEventWatch(&AudioSystem::WatchDeviceRemoval, this);
    return BASS_OK;
}

// Waits for a running callback, which may hold the stream table.
void AudioSystem::CloseDevice() {
    SDL_DelEventWatch(&AudioSystem::WatchDeviceRemoval, this);
    watchedDevice_.store(0);
    SDL_CloseAudioDevice(device_);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    device_ = 0;
}

int AudioSystem::WatchDeviceRemoval(void* user, SDL_Event* event) {
    auto* self = static_cast<AudioSystem*>(user);
    if (event->type == SDL_AUDIODEVICEREMOVED && event->adevice.iscapture == 0 &&
        event->adevice.which == self->watchedDevice_.load()) {
        self->deviceRemoved_.store(true);
    }
    return 0;
}

void AudioSystem::NoticeDeviceRemoval() {
    if (!deviceRemoved_.load(std::memory_order_relaxed)) {
        return;
    }
    std::lock_guard<std::mutex> lock(controlMutex_);
    if (!deviceRemoved_.exchange(false) || output_ != Output::Device) {
        return;
    }
    CloseDevice();
    output_ = Output::NoSound;
    const std::int64_t now = MonotonicNanos();
    const bool running = started_;
    ForEachStream([now, running](Stream& stream) { stream.Clock().LeaveDevice(now, running); });
    std::fprintf(stderr, "audio: the output device was removed; playing silently\n");
    std::fflush(stderr);
}

void AudioSystem::Mix(void* user, Uint8* bytes, int length) {
    auto* self = static_cast<AudioSystem*>(user);
    auto* out = reinterpret_cast<float*>(bytes);
    const int frames = length / static_cast<int>(sizeof(float) * DecodedPcm::kChannels);
    std::fill(out, out + frames * DecodedPcm::kChannels, 0.0f);
    const float gain = static_cast<float>(self->volume_.load()) / 100.0f;
    const std::int64_t now = MonotonicNanos();
    std::lock_guard<std::mutex> lock(self->streamsMutex_);
    for (auto& [handle, stream] : self->streams_) {
        if (stream->Clock().PlaysOnDevice()) {
            stream->MixInto(out, frames, gain, now);
        }
    }
}

int AudioSystem::Start() {
    return SetStarted(true);
}

int AudioSystem::Stop() {
    return SetStarted(false);
}

// Starting resumes the device and every stream's clock; stopping pauses both.
int AudioSystem::SetStarted(bool on) {
    std::lock_guard<std::mutex> lock(controlMutex_);
    if (output_ == Output::None) {
        return BASS_ERROR_INIT;
    }
    if (output_ == Output::Device) {
        SDL_PauseAudioDevice(device_, on ? 0 : 1);
    }
    started_ = on;
    const std::int64_t now = MonotonicNanos();
    ForEachStream([now, on](Stream& stream) {
        if (on) {
            stream.Clock().Resume(now);
        } else {
            stream.Clock().Pause(now);
        }
    });
    return BASS_OK;
}

int AudioSystem::Free() {
    std::vector<StreamTable::Entry> freed;
    bool wasInitialised = false;
    {
        std::lock_guard<std::mutex> lock(controlMutex_);
        wasInitialised = output_ != Output::None;
        if (output_ == Output::Device) {
            CloseDevice();
        }
        output_ = Output::None;
        started_ = false;
        std::lock_guard<std::mutex> streamsLock(streamsMutex_);
        freed = streams_.TakeAll();
    }
    for (auto& [handle, stream] : freed) {
        stream->StopDecoding();
    }
    // The decoder threads are joined here, outside every lock.
    freed.clear();
    return wasInitialised ? BASS_OK : BASS_ERROR_INIT;
}

int AudioSystem::CreateStream(std::vector<unsigned char> bytes, HSTREAM& handle) {
    int rate = 0;
    {
        std::lock_guard<std::mutex> lock(controlMutex_);
        rate = rate_;
    }
    int error = BASS_OK;
    std::shared_ptr<Stream> stream = Stream::Create(std::move(bytes), rate, capture_.load(), error);
    if (stream == nullptr) {
        return error;
    }
    std::lock_guard<std::mutex> lock(streamsMutex_);
    handle = streams_.Add(std::move(stream));
    return BASS_OK;
}

std::shared_ptr<Stream> AudioSystem::Find(HSTREAM handle) {
    std::lock_guard<std::mutex> lock(streamsMutex_);
    return streams_.Find(handle);
}

int AudioSystem::Play(HSTREAM handle, bool fromStart) {
    const std::shared_ptr<Stream> stream = Find(handle);
    if (stream == nullptr) {
        return BASS_ERROR_HANDLE;
    }
    std::lock_guard<std::mutex> lock(controlMutex_);
    if (output_ == Output::None && !capture_.load()) {
        SayRunningSilent("no output initialised");
    }
    const PlayClock::Source source =
        output_ == Output::Device ? PlayClock::Source::Device : PlayClock::Source::WallClock;
    // Without an initialised output nothing could start it: silent playback
    // keeps time from the moment it is played.
    const bool running = output_ == Output::None || started_;
    stream->Clock().Play(source, fromStart, running, MonotonicNanos(),
                         std::llround(startSeconds_.load() * rate_));
    return BASS_OK;
}

int AudioSystem::GetVolume(DWORD& volume) const {
    std::lock_guard<std::mutex> lock(controlMutex_);
    if (output_ == Output::None) {
        return BASS_ERROR_INIT;
    }
    volume = volume_.load();
    return BASS_OK;
}

int AudioSystem::SetVolume(DWORD volume) {
    std::lock_guard<std::mutex> lock(controlMutex_);
    if (output_ == Output::None) {
        return BASS_ERROR_INIT;
    }
    if (volume > 100) {
        return BASS_ERROR_ILLPARAM;
    }
    volume_.store(volume);
    return BASS_OK;
}

}  // namespace bass
