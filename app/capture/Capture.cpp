// The capture driver. Its state is one fixed object; the frame path reads
// the presented frame into one of the writer's buffers, sized at start, and
// queues it; the writer's thread writes it while the next frame renders.
#include "app/capture/Capture.h"

#include "app/capture/CaptureClock.h"
#include "app/capture/CaptureProgress.h"
#include "app/capture/CaptureWriter.h"
#include "app/capture/FfmpegSink.h"
#include "app/capture/MemoryReport.h"
#include "app/capture/PngFolderSink.h"
#include "app/Window.h"
#include "render/RenderDevice.h"
#include "show/ShowObjects.h"
#include "show/ShowState.h"

#include <bass_standin.h>
#include <d3d9.h>
#include <d3d9_standin.h>
#include <unistd.h>
#include <win32_standin.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr const char* kMusic = "data\\music\\hush_master_mix.mp3";
// Frames that may wait for the writer: enough to ride out a slow write
// (a PNG that compresses badly, ffmpeg busy with a hard frame).
constexpr int kWaitingFrames = 3;

struct Capture {
    CaptureSettings settings;
    bool video = false;
    std::string ffmpeg;
    std::optional<CaptureClock> clock;
    std::int64_t planned = 0;
    std::unique_ptr<FrameSink> sink;
    std::unique_ptr<CaptureProgress> progress;
    std::unique_ptr<CaptureWriter> writer;
    std::int64_t presented = 0;
    // Kept by the writer's thread; read once it has ended.
    std::int64_t written = 0;
    float firstClock = 0.0f;
    float lastClock = 0.0f;
    std::chrono::steady_clock::time_point began;
    std::string error;
    bool reportMemory = false;
};

Capture g_capture;

bool IsVideoName(const std::string& out) {
    std::string extension = std::filesystem::path(out).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".mp4" || extension == ".mkv";
}

double Elapsed() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - g_capture.began)
        .count();
}

// The music for the video's sound, by its full path; empty (a video without
// sound, with a warning) when it is missing.
std::string MusicFile(std::ostream& err) {
    std::error_code error;
    const std::filesystem::path music = std::filesystem::absolute(win32::NativePath(kMusic), error);
    if (error || !std::filesystem::is_regular_file(music, error)) {
        err << "hush: warning: no music at " << win32::NativePath(kMusic)
            << "; the video will have no sound\n";
        return {};
    }
    return music.string();
}

// On the writer's thread, after each frame written.
void FrameWritten(std::int64_t written, float showClock) {
    Capture& capture = g_capture;
    if (written == 1) {
        capture.firstClock = showClock;
    }
    capture.lastClock = showClock;
    capture.written = written;
    capture.progress->Frame(written, showClock, Elapsed());
    if (capture.reportMemory && (written == 1 || written >= capture.planned)) {
        WriteMemoryLine(STDERR_FILENO, written - 1, MeasureMemory());
    }
}

// False ends the show: after the last frame, or when the output failed (the
// writer's error is reported when it is closed).
bool WriteFrame() {
    Capture& capture = g_capture;
    std::uint8_t* pixels = capture.writer->Next();
    if (pixels == nullptr) {
        return false;
    }
    IDirect3DDevice9* device = g_renderDevice != nullptr ? g_renderDevice->d3dDevice : nullptr;
    if (device == nullptr || FAILED(device->GetPresentedFrame(pixels, kWidth * 4))) {
        capture.error = "the presented frame cannot be read";
        return false;
    }
    capture.writer->Queue(g_show.showClock);
    ++capture.presented;
    if (capture.presented >= capture.planned) {
        return false;
    }
    win32::SetVirtualClock(capture.clock->CountAt(capture.presented));
    return true;
}

}  // namespace

bool CheckCapture(const CaptureSettings& settings, std::ostream& err) {
    Capture& capture = g_capture;
    capture.settings = settings;
    capture.video = IsVideoName(settings.out);
    std::error_code error;
    if (!capture.video) {
        auto folder = std::make_unique<PngFolderSink>(settings.out, kWidth, kHeight);
        if (!folder->Open()) {
            err << "hush: " << folder->Error() << "\n";
            return false;
        }
        capture.sink = std::move(folder);
        return true;
    }
    capture.ffmpeg = FindFfmpeg();
    if (capture.ffmpeg.empty()) {
        err << "hush: cannot make " << settings.out
            << ": the ffmpeg command is not on PATH. Install ffmpeg, or capture into a folder "
               "of PNG frames instead (--capture FOLDER).\n";
        return false;
    }
    const std::filesystem::path folder = std::filesystem::path(settings.out).parent_path();
    if (!std::filesystem::is_directory(folder, error)) {
        err << "hush: cannot make " << settings.out << ": there is no folder " << folder.string()
            << "\n";
        return false;
    }
    if (std::filesystem::is_directory(settings.out, error)) {
        err << "hush: cannot make " << settings.out << ": it is a folder\n";
        return false;
    }
    return true;
}

bool StartCapture(std::ostream& err) {
    Capture& capture = g_capture;
    LARGE_INTEGER frequency = {};
    QueryPerformanceFrequency(&frequency);
    capture.clock.emplace(capture.settings.fps, capture.settings.from, frequency.QuadPart);
    capture.planned = capture.clock->FrameCount(capture.settings.to, kShowLength);

    if (capture.video) {
        VideoSettings video;
        video.ffmpeg = capture.ffmpeg;
        video.out = capture.settings.out;
        video.width = kWidth;
        video.height = kHeight;
        video.fps = capture.settings.fps;
        video.musicStart = capture.settings.from;
        video.music = MusicFile(err);
        video.duration =
            static_cast<double>(capture.planned) / static_cast<double>(capture.settings.fps);
        auto sink = std::make_unique<FfmpegSink>(video);
        if (!sink->Open()) {
            err << "hush: " << sink->Error() << "\n";
            return false;
        }
        capture.sink = std::move(sink);
    }
    capture.progress = std::make_unique<CaptureProgress>(STDERR_FILENO, isatty(STDERR_FILENO) != 0,
                                                         capture.planned);

    // Rendering needs no display; a driver the user names is kept.
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    bass::SetCaptureMode(true);
    // The frames go to the file; the window they would be copied into is
    // never shown.
    d3d9::PresentIntoWindows(false);
    // Start-up and the timer's creation happen at the start count.
    win32::UseVirtualClock(true);
    win32::SetVirtualClock(CaptureClock::kStartCount);
    capture.reportMemory = MemoryReportWanted();
    capture.writer = std::make_unique<CaptureWriter>(*capture.sink,
                                                     static_cast<std::size_t>(kWidth) * kHeight * 4,
                                                     kWaitingFrames, &FrameWritten);
    g_frameDoneHook = &WriteFrame;
    return true;
}

void BeginCaptureFrames() {
    g_capture.began = std::chrono::steady_clock::now();
    win32::SetVirtualClock(g_capture.clock->CountAt(0));
}

int FinishCapture(int showResult, std::ostream& err) {
    Capture& capture = g_capture;
    g_frameDoneHook = nullptr;
    // Every frame presented is written before the output is finished.
    if (capture.writer != nullptr && !capture.writer->Close() && capture.error.empty()) {
        capture.error = capture.sink->Error();
    }
    if (!capture.sink->Finish() && capture.error.empty()) {
        capture.error = capture.sink->Error();
    }
    const double elapsed = Elapsed();
    if (showResult != 0) {
        err << "hush: the capture stopped: the show could not start\n";
        return showResult;
    }
    if (!capture.error.empty()) {
        capture.progress->EndLine();
        err << "hush: the capture failed after " << capture.written << " frames: " << capture.error
            << "\n";
        return kCaptureFailedExitCode;
    }
    if (capture.written < capture.planned) {
        capture.progress->EndLine();
        err << "hush: the capture stopped early: " << capture.written << " of " << capture.planned
            << " frames are in " << capture.settings.out << "\n";
        return kCaptureFailedExitCode;
    }
    capture.progress->Summary(capture.written, capture.firstClock, capture.lastClock,
                              capture.settings.out.c_str(), elapsed);
    return 0;
}
