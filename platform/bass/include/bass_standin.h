// Controls of the BASS stand-in that BASS does not have: what the capture
// mode and the tests set or read.
#pragma once

#include <bass.h>

namespace bass {

// Capture mode, set before BASS_Init and BASS_StreamCreateFile: streams never
// play to a device (no audio output is opened, BASS_Init succeeds without
// one) and only SetHeardTime moves what a stream is heard playing. A fetch
// then waits until the decoder has reached the analysed samples, so captures
// are deterministic; outside capture mode a fetch never waits.
void SetCaptureMode(bool on);

// Capture mode: the stream is heard at this time (seconds from its start),
// so BASS_ChannelGetData analyses the decoded music from exactly there.
// FALSE with BASS_ERROR_HANDLE for a handle that is not a stream, and with
// BASS_ERROR_NOTAVAIL for a stream created outside capture mode.
BOOL SetHeardTime(HSTREAM handle, double seconds);

// Where streams played from their start begin, in seconds into the music
// (0 unless set): a run that starts at a later show time hears the music
// from there. Set before BASS_StreamPlay.
void SetStartTime(double seconds);

// The stream's length in seconds at the output rate: for a stream created
// in capture mode it waits for the decoder to finish and is exact; otherwise
// it is the length the file announces, exact once decoding has finished. -1 with BASS_ERROR_HANDLE
// for a handle that is not a stream.
double DecodedDuration(HSTREAM handle);

}  // namespace bass
