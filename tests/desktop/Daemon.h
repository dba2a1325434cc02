// Servers the desktop tests start for themselves (Xvfb, openbox,
// pulseaudio): started with their output to a file or nowhere, stopped
// with SIGTERM (SIGKILL when that is not enough) and reaped.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace hushtest {

// The program (looked up on the PATH) with these arguments and variables;
// the descriptor keepFd (when not -1) stays open in it. -1 when fork fails.
int SpawnDaemon(std::vector<std::string> arguments,
                const std::vector<std::pair<std::string, std::string>>& variables, int keepFd,
                const std::string& logPath = "/dev/null");

// Whether it has not ended yet.
bool DaemonRunning(int pid);

void StopDaemon(int pid);

}  // namespace hushtest
