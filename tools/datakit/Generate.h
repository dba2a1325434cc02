// Generates every file the show opens into one output folder, then its
// manifest.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "tools/datakit/Manifest.h"

namespace datakit {

// One unit of work: writes its files under the root and returns their
// relative paths.
struct Job {
    std::string name;
    std::function<std::vector<std::string>(const std::filesystem::path& root)> run;
};

std::vector<Job> ShowJobs();
// Runs the jobs on all cores (each job alone writes its files, so the
// output does not depend on the schedule), writes the manifest and
// returns its entries. Throws when a job fails.
std::vector<ManifestEntry> GenerateAll(const std::filesystem::path& root);

}  // namespace datakit
