// Loading and building models: a generated one, a 64 x 64 vertex grid (4096
// vertices, 7938 faces, two texture channels) with one textured material;
// and the show's two, from the run folder's data (run from the run folder).
#include "model/LoadMM.h"
#include "tests/model/ModelTestSupport.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

constexpr int kSide = 64;

std::string GridModel() {
    mmtest::Mesh grid;
    grid.name = "Grid";
    grid.channels = 2;
    grid.faces.clear();
    grid.vertices.clear();
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            const float u = static_cast<float>(x) / (kSide - 1);
            const float v = static_cast<float>(y) / (kSide - 1);
            grid.vertices.push_back(
                {{u * 10, v * 10, u * v}, {0, 0, 1}, {u, v, 0.5f}, {u, v, v, u}});
        }
    }
    for (int y = 0; y + 1 < kSide; ++y) {
        for (int x = 0; x + 1 < kSide; ++x) {
            const int i = y * kSide + x;
            grid.faces.push_back({i, i + 1, i + kSide, 0});
            grid.faces.push_back({i + 1, i + kSide + 1, i + kSide, 1});
        }
    }
    mmtest::Material material;
    material.textures = {"grid.tga", "grid_n.tga", "grid_g.tga"};
    return mmtest::Header() + material.Text() + grid.Text();
}

void LoadAndBuildGrid(benchmark::State& state) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / "hush_bench_grid.mm";
    std::ofstream(path, std::ios::binary) << GridModel();
    for (auto _ : state) {
        LoadMM model;
        benchmark::DoNotOptimize(model.LoadMesh(path.c_str()));
        benchmark::DoNotOptimize(model.modelVertices.get());
    }
    state.SetItemsProcessed(state.iterations() * kSide * kSide);
    std::filesystem::remove(path);
}
BENCHMARK(LoadAndBuildGrid)->Unit(benchmark::kMillisecond);

void LoadAndBuildShowModel(benchmark::State& state, const char* file) {
    if (!std::filesystem::exists(file)) {
        state.SkipWithError("run from the run folder: the model is missing");
        return;
    }
    int vertices = 0;
    for (auto _ : state) {
        LoadMM model;
        benchmark::DoNotOptimize(model.LoadMesh(file));
        benchmark::DoNotOptimize(model.modelVertices.get());
        vertices = model.vertexCount;
    }
    state.SetItemsProcessed(state.iterations() * vertices);
}
BENCHMARK_CAPTURE(LoadAndBuildShowModel, W, "data/models/w.mm")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LoadAndBuildShowModel, Q, "data/models/q.mm")->Unit(benchmark::kMillisecond);

}  // namespace
