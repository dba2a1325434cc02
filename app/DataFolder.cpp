// The data folder's precedence: --data, the run folder, the installation.
#include "app/DataFolder.h"

#include <win32_standin.h>

#include <filesystem>
#include <system_error>

namespace {

bool HoldsData(const std::filesystem::path& folder) {
    std::error_code error;
    return std::filesystem::is_directory(folder / "data", error);
}

}  // namespace

std::string ChooseDataFolder(const std::string& givenFolder, const std::string& installedFolder) {
    if (!givenFolder.empty()) {
        return givenFolder;
    }
    if (HoldsData(".") || installedFolder.empty() || !HoldsData(installedFolder)) {
        return {};
    }
    return installedFolder;
}

std::string InstalledDataFolder() {
    return win32::ExecutableDir() + HUSH_INSTALLED_DATA_FROM_EXECUTABLE;
}
