// Test support for the show: a fake performance counter, a scripted FFT, and
// a fixture that runs frames of the show against a recording render device
// and a recording offset-mapping effect, with the picture quads, the tunnel
// and two small models registered the way start-up registers them.
#pragma once

#include "app/Timer.h"
#include "audio/SpectrumAnalyser.h"
#include "device/RecordingRenderDevice.h"
#include "effects/TunnelEffect.h"
#include "show/ShowObjects.h"
#include "show/ShowResources.h"
#include "show/ShowState.h"
#include "show/TestWindow.h"
#include "tests/show/RecordingEffect.h"
#include "tests/platform/win32_test_support.h"

#include <gtest/gtest.h>

#include <win32_standin.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace showtest {

// 2^20 counts a second: every show time of 8 s or more, and every dyadic
// one below, is an exact count.
constexpr std::int64_t kCountsPerSecond = std::int64_t{1} << 20;
inline std::int64_t g_count = 0;

inline BOOL WINAPI FakeFrequency(LARGE_INTEGER* frequency) {
    frequency->QuadPart = kCountsPerSecond;
    return TRUE;
}
inline BOOL WINAPI FakeCounter(LARGE_INTEGER* count) {
    count->QuadPart = g_count;
    return TRUE;
}
inline DWORD WINAPI FakeTickCount() {
    return 0;
}
inline const CounterSource kFakeCounter = {FakeFrequency, FakeCounter, FakeTickCount};

// Every FFT magnitude the analyser fetches.
inline float g_fftLevel = 0.0f;
inline DWORD ScriptedFft(DWORD, void* buffer, DWORD) {
    std::fill_n(static_cast<float*>(buffer), 512, g_fftLevel);
    return 512 * sizeof(float);
}

inline std::vector<RecordedBox> g_boxes;

// Exposes the running flag that OnFrame clears.
class ProbeWindow : public TestWindow {
public:
    void StartRunning() { m_running = 1; }
    bool Running() const { return m_running != 0; }
};

// What one static-buffer draw saw: the vsm effect's parameters as they
// stood at the draw (parameters keep their values across frames).
struct DrawSeen {
    std::string what;
    std::string technique;
    std::map<std::string, float> floats;
    std::map<std::string, Matrix4> matrices;
};

inline bool SameBits(const Matrix4& a, const Matrix4& b) {
    return std::memcmp(&a, &b, sizeof(Matrix4)) == 0;
}

inline Matrix4 LookAt(float x, float y, float z) {
    const D3DXVECTOR3 eye = {x, y, z};
    const D3DXVECTOR3 at = {0.0f, 0.0f, 0.0f};
    const D3DXVECTOR3 up = {0.0f, 1.0f, 0.0f};
    Matrix4 view;
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    return view;
}

inline Matrix4 Projection(float fieldOfView) {
    Matrix4 projection;
    D3DXMatrixPerspectiveFovLH(&projection, fieldOfView, 1.3333334f, 1.0f, 4000.0f);
    return projection;
}

inline Matrix4 Product(const Matrix4& a, const Matrix4& b) {
    Matrix4 product;
    D3DXMatrixMultiply(&product, &a, &b);
    return product;
}

inline Matrix4 Translation(float x, float y, float z) {
    Matrix4 translation;
    D3DXMatrixTranslation(&translation, x, y, z);
    return translation;
}

inline Matrix4 RotationZ(float angle) {
    Matrix4 rotation;
    D3DXMatrixRotationZ(&rotation, angle);
    return rotation;
}

class ShowTest : public ::testing::Test {
protected:
    // OnInit opens the music (silent when the file is missing) and builds
    // the projections once; the FFT is then scripted.
    static void SetUpTestSuite() {
        win32::SetMessageBoxHook(&RecordBoxes, &g_boxes);
        Window().OnInit();
        g_analyser->fetchFft = &ScriptedFft;
        win32::SetMessageBoxHook(nullptr, nullptr);
    }
    static void TearDownTestSuite() {
        g_analyser->CloseMusic();
        delete g_analyser;
        g_analyser = nullptr;
    }
    static ProbeWindow& Window() {
        static ProbeWindow window;
        return window;
    }

    void SetUp() override {
        device_.drawFlag = 1;
        g_renderDevice = &device_;
        BuildPictureQuads(&device_);
        SetUpTunnel(&device_);
        RegisterModel(g_modelW, 2, "W");
        RegisterModel(g_modelQ, 1, "Q");
        NameBuffers();
        g_offsetMappingEffect = &effect_;

        g_count = 0;
        timer_ = std::make_unique<CTimer>(kFakeCounter);
        g_timer = timer_.get();
        g_fftLevel = 0.0f;
        g_show.bassValue = 0.0f;
        g_show.pitchValue = 0.0f;
        g_show.upperBandValue = 0.0f;
        g_boxes.clear();
        win32::SetMessageBoxHook(&RecordBoxes, &g_boxes);
        Window().StartRunning();
        replayed_ = device_.Calls().size();
    }

    void TearDown() override {
        win32::SetMessageBoxHook(nullptr, nullptr);
        g_frameLineHook = nullptr;
        g_modelW.Unload();
        g_modelQ.Unload();
        g_offsetMappingEffect = nullptr;
        g_renderDevice = nullptr;
        g_timer = nullptr;
    }

    // One frame at show time t, with the music values set just before it.
    int FrameAt(float t, float bass = 0.0f, float pitch = 0.0f, float upper = 0.0f) {
        g_count = static_cast<std::int64_t>(static_cast<double>(t) * kCountsPerSecond);
        g_show.bassValue = bass;
        g_show.pitchValue = pitch;
        g_show.upperBandValue = upper;
        effect_.ClearCalls();
        const int result = Window().OnFrame();
        EXPECT_EQ(g_show.showClock, t);
        Replay();
        return result;
    }

    // A frame whose music values come out as b, p and u: with a silent
    // spectrum each value is the previous one times its decay factor.
    int FrameWithMusicAt(float t, float b, float p, float u) {
        const int result = FrameAt(t, 8.0f * b, 24.0f * p, 8.0f * u);
        EXPECT_EQ(g_show.bassValue, b);
        EXPECT_FLOAT_EQ(g_show.pitchValue, p);
        EXPECT_EQ(g_show.upperBandValue, u);
        return result;
    }

    // The last frame's device calls as words: parameter names, "tech:X",
    // "begin"/"pass" and their ends, "draw:<what>", "clear", "view",
    // "frame" and "/frame". GetBufferManager is left out.
    std::string FrameWords() const {
        std::string words;
        for (const RecordedCall& call : frameCalls_) {
            std::string word;
            if (call.call == "SetShaderFloat" || call.call == "SetShaderMatrix") {
                word = call.name;
            } else if (call.call == "SetShaderTechnique") {
                word = "tech:" + call.name;
            } else if (call.call == "RenderStaticBuffer") {
                word = "draw:" + BufferName(call.buffer);
            } else if (call.call == "GetBufferManager") {
                continue;
            } else {
                static const std::map<std::string, std::string> kWords = {
                    {"SetClearColor", "clear"},     {"SelectView", "view"},
                    {"BeginFrame", "frame"},        {"EndFrame", "/frame"},
                    {"BeginShaderEffect", "begin"}, {"BeginShaderPass", "pass"},
                    {"EndShaderPass", "/pass"},     {"EndShaderEffect", "/begin"}};
                const auto found = kWords.find(call.call);
                word = found != kWords.end() ? found->second : "?" + call.call;
            }
            words += (words.empty() ? "" : " ") + word;
        }
        return words;
    }

    // The values set for one vsm parameter in the last frame, in order.
    std::vector<float> FloatsSet(const std::string& name) const {
        std::vector<float> values;
        for (const RecordedCall& call : frameCalls_) {
            if (call.call == "SetShaderFloat" && call.name == name) {
                values.push_back(call.floats.at(0));
            }
        }
        return values;
    }

    // The last frame's draws that drew `what`, with what each saw.
    std::vector<DrawSeen> DrawsOf(const std::string& what) const {
        std::vector<DrawSeen> draws;
        std::copy_if(frameDraws_.begin(), frameDraws_.end(), std::back_inserter(draws),
                     [&](const DrawSeen& draw) { return draw.what == what; });
        return draws;
    }

    // The offset-mapping effect's calls of one kind for one parameter.
    std::vector<EffectCall> EffectSets(const std::string& call, const std::string& name) const {
        std::vector<EffectCall> sets;
        for (const EffectCall& recorded : effect_.CallsNamed(call)) {
            if (recorded.name == name) {
                sets.push_back(recorded);
            }
        }
        return sets;
    }

    std::string BufferName(UINT buffer) const {
        const auto found = bufferNames_.find(buffer);
        return found != bufferNames_.end() ? found->second : std::to_string(buffer);
    }

    CRecordingRenderDevice device_;
    RecordingEffect effect_;
    std::unique_ptr<CTimer> timer_;
    std::vector<RecordedCall> frameCalls_;
    std::vector<DrawSeen> frameDraws_;

private:
    // A model of `materials` static buffers named what0, what1, ...
    void RegisterModel(LoadMM& model, UINT materials, const std::string& what) {
        model.materialCount = materials;
        model.renderDevice = &device_;
        model.bufferIds.reset(new UINT[materials]());
        const std::vector<std::uint8_t> vertices(3 * 52);
        const WORD indices[3] = {0, 1, 2};
        for (UINT m = 0; m < materials; ++m) {
            device_.GetBufferManager()->CreateStaticBuffer(
                kVertexFormatModel, g_pictureSkinIds[0], 3, 3, vertices.data(), indices,
                kPrimitiveTriangleList, &model.bufferIds[m]);
            bufferNames_[model.bufferIds[m]] = what + std::to_string(m);
        }
    }

    void NameBuffers() {
        static const char* const kNames[kPictureQuadCount] = {
            "death", "waiting", "nothing", "flourish", "nny", "vic", "n", "mask", "dream"};
        for (int quad = 0; quad < kPictureQuadCount; ++quad) {
            bufferNames_[g_pictureBufferIds[quad]] = kNames[quad];
        }
        if (g_tunnelEffect.HasBuffer()) {
            bufferNames_[g_tunnelEffect.bufferId] = "tunnel";
        }
    }

    // Walks the calls made since the last replay: the frame's calls, and
    // what each draw saw of the parameters set so far.
    void Replay() {
        const std::vector<RecordedCall>& calls = device_.Calls();
        frameCalls_.assign(calls.begin() + static_cast<std::ptrdiff_t>(replayed_), calls.end());
        frameDraws_.clear();
        for (const RecordedCall& call : frameCalls_) {
            if (call.call == "SetShaderFloat") {
                floats_[call.name] = call.floats.at(0);
            } else if (call.call == "SetShaderMatrix") {
                matrices_[call.name] = call.matrix;
            } else if (call.call == "SetShaderTechnique") {
                technique_ = call.name;
            } else if (call.call == "RenderStaticBuffer") {
                frameDraws_.push_back({BufferName(call.buffer), technique_, floats_, matrices_});
            }
        }
        replayed_ = calls.size();
    }

    std::map<UINT, std::string> bufferNames_;
    std::size_t replayed_ = 0;
    std::map<std::string, float> floats_;
    std::map<std::string, Matrix4> matrices_;
    std::string technique_;
};

}  // namespace showtest
