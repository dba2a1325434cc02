// The BASS entry points in a browser while it has no audio output of its
// own: the music file opens as a stream that plays nothing and whose
// spectrum is silence, so the show runs in step with its clock.
#include <bass.h>
#include <bass_standin.h>
#include <win32_standin.h>

#include <cstdio>
#include <cstring>

namespace {

constexpr HSTREAM kStream = 1;
int g_error = BASS_OK;
DWORD g_volume = 100;

BOOL Result(int error) {
    g_error = error;
    return error == BASS_OK ? TRUE : FALSE;
}

}  // namespace

extern "C" {

DWORD BASS_GetVersion() {
    return BASSVERSION;
}

int BASS_ErrorGetCode() {
    return g_error;
}

BOOL BASS_Init(int, DWORD, DWORD, HWND) {
    return Result(BASS_OK);
}

BOOL BASS_Start() {
    return Result(BASS_OK);
}

BOOL BASS_Stop() {
    return Result(BASS_OK);
}

BOOL BASS_Free() {
    return Result(BASS_OK);
}

HSTREAM BASS_StreamCreateFile(BOOL mem, const void* file, DWORD, DWORD, DWORD) {
    std::FILE* opened =
        mem || file == nullptr ? nullptr : win32::OpenFile(static_cast<const char*>(file), "rb");
    if (opened == nullptr) {
        Result(BASS_ERROR_FILEOPEN);
        return 0;
    }
    std::fclose(opened);
    Result(BASS_OK);
    return kStream;
}

BOOL BASS_StreamPlay(HSTREAM handle, BOOL, DWORD) {
    return Result(handle == kStream ? BASS_OK : BASS_ERROR_HANDLE);
}

DWORD BASS_ChannelGetData(DWORD handle, void* buffer, DWORD length) {
    if (handle != kStream) {
        Result(BASS_ERROR_HANDLE);
        return static_cast<DWORD>(-1);
    }
    if (buffer == nullptr || length != BASS_DATA_FFT1024) {
        Result(BASS_ERROR_ILLPARAM);
        return static_cast<DWORD>(-1);
    }
    constexpr DWORD kBytes = 512 * sizeof(float);
    std::memset(buffer, 0, kBytes);
    Result(BASS_OK);
    return kBytes;
}

DWORD BASS_GetVolume() {
    Result(BASS_OK);
    return g_volume;
}

BOOL BASS_SetVolume(DWORD volume) {
    g_volume = volume;
    return Result(BASS_OK);
}

}  // extern "C"

namespace bass {

void SetCaptureMode(bool) {}

void SetStartTime(double) {}

BOOL SetHeardTime(HSTREAM handle, double) {
    return Result(handle == kStream ? BASS_OK : BASS_ERROR_HANDLE);
}

double DecodedDuration(HSTREAM handle) {
    return handle == kStream ? 0.0 : -1.0;
}

}  // namespace bass
