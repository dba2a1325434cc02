// One frame of the show at a few show times (the analysis of a scripted
// spectrum, the schedule walk, every row's matrices and parameters, the
// particle systems' update and draws) against a render device and an effect
// that do nothing and a recording Direct3D device with its log off, so only
// the show's own work and the stand-in's bookkeeping are timed; and the
// tunnel's Init against the recording device. Run from the run folder, so
// the particles find their effect and texture.
#include "tests/show/ShowTestSupport.h"

#include "effects/ParticleScene.h"

#include <benchmark/benchmark.h>
#include <d3d9_record.h>

namespace {

using namespace showtest;

class NullBuffers final : public CBufferManager {
public:
    HRESULT CreateStaticBuffer(int, UINT, UINT, UINT, const void*, const WORD*, int,
                               UINT* bufferId) override {
        *bufferId = ++count;
        return S_OK;
    }
    HRESULT RenderStaticBuffer(UINT, int) override { return S_OK; }
    UINT count = 0;
};

class NullSkins final : public CSkinManager {
public:
    HRESULT AddSkin(const Color4&, const Color4&, const Color4&, const Color4&, float,
                    UINT* skinId) override {
        *skinId = ++count;
        return S_OK;
    }
    HRESULT AddSkinTexture(UINT, const char*, int, float) override { return S_OK; }
    UINT count = 0;
};

class NullRenderDevice final : public CRenderDevice {
public:
    HRESULT Open(HWND, int, int, int) override { return S_OK; }
    CBufferManager* GetBufferManager() override { return &buffers_; }
    CSkinManager* GetSkinManager() override { return &skins_; }
    UINT LoadShaderEffect(const char*) override { return 1; }
    HRESULT UseShaderEffect(UINT) override { return S_OK; }
    HRESULT BeginShaderEffect(int, int) override { return S_OK; }
    HRESULT BeginShaderPass(int, int) override { return S_OK; }
    HRESULT EndShaderPass() override { return S_OK; }
    HRESULT EndShaderEffect() override { return S_OK; }
    HRESULT SetShaderTechnique(const char*) override { return S_OK; }
    HRESULT SetShaderMatrix(const char*, const Matrix4& matrix) override {
        benchmark::DoNotOptimize(matrix._11);
        return S_OK;
    }
    HRESULT SetShaderFloat(const char*, float value) override {
        benchmark::DoNotOptimize(value);
        return S_OK;
    }
    HRESULT BeginFrame(int, int, int) override { return S_OK; }
    HRESULT EndFrame() override { return S_OK; }
    void SetClearColor(float, float, float) override {}
    void SetDepthRange(float, float) override {}
    HRESULT SelectView(int, int) override { return S_OK; }
    HRESULT SetupPerspective(float, const Viewport&, int) override { return S_OK; }

private:
    NullBuffers buffers_;
    NullSkins skins_;
};

class NullEffect final : public ID3DXEffect {
public:
    ULONG AddRef() override { return 1; }
    ULONG Release() override { return 1; }
    D3DXHANDLE GetTechniqueByName(LPCSTR name) override { return name; }
    D3DXHANDLE GetParameterByName(D3DXHANDLE, LPCSTR name) override { return name; }
    HRESULT SetTechnique(D3DXHANDLE) override { return S_OK; }
    HRESULT Begin(UINT* passes, DWORD) override {
        *passes = 1;
        return S_OK;
    }
    HRESULT BeginPass(UINT) override { return S_OK; }
    HRESULT CommitChanges() override { return S_OK; }
    HRESULT EndPass() override { return S_OK; }
    HRESULT End() override { return S_OK; }
    HRESULT SetMatrix(D3DXHANDLE, const D3DXMATRIX* matrix) override {
        benchmark::DoNotOptimize(matrix->_11);
        return S_OK;
    }
    HRESULT SetFloat(D3DXHANDLE, float value) override {
        benchmark::DoNotOptimize(value);
        return S_OK;
    }
    HRESULT SetVector(D3DXHANDLE, const D3DXVECTOR4*) override { return S_OK; }
    HRESULT SetTexture(D3DXHANDLE, IDirect3DBaseTexture9*) override { return S_OK; }
    HRESULT GetFloat(D3DXHANDLE, float*) override { return E_NOTIMPL; }
    HRESULT GetVector(D3DXHANDLE, D3DXVECTOR4*) override { return E_NOTIMPL; }
    HRESULT GetMatrix(D3DXHANDLE, D3DXMATRIX*) override { return E_NOTIMPL; }
    HRESULT GetTexture(D3DXHANDLE, IDirect3DBaseTexture9**) override { return E_NOTIMPL; }
};

int SilentBox(void*, LPCWSTR, LPCWSTR, UINT) {
    return IDOK;
}

// The show set up once for all runs, as start-up leaves it.
struct Show {
    Show() {
        win32::SetMessageBoxHook(&SilentBox, nullptr);
        window.OnInit();
        g_analyser->fetchFft = &ScriptedFft;
        g_fftLevel = 0.3f;
        device.drawFlag = 1;
        g_renderDevice = &device;
        BuildPictureQuads(&device);
        SetUpTunnel(&device);
        g_offsetMappingEffect = &effect;
        g_timer = &timer;
        device.d3dDevice = d3d9::CreateRecordingDevice(nullptr);
        d3d9::KeepRecordedCalls(device.d3dDevice, false);
        SetupParticleScene(device.d3dDevice);
    }

    NullRenderDevice device;
    NullEffect effect;
    CTimer timer{kFakeCounter};
    ProbeWindow window;
};

Show& TheShow() {
    static Show show;
    return show;
}

void OneFrame(benchmark::State& state) {
    Show& show = TheShow();
    g_count = state.range(0) * kCountsPerSecond;
    for (auto _ : state) {
        benchmark::DoNotOptimize(show.window.OnFrame());
    }
}
// The mask alone; five pictures, model W and both particle systems; the
// tunnel, model Q, three pictures and both particle systems; the busiest,
// with the second system reset every frame; model Q, three pictures and the
// second particle system.
BENCHMARK(OneFrame)->Arg(0)->Arg(29)->Arg(98)->Arg(106)->Arg(150);

void TunnelInit(benchmark::State& state) {
    CRecordingRenderDevice device;
    CTunnelEffect tunnel;
    for (auto _ : state) {
        benchmark::DoNotOptimize(tunnel.Init(&device));
        state.PauseTiming();
        device.ClearCalls();
        state.ResumeTiming();
    }
}
BENCHMARK(TunnelInit)->Unit(benchmark::kMillisecond);

}  // namespace
