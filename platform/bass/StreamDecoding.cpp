// The desktop's decoding: libmpg123 on the stream's own thread, converted
// to the output's format by SDL.
#include "platform/bass/Stream.h"

#include "platform/bass/Mp3Reader.h"

#include <SDL2/SDL.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <system_error>

namespace bass {

namespace {

constexpr std::size_t kDecodeChunkFrames = 4096;

// How much nicer the decoder thread is than the thread that opened the
// stream, once it has decoded the first seconds.
constexpr int kDecoderNice = 10;
constexpr std::int64_t kFullPrioritySeconds = 20;

}  // namespace

std::unique_ptr<Stream> Stream::Create(std::vector<unsigned char> bytes, int rate, bool capture,
                                       int& error) {
    std::unique_ptr<Mp3Reader> reader = Mp3Reader::Open(std::move(bytes));
    if (reader == nullptr) {
        error = BASS_ERROR_FILEFORM;
        return nullptr;
    }
    std::unique_ptr<Stream> stream =
        ForMusic(reader->Length(), reader->Rate(), rate, capture, error);
    if (stream == nullptr) {
        return nullptr;
    }
    try {
        stream->decoder_ = std::thread(&Stream::Decode, stream.get(), std::move(reader));
    } catch (const std::system_error&) {
        error = BASS_ERROR_MEM;
        return nullptr;
    }
    return stream;
}

void Stream::Decode(std::unique_ptr<Mp3Reader> reader) {
    // The file's own rate and channels become 16-bit stereo at the output
    // rate.
    SDL_AudioStream* converter = SDL_NewAudioStream(
        AUDIO_F32SYS, static_cast<Uint8>(reader->Channels()), static_cast<int>(reader->Rate()),
        AUDIO_S16SYS, DecodedPcm::kChannels, rate_);
    if (converter == nullptr) {
        pcm_.Finish();
        return;
    }
    const int frameBytes = static_cast<int>(sizeof(DecodedPcm::Sample)) * DecodedPcm::kChannels;
    auto drain = [&] {
        while (pcm_.Room() > 0) {
            const int got = SDL_AudioStreamGet(
                converter, pcm_.Tail(),
                static_cast<int>(std::min<std::int64_t>(pcm_.Room(), 1 << 16)) * frameBytes);
            if (got <= 0) {
                return;
            }
            pcm_.Commit(got / frameBytes);
        }
    };
    std::vector<float> chunk(kDecodeChunkFrames * static_cast<std::size_t>(reader->Channels()));
    bool niced = false;
    while (!stopDecoding_.load() && pcm_.Room() > 0) {
        // The beginning is decoded at full priority, so that it is there when
        // the music starts; the rest, at a lower one, lets start-up's threads
        // come first. The whole music decodes in about a third of a second of
        // one core, hundreds of times faster than it plays, so a small share
        // of the processor keeps the decoder far ahead.
        if (!niced && pcm_.Decoded() >= kFullPrioritySeconds * rate_) {
            const id_t self = static_cast<id_t>(gettid());
            setpriority(PRIO_PROCESS, self,
                        std::min(getpriority(PRIO_PROCESS, self) + kDecoderNice, 19));
            niced = true;
        }
        const std::size_t frames = reader->Read(chunk.data(), kDecodeChunkFrames);
        if (frames == 0) {
            // The rate converter holds back the end of the music for its
            // filter, and flushing does not give it back: silence pushes it
            // out, and the buffer's size cuts the stream at its exact length.
            std::fill(chunk.begin(), chunk.end(), 0.0f);
            SDL_AudioStreamPut(converter, chunk.data(),
                               static_cast<int>(chunk.size() * sizeof(float)));
            SDL_AudioStreamFlush(converter);
            drain();
            break;
        }
        const int bytes = static_cast<int>(frames * sizeof(float)) * reader->Channels();
        if (SDL_AudioStreamPut(converter, chunk.data(), bytes) != 0) {
            break;
        }
        drain();
    }
    SDL_FreeAudioStream(converter);
    pcm_.Finish();
}

}  // namespace bass
