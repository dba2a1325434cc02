// The manifest of generated files: relative path, size and SHA-256 of
// each, one per line, kept in data/manifest.txt of the output folder.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace datakit {

inline constexpr const char* kManifestPath = "data/manifest.txt";

struct ManifestEntry {
    std::string path;  // relative to the output folder, forward slashes
    std::uintmax_t size = 0;
    std::string sha256;  // 64 lower-case hex digits
};

std::string Sha256OfFile(const std::filesystem::path& file);
// Hashes the listed files under root and writes the manifest there.
std::vector<ManifestEntry> WriteManifest(const std::filesystem::path& root,
                                         std::vector<std::string> paths);
// Reads root's manifest; returns false when it is missing or malformed.
bool ReadManifest(const std::filesystem::path& root, std::vector<ManifestEntry>& entries);
// The paths whose file is missing or differs from the manifest; the
// manifest's own path when it cannot be read.
std::vector<std::string> CheckManifest(const std::filesystem::path& root);

}  // namespace datakit
