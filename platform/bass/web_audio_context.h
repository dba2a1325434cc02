// The page's Web Audio: one AudioContext, a gain node for the program's
// volume, the browser's MP3 decoder and a source node per playing stream,
// reached through JavaScript. Decoded music is held on the JavaScript side
// under the stream's handle.
#pragma once

#include <cstddef>
#include <cstdint>

namespace bass::web {

// Opens the context at `rate`, or at the browser's own rate where it will not
// run at that one: the rate it runs at, or 0 without Web Audio. A context
// the browser holds until a user gesture resumes at the page's next one.
int OpenContext(int rate);
void CloseContext();
void ResumeContext();
void SuspendContext();
void SetGain(float gain);

// Decodes a file's bytes to planes at `rate` (awaiting the browser's decoder
// while the page goes on): the frames decoded, or -1 when the browser does
// not take the bytes for audio.
int Decode(int key, const unsigned char* bytes, std::size_t length, int rate);
int DecodedChannels(int key);
// Copies frames [first, first + count) of the first two planes (a mono
// file's one plane into both).
void CopyPlanes(int key, std::int64_t first, int count, float* left, float* right);
// Stops the music under `key` and lets it go.
void Forget(int key);

// Plays the music under `key` from `offsetSeconds` into it: the context
// time at which that frame leaves the graph.
double Play(int key, double offsetSeconds);

// What window.hushAudio() reports: the music is decoded, this long, and the
// latest fetch's sum is read from `spectrumSum`.
void ShowDecoded(const float* spectrumSum, double seconds);

}  // namespace bass::web
