// Where the show's files are. The system opens them relative to the working
// directory, so the program changes to their folder before start-up: the
// folder given with --data; else the working directory itself when it holds
// data/ (a run folder); else, for an installed hush, its data folder beside
// its installation (share/hush, found from the executable's own folder,
// lib/hush).
#pragma once

#include <string>

// The folder to change to, or empty to stay in the working directory.
// installedFolder is where an installed hush keeps its data; it is used
// only when it holds data/.
std::string ChooseDataFolder(const std::string& givenFolder, const std::string& installedFolder);

// The installed data folder of the running executable: its own folder plus
// the path from the installed lib/hush to share/hush.
std::string InstalledDataFolder();
