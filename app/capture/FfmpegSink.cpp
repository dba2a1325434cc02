// The ffmpeg process: spawned with its standard input on a pipe, fed with
// write(2) (SIGPIPE is ignored, so a vanished reader is an EPIPE result) and
// reaped with waitpid.
#include "app/capture/FfmpegSink.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <thread>

extern char** environ;

namespace {

constexpr const char* kDefaultPath = "/usr/local/bin:/usr/bin:/bin";
// How long an ffmpeg whose input failed may take to go before it is killed.
constexpr auto kReapGrace = std::chrono::seconds(5);
// The pipe's capacity asked for: a third of a frame, not the default 64 KiB,
// so a frame goes down in a few wake-ups of ffmpeg rather than fifty. The
// system's limit for users (fs.pipe-max-size) is 1 MiB by default.
constexpr int kPipeBytes = 1 << 20;

std::string Seconds(double seconds) {
    char text[64];
    std::snprintf(text, sizeof text, "%.6f", seconds);
    return text;
}

bool Succeeded(int status) {
    return status >= 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string Describe(int status) {
    if (status < 0) {
        return "it could not be waited for";
    }
    if (WIFEXITED(status)) {
        return "it exited with status " + std::to_string(WEXITSTATUS(status));
    }
    if (WIFSIGNALED(status)) {
        return "it was ended by signal " + std::to_string(WTERMSIG(status)) + ", " +
               strsignal(WTERMSIG(status));
    }
    return "wait status " + std::to_string(status);
}

}  // namespace

std::string FindFfmpeg() {
    const char* path = std::getenv("PATH");
    std::string_view folders = path != nullptr ? path : kDefaultPath;
    while (true) {
        const std::size_t colon = folders.find(':');
        const std::string_view folder = folders.substr(0, colon);
        const std::string candidate =
            (folder.empty() ? std::string(".") : std::string(folder)) + "/ffmpeg";
        if (access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
        if (colon == std::string_view::npos) {
            return {};
        }
        folders.remove_prefix(colon + 1);
    }
}

std::vector<std::string> FfmpegArguments(const VideoSettings& settings) {
    std::vector<std::string> arguments = {
        "-hide_banner", "-loglevel", "error", "-nostats", "-y",
        // The frames, as they come down the pipe.
        "-f", "rawvideo", "-pix_fmt", "rgba", "-s",
        std::to_string(settings.width) + "x" + std::to_string(settings.height), "-r",
        std::to_string(settings.fps), "-i", "-"};
    if (!settings.music.empty()) {
        arguments.insert(arguments.end(),
                         {"-ss", Seconds(settings.musicStart), "-i", settings.music});
    }
    // x264's fastest preset but one, at its default quality: the frames
    // keep at least the detail the default preset gave them (in bigger
    // files), for a third of the encoder's CPU time, which it would
    // otherwise take from the rasteriser (docs/capture.md).
    arguments.insert(arguments.end(), {"-map", "0:v", "-c:v", "libx264", "-preset", "superfast",
                                       "-crf", "23", "-pix_fmt", "yuv420p"});
    if (!settings.music.empty()) {
        arguments.insert(arguments.end(), {"-map", "1:a", "-c:a", "aac"});
    }
    // Both streams end with the last frame.
    arguments.insert(arguments.end(), {"-t", Seconds(settings.duration), settings.out});
    return arguments;
}

FfmpegSink::FfmpegSink(const VideoSettings& settings)
    : settings_(settings),
      frameBytes_(static_cast<std::size_t>(settings.width) *
                  static_cast<std::size_t>(settings.height) * 4) {}

FfmpegSink::~FfmpegSink() {
    if (child_ > 0) {
        Reap(false);
    }
}

bool FfmpegSink::Open() {
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) {
        error_ = std::string("cannot make a pipe for ffmpeg: ") + std::strerror(errno);
        return false;
    }
    signal(SIGPIPE, SIG_IGN);

    std::vector<std::string> arguments = FfmpegArguments(settings_);
    arguments.insert(arguments.begin(), settings_.ffmpeg);
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[0], STDIN_FILENO);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGINT);
    sigaddset(&defaults, SIGTERM);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETPGROUP);
    const int spawned =
        posix_spawn(&child_, settings_.ffmpeg.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[0]);
    if (spawned != 0) {
        close(pipeEnds[1]);
        child_ = -1;
        error_ = "cannot start " + settings_.ffmpeg + ": " + std::strerror(spawned);
        return false;
    }
    input_ = pipeEnds[1];
    // A smaller pipe only costs time: a refusal is not an error.
    fcntl(input_, F_SETPIPE_SZ, kPipeBytes);
    return true;
}

bool FfmpegSink::Write(const std::uint8_t* rgba) {
    std::size_t left = frameBytes_;
    while (left > 0) {
        const ssize_t written = write(input_, rgba, left);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            const int writeError = errno;
            error_ = writeError == EPIPE
                         ? "ffmpeg stopped reading frames: " + Describe(Reap(false))
                         : std::string("cannot write to ffmpeg (") + std::strerror(writeError) +
                               "): " + Describe(Reap(false));
            return false;
        }
        rgba += written;
        left -= static_cast<std::size_t>(written);
    }
    return true;
}

bool FfmpegSink::Finish() {
    const int status = Reap(true);
    if (!Succeeded(status)) {
        error_ = "ffmpeg failed: " + Describe(status);
        return false;
    }
    return true;
}

int FfmpegSink::Reap(bool wait) {
    if (input_ >= 0) {
        close(input_);
        input_ = -1;
    }
    if (child_ <= 0) {
        return -1;
    }
    int status = 0;
    pid_t reaped = 0;
    if (wait) {
        // Finishing the file may take a while after the last frame.
        do {
            reaped = waitpid(child_, &status, 0);
        } while (reaped < 0 && errno == EINTR);
    } else {
        const auto deadline = std::chrono::steady_clock::now() + kReapGrace;
        while ((reaped = waitpid(child_, &status, WNOHANG)) == 0 &&
               std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        if (reaped == 0) {
            kill(child_, SIGKILL);
            reaped = waitpid(child_, &status, 0);
        }
    }
    child_ = -1;
    return reaped > 0 ? status : -1;
}
