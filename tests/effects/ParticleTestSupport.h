// Test support for the particle systems: a recording Direct3D device, the
// millisecond clock held still, recorded message boxes, a working folder of
// the test's own, and the random draws worked out independently.
#pragma once

#include "effects/ParticleScene.h"
#include "tests/platform/win32_test_support.h"

#include <d3d9_record.h>
#include <win32_standin.h>

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace particletest {

inline std::vector<RecordedBox> g_boxes;

// The n-th draw after seeding: state_n = state_(n-1) * 214013 + 2531011
// modulo 2^32, and the draw is state_n / 2^32 to the nearest float.
inline std::vector<float> Draws(std::uint32_t seed, int count) {
    std::vector<float> draws;
    std::uint64_t state = seed;
    for (int i = 0; i < count; ++i) {
        state = (state * 214013u + 2531011u) % 4294967296u;
        draws.push_back(static_cast<float>(state) / 4294967296.0f);
    }
    return draws;
}

// The clock behind GetTickCount, set to whole milliseconds.
inline void SetTickCount(std::uint32_t milliseconds) {
    win32::SetVirtualClock(std::int64_t{milliseconds} * 1000000);
}

// The calls as "Call name" words, names left out where there are none.
inline std::vector<std::string> Words(const std::vector<d3d9::RecordedCall>& calls) {
    std::vector<std::string> words;
    for (const d3d9::RecordedCall& call : calls) {
        words.push_back(call.call + (call.name.empty() ? "" : " " + call.name));
    }
    return words;
}

// Runs the test in a fresh folder (so "data\shaders\p.fx" can be missing or
// broken) and goes back to the run folder afterwards.
class ScopedFolder {
public:
    ScopedFolder() : previous_(std::filesystem::current_path()) {
        folder_ =
            std::filesystem::temp_directory_path() /
            ("hush_particles_" + std::to_string(::getpid()) + "_" + std::to_string(counter_++));
        std::filesystem::create_directories(folder_ / "data" / "shaders");
        std::filesystem::current_path(folder_);
    }
    ~ScopedFolder() {
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(folder_);
    }
    void WriteEffect(const std::string& text) const {
        std::ofstream(folder_ / "data" / "shaders" / "p.fx") << text;
    }

private:
    static inline int counter_ = 0;
    std::filesystem::path previous_;
    std::filesystem::path folder_;
};

// A recording device, the tick count held at 1000 ms and boxes recorded.
// The flare texture is released afterwards when someone loaded it.
class ParticleTest : public ::testing::Test {
protected:
    void SetUp() override {
        device_ = d3d9::CreateRecordingDevice(nullptr);
        ASSERT_NE(device_, nullptr);
        win32::UseVirtualClock(true);
        SetTickCount(1000);
        g_boxes.clear();
        win32::SetMessageBoxHook(&RecordBoxes, &g_boxes);
    }

    // The run folder's flare, as the scene loads it.
    void LoadFlare() {
        ASSERT_EQ(D3DXCreateTextureFromFileA(device_, "data\\textures\\flare.tga", &g_flareTexture),
                  D3D_OK);
    }

    void TearDown() override {
        win32::SetMessageBoxHook(nullptr, nullptr);
        win32::UseVirtualClock(false);
        if (g_flareTexture != nullptr) {
            g_flareTexture->Release();
            g_flareTexture = nullptr;
        }
        EXPECT_EQ(device_->Release(), 0u) << "something still holds the device";
    }

    const std::vector<d3d9::RecordedCall>& Calls() const { return d3d9::RecordedCalls(device_); }
    void ClearCalls() { d3d9::ClearRecordedCalls(device_); }
    std::vector<d3d9::RecordedCall> CallsNamed(const std::string& name) const {
        std::vector<d3d9::RecordedCall> found;
        for (const d3d9::RecordedCall& call : Calls()) {
            if (call.call == name) {
                found.push_back(call);
            }
        }
        return found;
    }

    IDirect3DDevice9* device_ = nullptr;
};

}  // namespace particletest
