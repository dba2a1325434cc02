// The BASS 1.8 audio interface subset the show calls, with BASS's names and
// documented meanings, provided by platform/bass (libmpg123, SDL2 audio and
// kissfft).
#pragma once

#include <windows.h>

using QWORD = std::uint64_t;
using HSTREAM = DWORD;

#define BASSVERSION 0x00080001

// BASS_ChannelGetData flags: FFT magnitudes instead of samples.
#define BASS_DATA_FFT512 0x80000000
#define BASS_DATA_FFT1024 0x80000001
#define BASS_DATA_FFT2048 0x80000002

// Error codes (BASS_ErrorGetCode).
#define BASS_OK 0
#define BASS_ERROR_MEM 1
#define BASS_ERROR_FILEOPEN 2
#define BASS_ERROR_DRIVER 3
#define BASS_ERROR_HANDLE 5
#define BASS_ERROR_FORMAT 6
#define BASS_ERROR_INIT 8
#define BASS_ERROR_START 9
#define BASS_ERROR_ALREADY 14
#define BASS_ERROR_ILLPARAM 20
#define BASS_ERROR_DEVICE 23
#define BASS_ERROR_NOPLAY 24
#define BASS_ERROR_NOTAVAIL 37
#define BASS_ERROR_FILEFORM 41
#define BASS_ERROR_UNKNOWN -1

extern "C" {
DWORD BASS_GetVersion();
int BASS_ErrorGetCode();
// device -1 = the default output, 0 = no sound, 1... = the output devices.
// The output starts stopped; BASS_Start starts it. When no output can be
// opened it fails and the show runs silent (said once on standard error).
BOOL BASS_Init(int device, DWORD frequency, DWORD flags, HWND window);
BOOL BASS_Start();
BOOL BASS_Stop();
// Frees the output and every stream.
BOOL BASS_Free();
// mem FALSE: file is a path (a system path with backslashes); offset and
// length select a byte range (length 0: to the end). Memory streams are not
// available. Returns 0 on failure. Unlike BASS, a stream can be created
// without an initialised output: it then plays silently, in real time.
// Decoding runs ahead on the audio layer's own thread.
HSTREAM BASS_StreamCreateFile(BOOL mem, const void* file, DWORD offset, DWORD length, DWORD flags);
// flush TRUE plays from the start, FALSE from where the stream stopped.
BOOL BASS_StreamPlay(HSTREAM handle, BOOL flush, DWORD flags);
// With a BASS_DATA_FFT* flag: writes N/2 FFT magnitudes (Hann window; a
// full-scale sine at a bin's centre reads about 0.5) of the N samples heard
// from now on, and returns the number of bytes written; (DWORD)-1 when the
// handle is not a stream. A stream that is not playing is analysed at its
// position (0 before it was first played). Only the FFT flags are available.
DWORD BASS_ChannelGetData(DWORD handle, void* buffer, DWORD length);
// The output volume of this program, 0 to 100 (never the system mixer).
DWORD BASS_GetVolume();
BOOL BASS_SetVolume(DWORD volume);
}
