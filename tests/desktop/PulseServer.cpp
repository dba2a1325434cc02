// pulseaudio started without its usual configuration (-n) on a script of
// our own, as whichever user runs the tests (root included).
#include "tests/desktop/PulseServer.h"

#include "tests/app/HushProcess.h"
#include "tests/desktop/Daemon.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

namespace hushtest {

namespace {

bool Accepts(const std::string& socketPath) {
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0) {
        return false;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
    const bool connected =
        connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return connected;
}

}  // namespace

std::unique_ptr<PulseServer> PulseServer::Start(std::string* failure) {
    using namespace std::chrono_literals;
    std::unique_ptr<PulseServer> server(new PulseServer());
    char folder[] = "/tmp/hush_pulse_XXXXXX";
    if (mkdtemp(folder) == nullptr) {
        *failure = "no temporary folder";
        return nullptr;
    }
    server->folder_ = folder;
    const std::string script = server->folder_ + "/server.pa";
    std::ofstream(script) << "load-module module-null-sink sink_name=hush_sink rate=44100 "
                             "channels=2\n"
                          << "load-module module-native-protocol-unix auth-anonymous=1 socket="
                          << server->Socket() << "\n"
                          << "set-default-sink hush_sink\n";
    const std::string log = server->folder_ + "/log";
    server->pid_ =
        // Realtime where it is allowed, so that a busy machine does not make
        // the server itself miss its turn and play a gap.
        SpawnDaemon({"pulseaudio", "--daemonize=no", "--exit-idle-time=-1", "--system=false",
                     "--use-pid-file=no", "--disable-shm=yes", "--high-priority=yes",
                     "--realtime=yes", "-n", "-F", script},
                    {{"XDG_RUNTIME_DIR", server->folder_}, {"HOME", server->folder_}}, -1, log);
    const auto giveUp = std::chrono::steady_clock::now() + 15s;
    while (!Accepts(server->Socket())) {
        if (!DaemonRunning(server->pid_) || std::chrono::steady_clock::now() > giveUp) {
            *failure = "pulseaudio did not start: " + ReadFile(log);
            return nullptr;
        }
        std::this_thread::sleep_for(20ms);
    }
    return server;
}

PulseServer::~PulseServer() {
    StopDaemon(pid_);
    if (!folder_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
}

}  // namespace hushtest
