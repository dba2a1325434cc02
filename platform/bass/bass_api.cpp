// The BASS entry points: argument checks, the per-thread error code, and the
// stand-in controls of <bass_standin.h>.
#include <bass.h>
#include <bass_standin.h>
#include <win32_standin.h>

#include "platform/bass/AudioSystem.h"

#include <cstdio>
#include <memory>
#include <new>
#include <vector>

namespace {

// BASS keeps the error of the latest call per thread.
thread_local int t_error = BASS_OK;

BOOL Result(int error) {
    t_error = error;
    return error == BASS_OK ? TRUE : FALSE;
}

// Reads `length` bytes from `offset` of the file (length 0: to the end). A
// file that has grown past the size any file may have since it was opened is
// refused like one that was too large from the start.
bool ReadFileRange(const char* path, DWORD offset, DWORD length,
                   std::vector<unsigned char>& bytes) {
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(win32::OpenFile(path, "rb"),
                                                               &std::fclose);
    if (!file) {
        return false;
    }
    bool ok = std::fseek(file.get(), 0, SEEK_END) == 0;
    const long size = ok ? std::ftell(file.get()) : -1;
    ok = size >= 0 && size <= win32::kMaxReadableFileBytes &&
         offset <= static_cast<unsigned long>(size) &&
         std::fseek(file.get(), static_cast<long>(offset), SEEK_SET) == 0;
    if (ok) {
        const unsigned long available = static_cast<unsigned long>(size) - offset;
        bytes.resize(length == 0 || length > available ? available : length);
        ok = std::fread(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
    }
    return ok;
}

}  // namespace

extern "C" {

DWORD BASS_GetVersion() {
    return BASSVERSION;
}

int BASS_ErrorGetCode() {
    return t_error;
}

BOOL BASS_Init(int device, DWORD frequency, DWORD, HWND) {
    return Result(bass::AudioSystem::Instance().Init(device, frequency));
}

BOOL BASS_Start() {
    bass::AudioSystem::Instance().NoticeDeviceRemoval();
    return Result(bass::AudioSystem::Instance().Start());
}

BOOL BASS_Stop() {
    bass::AudioSystem::Instance().NoticeDeviceRemoval();
    return Result(bass::AudioSystem::Instance().Stop());
}

BOOL BASS_Free() {
    return Result(bass::AudioSystem::Instance().Free());
}

HSTREAM BASS_StreamCreateFile(BOOL mem, const void* file, DWORD offset, DWORD length, DWORD) {
    if (mem) {
        Result(BASS_ERROR_NOTAVAIL);
        return 0;
    }
    // A C interface: the file's bytes that do not fit in memory fail the call
    // with BASS_ERROR_MEM, as every other allocation of the stream does.
    try {
        std::vector<unsigned char> bytes;
        if (file == nullptr ||
            !ReadFileRange(static_cast<const char*>(file), offset, length, bytes)) {
            Result(BASS_ERROR_FILEOPEN);
            return 0;
        }
        HSTREAM handle = 0;
        return Result(bass::AudioSystem::Instance().CreateStream(std::move(bytes), handle)) ? handle
                                                                                            : 0;
    } catch (const std::bad_alloc&) {
        Result(BASS_ERROR_MEM);
        return 0;
    }
}

BOOL BASS_StreamPlay(HSTREAM handle, BOOL flush, DWORD) {
    bass::AudioSystem::Instance().NoticeDeviceRemoval();
    return Result(bass::AudioSystem::Instance().Play(handle, flush != FALSE));
}

DWORD BASS_ChannelGetData(DWORD handle, void* buffer, DWORD length) {
    bass::AudioSystem::Instance().NoticeDeviceRemoval();
    const std::shared_ptr<bass::Stream> stream = bass::AudioSystem::Instance().Find(handle);
    if (stream == nullptr) {
        Result(BASS_ERROR_HANDLE);
        return static_cast<DWORD>(-1);
    }
    const int size = bass::SpectrumFft::SizeForFlag(length);
    if (buffer == nullptr || size == 0) {
        Result(BASS_ERROR_ILLPARAM);
        return static_cast<DWORD>(-1);
    }
    Result(BASS_OK);
    return stream->FetchSpectrum(size, static_cast<float*>(buffer));
}

DWORD BASS_GetVolume() {
    DWORD volume = 0;
    return Result(bass::AudioSystem::Instance().GetVolume(volume)) ? volume
                                                                   : static_cast<DWORD>(-1);
}

BOOL BASS_SetVolume(DWORD volume) {
    return Result(bass::AudioSystem::Instance().SetVolume(volume));
}

}  // extern "C"

namespace bass {

void SetCaptureMode(bool on) {
    AudioSystem::Instance().SetCaptureMode(on);
}

void SetStartTime(double seconds) {
    AudioSystem::Instance().SetStartTime(seconds);
}

BOOL SetHeardTime(HSTREAM handle, double seconds) {
    const std::shared_ptr<Stream> stream = AudioSystem::Instance().Find(handle);
    if (stream == nullptr) {
        return Result(BASS_ERROR_HANDLE);
    }
    return Result(stream->SetHeardTime(seconds) ? BASS_OK : BASS_ERROR_NOTAVAIL);
}

double DecodedDuration(HSTREAM handle) {
    const std::shared_ptr<Stream> stream = AudioSystem::Instance().Find(handle);
    if (stream == nullptr) {
        Result(BASS_ERROR_HANDLE);
        return -1.0;
    }
    Result(BASS_OK);
    return stream->Duration();
}

}  // namespace bass
