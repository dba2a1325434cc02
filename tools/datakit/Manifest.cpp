// SHA-256 through nettle; one "path<TAB>size<TAB>sha256" line per file.
#include "tools/datakit/Manifest.h"

#include <nettle/sha2.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace datakit {

std::string Sha256OfFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return {};
    }
    sha256_ctx ctx;
    sha256_init(&ctx);
    std::vector<char> buffer(1 << 16);
    while (in) {
        in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        std::streamsize got = in.gcount();
        if (got > 0) {
            sha256_update(&ctx, static_cast<size_t>(got),
                          reinterpret_cast<const std::uint8_t*>(buffer.data()));
        }
    }
    std::uint8_t digest[SHA256_DIGEST_SIZE];
    sha256_digest(&ctx, SHA256_DIGEST_SIZE, digest);
    static const char* kHex = "0123456789abcdef";
    std::string hex;
    for (std::uint8_t b : digest) {
        hex += kHex[b >> 4];
        hex += kHex[b & 15];
    }
    return hex;
}

std::vector<ManifestEntry> WriteManifest(const std::filesystem::path& root,
                                         std::vector<std::string> paths) {
    std::sort(paths.begin(), paths.end());
    std::vector<ManifestEntry> entries;
    std::ostringstream text;
    for (const std::string& path : paths) {
        ManifestEntry e{path, std::filesystem::file_size(root / path), Sha256OfFile(root / path)};
        text << e.path << '\t' << e.size << '\t' << e.sha256 << '\n';
        entries.push_back(e);
    }
    std::filesystem::create_directories((root / kManifestPath).parent_path());
    std::ofstream out(root / kManifestPath, std::ios::binary);
    out << text.str();
    if (!out) {
        throw std::runtime_error("cannot write " + (root / kManifestPath).string());
    }
    return entries;
}

bool ReadManifest(const std::filesystem::path& root, std::vector<ManifestEntry>& entries) {
    std::ifstream in(root / kManifestPath, std::ios::binary);
    if (!in) {
        return false;
    }
    entries.clear();
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        ManifestEntry e;
        std::string size;
        if (!std::getline(fields, e.path, '\t') || !std::getline(fields, size, '\t') ||
            !std::getline(fields, e.sha256) || e.path.empty() || e.sha256.size() != 64 ||
            size.empty() || size.find_first_not_of("0123456789") != std::string::npos) {
            return false;
        }
        e.size = std::stoull(size);
        entries.push_back(e);
    }
    return !entries.empty();
}

std::vector<std::string> CheckManifest(const std::filesystem::path& root) {
    std::vector<ManifestEntry> entries;
    if (!ReadManifest(root, entries)) {
        return {kManifestPath};
    }
    std::vector<std::string> failing;
    for (const ManifestEntry& e : entries) {
        std::error_code ec;
        std::uintmax_t size = std::filesystem::file_size(root / e.path, ec);
        if (ec || size != e.size || Sha256OfFile(root / e.path) != e.sha256) {
            failing.push_back(e.path);
        }
    }
    return failing;
}

}  // namespace datakit
