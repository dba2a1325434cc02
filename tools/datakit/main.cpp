// datakit: generates the show's media (music, pictures, models) into a
// folder, or checks a folder against its manifest.
#include <CLI/CLI.hpp>

#include <chrono>
#include <cstdio>
#include <exception>

#include "tools/datakit/Generate.h"
#include "tools/datakit/Manifest.h"

int main(int argc, char** argv) {
    CLI::App app{"Generates the show's media: music, pictures and models."};
    std::string out = ".";
    std::string checkDir = ".";
    app.add_option("--out", out, "folder that receives data/ and textures/");
    CLI::Option* check =
        app.add_option("--check", checkDir, "verify a folder against its manifest")->expected(0, 1);
    CLI11_PARSE(app, argc, argv);

    if (check->count() > 0) {
        // A bare --check means the current folder.
        if (checkDir.empty()) {
            checkDir = ".";
        }
        std::vector<std::string> failing = datakit::CheckManifest(checkDir);
        for (const std::string& path : failing) {
            if (path == datakit::kManifestPath) {
                std::printf("datakit: %s: no readable %s\n", checkDir.c_str(), path.c_str());
            } else {
                std::printf("datakit: %s is missing or differs from the manifest\n", path.c_str());
            }
        }
        if (!failing.empty()) {
            return 1;
        }
        std::printf("datakit: %s matches its manifest\n", checkDir.c_str());
        return 0;
    }

    auto start = std::chrono::steady_clock::now();
    try {
        std::vector<datakit::ManifestEntry> files = datakit::GenerateAll(out);
        std::uintmax_t bytes = 0;
        for (const auto& f : files) {
            bytes += f.size;
        }
        double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("datakit: %zu files, %.1f MB in %s (%.1f s)\n", files.size(), bytes / 1e6,
                    out.c_str(), seconds);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "datakit: %s\n", e.what());
        return 1;
    }
    return 0;
}
