// What the particle systems cost: one system's Update of 3000 particles, its
// Render against the recording device (the CPU side of the draw calls), and
// a whole frame of both systems on the OpenGL device offscreen at 1024x768
// (Mesa's llvmpipe without a GPU). Run from the run folder, which holds
// data\shaders\p.fx and data\textures\flare.tga, with
// SDL_VIDEODRIVER=offscreen: ./effects_bench
#include "effects/ParticleScene.h"
#include "render/Matrix4.h"
#include "tests/platform/d3d9_test_device.h"

#include <d3d9_record.h>
#include <win32_standin.h>

#include <benchmark/benchmark.h>

#include <cstdint>

namespace {

constexpr float kFrameTime = 1.0f / 60.0f;
constexpr std::int64_t kFrameNanoseconds = 16666667;

// About a minute and a half of show at 60 frames a second: every particle of
// the reset has died and come back with a real size, as in the show.
void RunShowFrames(CTrailParticles& system, std::int64_t& clock, int frames) {
    for (int frame = 0; frame < frames; ++frame) {
        clock += kFrameNanoseconds;
        win32::SetVirtualClock(clock);
        system.Update(kFrameTime);
    }
}

// The particles' camera with the identity world, as the scene sets it.
void SetCamera(ID3DXEffect& effect) {
    Matrix4 identity;
    D3DXMatrixIdentity(&identity);
    SetParticleCamera(effect, identity);
}

// A system on the device, emitted at the first emitter's lowest point and
// run until it looks as it does in the show.
bool StartSystem(CTrailParticles& system, IDirect3DDevice9* device, std::int64_t& clock) {
    if (system.Init(device) != 0) {
        return false;
    }
    system.rise = 0.0125f;
    system.emitter.Set(5.0f, -35.0f, 0.0f);
    system.Reset();
    RunShowFrames(system, clock, 5400);
    return true;
}

void ParticleUpdate(benchmark::State& state) {
    win32::UseVirtualClock(true);
    IDirect3DDevice9* device = d3d9::CreateRecordingDevice(nullptr);
    CTrailParticles system;
    std::int64_t clock = 0;
    if (!StartSystem(system, device, clock)) {
        state.SkipWithError("no particle effect");
    }
    for (auto _ : state) {
        clock += kFrameNanoseconds;
        win32::SetVirtualClock(clock);
        system.Update(kFrameTime);
        benchmark::DoNotOptimize(system.particles);
    }
    system.ReleaseResources();
    device->Release();
    win32::UseVirtualClock(false);
}
BENCHMARK(ParticleUpdate)->Unit(benchmark::kMicrosecond);

// Includes the recording device's own bookkeeping: 18,000 calls a frame.
void ParticleRenderRecorded(benchmark::State& state) {
    win32::UseVirtualClock(true);
    IDirect3DDevice9* device = d3d9::CreateRecordingDevice(nullptr);
    CTrailParticles system;
    std::int64_t clock = 0;
    if (!StartSystem(system, device, clock)) {
        state.SkipWithError("no particle effect");
    }
    for (auto _ : state) {
        d3d9::ClearRecordedCalls(device);
        system.Render();
    }
    system.ReleaseResources();
    device->Release();
    win32::UseVirtualClock(false);
}
BENCHMARK(ParticleRenderRecorded)->Unit(benchmark::kMillisecond);

// Both systems, as rows 12 draws them: camera, update and render each, then
// the frame presented.
void ParticleFrameOpenGl(benchmark::State& state) {
    win32::UseVirtualClock(true);
    IDirect3D9* direct3d = Direct3DCreate9(D3D_SDK_VERSION);
    D3DPRESENT_PARAMETERS parameters = d3d9test::HeadlessParameters(1024, 768);
    IDirect3DDevice9* device = nullptr;
    if (direct3d == nullptr || direct3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, nullptr,
                                                      0, &parameters, &device) != D3D_OK) {
        state.SkipWithError("no OpenGL device");
        win32::UseVirtualClock(false);
        return;
    }
    D3DXCreateTextureFromFileA(device, "data\\textures\\flare.tga", &g_flareTexture);
    CTrailParticles first;
    CTrailParticles second;
    std::int64_t clock = 0;
    if (!StartSystem(first, device, clock) || !StartSystem(second, device, clock)) {
        state.SkipWithError("no particle effect");
    }
    second.emitter.Set(-5.0f, -35.0f, 0.0f);
    int sprites = 0;
    for (auto _ : state) {
        clock += kFrameNanoseconds;
        win32::SetVirtualClock(clock);
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
        device->BeginScene();
        sprites = 0;
        for (CTrailParticles* system : {&first, &second}) {
            if (!system->Ready()) {
                continue;
            }
            SetCamera(*system->effect);
            system->Update(kFrameTime);
            system->Render();
            for (int i = 0; i < system->particleCount; ++i) {
                sprites += system->particles[i].alive;
            }
        }
        device->EndScene();
        device->Present(nullptr, nullptr, nullptr, nullptr);
    }
    state.counters["sprites"] = sprites;
    first.ReleaseResources();
    second.ReleaseResources();
    if (g_flareTexture != nullptr) {
        g_flareTexture->Release();
        g_flareTexture = nullptr;
    }
    device->Release();
    direct3d->Release();
    win32::UseVirtualClock(false);
}
BENCHMARK(ParticleFrameOpenGl)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
