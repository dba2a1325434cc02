// Benchmarks of the per-frame audio work: Analyse on its own, the FFT fetch
// of a playing stream, and the worst Analyse (with its fetch) over a few
// seconds of headless playback.
#include "audio/SpectrumAnalyser.h"

#include <bass_standin.h>

#include "tests/platform/bass/TestMusic.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

DWORD ScriptedFft(DWORD, void* buffer, DWORD) {
    auto* out = static_cast<float*>(buffer);
    for (int i = 0; i < 512; ++i) {
        out[i] = static_cast<float>(i % 17) * 0.01f;
    }
    return 2048;
}

// A playing stream of tones on SDL's dummy device; freed with the object.
class HeadlessPlayback {
public:
    explicit HeadlessPlayback(double seconds) {
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        BASS_Init(-1, 44100, 0, nullptr);
        BASS_Start();
        std::vector<test_music::Tone> tones;
        for (int bin = 10; tones.size() < static_cast<std::size_t>(seconds * 4); bin += 7) {
            tones.push_back({test_music::BinFrequency(bin % 300), 0.25, 0.5f});
        }
        stream = BASS_StreamCreateFile(
            FALSE, test_music::WriteToneMp3(folder_, "bench.mp3", tones, 44100, 2).c_str(), 0, 0,
            0);
        BASS_StreamPlay(stream, FALSE, 0);
    }
    ~HeadlessPlayback() { BASS_Free(); }

    HSTREAM stream = 0;

private:
    test_music::TempFolder folder_;
};

void BM_Analyse(benchmark::State& state) {
    CSpectrumAnalyser analyser;
    analyser.fetchFft = &ScriptedFft;
    analyser.SetupAnalysis();
    for (auto _ : state) {
        benchmark::DoNotOptimize(analyser.Analyse());
    }
    delete[] analyser.spectrum;
    delete[] analyser.work;
}
BENCHMARK(BM_Analyse);

void BM_FftFetch(benchmark::State& state) {
    HeadlessPlayback playback(10.0);
    std::vector<float> bins(512);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            BASS_ChannelGetData(playback.stream, bins.data(), BASS_DATA_FFT1024));
    }
}
BENCHMARK(BM_FftFetch);

// One iteration: Analyse with its real fetch about every 16 ms for three
// seconds of playback; reports the worst and the mean call.
void BM_AnalyseDuringPlayback(benchmark::State& state) {
    for (auto _ : state) {
        HeadlessPlayback playback(5.0);
        CSpectrumAnalyser analyser;
        analyser.stream = playback.stream;
        analyser.SetupAnalysis();
        double worst = 0.0;
        double total = 0.0;
        int calls = 0;
        const Clock::time_point start = Clock::now();
        while (Clock::now() - start < std::chrono::seconds(3)) {
            const Clock::time_point before = Clock::now();
            benchmark::DoNotOptimize(analyser.Analyse());
            const double took = std::chrono::duration<double>(Clock::now() - before).count();
            worst = std::max(worst, took);
            total += took;
            ++calls;
            std::this_thread::sleep_for(std::chrono::milliseconds(16));
        }
        state.SetIterationTime(total);
        state.counters["worst_us"] = worst * 1e6;
        state.counters["mean_us"] = total / calls * 1e6;
        state.counters["frames"] = calls;
        delete[] analyser.spectrum;
        delete[] analyser.work;
    }
}
BENCHMARK(BM_AnalyseDuringPlayback)->Iterations(1)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
