// The show's file list and a small pool of worker threads to make them.
#include "tools/datakit/Generate.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>

#include "tools/datakit/Arrangement.h"
#include "tools/datakit/ImageFile.h"
#include "tools/datakit/Models.h"
#include "tools/datakit/Mp3Writer.h"
#include "tools/datakit/Pictures.h"

namespace datakit {
namespace {

Job Picture(std::string path, Image (*paint)(int, int), int width, int height, ImageFormat format) {
    return {path, [=](const std::filesystem::path& root) {
                WriteImage(paint(width, height), root / path, format);
                return std::vector<std::string>{path};
            }};
}

}  // namespace

std::vector<Job> ShowJobs() {
    std::vector<Job> jobs;
    // The longest job first, so the others fill the remaining cores.
    jobs.push_back({"music", [](const std::filesystem::path& root) {
                        const std::string path = "data/music/hush_master_mix.mp3";
                        WriteMp3(RenderShowMusic(), root / path);
                        return std::vector<std::string>{path};
                    }});
    jobs.push_back(
        {"model w", [](const std::filesystem::path& root) { return WriteModelW(root); }});
    jobs.push_back(
        {"model q", [](const std::filesystem::path& root) { return WriteModelQ(root); }});
    jobs.push_back(Picture("data/textures/death_is_waiting.jpg", PaintDeathIsWaiting, 1024, 768,
                           ImageFormat::Jpeg));
    jobs.push_back(Picture("data/textures/Waiting_For_Death_To_Come_by_Velimar.jpg",
                           PaintWaitingForDeath, 1024, 768, ImageFormat::Jpeg));
    jobs.push_back(Picture("data/textures/nothing.png", PaintNothing, 1024, 768, ImageFormat::Png));
    jobs.push_back(
        Picture("data/textures/F_l_o_u_r_i_s_h.jpg", PaintFlourish, 1024, 768, ImageFormat::Jpeg));
    jobs.push_back(Picture("data/textures/nny.png", PaintEye, 1024, 768, ImageFormat::Png));
    jobs.push_back(Picture("data/textures/vic.png", PaintRooftops, 1024, 768, ImageFormat::Png));
    jobs.push_back(Picture("data/textures/n.png", PaintEclipse, 1024, 768, ImageFormat::Png));
    jobs.push_back(Picture("data/textures/Dream_With_Me_by_Ostrelle.jpg", PaintDreamWithMe, 768,
                           1024, ImageFormat::Jpeg));
    jobs.push_back(Picture("textures/scratch_messymiddle_mk_.tga", PaintScratchMask, 1024, 768,
                           ImageFormat::Tga));
    jobs.push_back(
        Picture("textures/holeball.tga", PaintTunnelTexture, 256, 512, ImageFormat::Tga));
    jobs.push_back({"flare", [](const std::filesystem::path& root) {
                        const std::string path = "data/textures/flare.tga";
                        WriteImage(PaintFlare(128), root / path, ImageFormat::Tga);
                        return std::vector<std::string>{path};
                    }});
    return jobs;
}

std::vector<ManifestEntry> GenerateAll(const std::filesystem::path& root) {
    std::vector<Job> jobs = ShowJobs();
    std::vector<std::vector<std::string>> written(jobs.size());
    std::atomic<size_t> next{0};
    std::mutex failureLock;
    std::exception_ptr failure;
    auto worker = [&] {
        for (size_t i = next++; i < jobs.size(); i = next++) {
            try {
                written[i] = jobs[i].run(root);
            } catch (...) {
                std::lock_guard<std::mutex> lock(failureLock);
                if (!failure) {
                    failure = std::current_exception();
                }
            }
        }
    };
    unsigned cores = std::max(2U, std::thread::hardware_concurrency());
    std::vector<std::thread> pool;
    for (unsigned t = 0; t < cores; ++t) {
        pool.emplace_back(worker);
    }
    for (std::thread& t : pool) {
        t.join();
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
    std::vector<std::string> paths;
    for (const auto& list : written) {
        paths.insert(paths.end(), list.begin(), list.end());
    }
    return WriteManifest(root, paths);
}

}  // namespace datakit
