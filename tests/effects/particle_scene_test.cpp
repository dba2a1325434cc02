// The particle scene: set-up, the particles' own camera, the first emitter's
// swing with the Show clock, teardown, and a scene whose effect is missing.
#include "tests/effects/ParticleTestSupport.h"

#include "app/Timer.h"
#include "render/Matrix4.h"
#include "show/ShowState.h"

#include <cmath>
#include <memory>

namespace particletest {
namespace {

// The frame timer on a counter of 2^20 counts a second that the test moves.
std::int64_t g_count = 0;
BOOL WINAPI FakeFrequency(LARGE_INTEGER* frequency) {
    frequency->QuadPart = std::int64_t{1} << 20;
    return TRUE;
}
BOOL WINAPI FakeCounter(LARGE_INTEGER* count) {
    count->QuadPart = g_count;
    return TRUE;
}
DWORD WINAPI FakeTickCount() {
    return 0;
}
const CounterSource kFakeCounter = {FakeFrequency, FakeCounter, FakeTickCount};

std::vector<float> Values(const Matrix4& m) {
    return std::vector<float>(&m._11, &m._11 + 16);
}

class ParticleSceneTest : public ParticleTest {
protected:
    void SetUp() override {
        ParticleTest::SetUp();
        g_count = 0;
        timer_ = std::make_unique<CTimer>(kFakeCounter);
        g_timer = timer_.get();
        D3DXMatrixIdentity(&g_show.identityWorld);
        g_show.showClock = 0.0f;
    }

    void TearDown() override {
        ReleaseParticleScene();
        g_timer = nullptr;
        ParticleTest::TearDown();
    }

    // The timer advanced by `seconds` (a multiple of 2^-20) at Show clock t.
    void AdvanceTo(float t, double seconds) {
        g_count += static_cast<std::int64_t>(seconds * (1 << 20));
        g_timer->Update(0.0f);
        g_show.showClock = t;
    }

    // The recorded calls of effect `number` (the first system's is 1).
    std::vector<d3d9::RecordedCall> EffectCalls(int number) const {
        std::vector<d3d9::RecordedCall> found;
        for (const d3d9::RecordedCall& call : Calls()) {
            if (call.effect == number) {
                found.push_back(call);
            }
        }
        return found;
    }

    std::unique_ptr<CTimer> timer_;
};

TEST_F(ParticleSceneTest, SetupLoadsTheFlareAndStartsBothSystemsAtTheOrigin) {
    SetupParticleScene(device_);
    EXPECT_TRUE(g_boxes.empty());
    ASSERT_NE(g_flareTexture, nullptr);
    // The flare first: the systems take it at their Init.
    std::vector<std::string> created;
    for (const d3d9::RecordedCall& call : Calls()) {
        if (call.call.rfind("D3DXCreate", 0) == 0) {
            created.push_back(call.name);
        }
    }
    EXPECT_EQ(created, (std::vector<std::string>{"data\\textures\\flare.tga", "data\\shaders\\p.fx",
                                                 "data\\shaders\\p.fx"}));
    ASSERT_NE(g_firstParticleSystem, nullptr);
    ASSERT_NE(g_secondParticleSystem, nullptr);
    EXPECT_NE(g_firstParticleSystem->effect, g_secondParticleSystem->effect);
    for (const CTrailParticles* system : {g_firstParticleSystem, g_secondParticleSystem}) {
        ASSERT_TRUE(system->Ready());
        EXPECT_EQ(system->texture, g_flareTexture);
        EXPECT_EQ(system->rise, 0.0125f);
        EXPECT_EQ(system->emitter.x, 0.0f);
        EXPECT_EQ(system->emitter.y, 0.0f);
        EXPECT_EQ(system->emitter.z, 0.0f);
        for (int i = 0; i < system->particleCount; ++i) {
            const Particle& particle = system->particles[i];
            ASSERT_EQ(particle.alive, 1);
            ASSERT_EQ(particle.position.x, 0.0f);
            ASSERT_EQ(particle.position.y, 0.0f);
            ASSERT_EQ(particle.position.z, 0.0f);
        }
    }
}

TEST_F(ParticleSceneTest, TheFirstSystemDrawsOnItsOwnCameraWithASwingingEmitter) {
    SetupParticleScene(device_);
    const float kTwoPi = 6.2831855f;
    const struct {
        float t;
        float x;
    } swing[] = {{0.0f, 10.0f}, {kTwoPi, 5.0f}, {2.0f * kTwoPi, 0.0f}};
    for (const auto& at : swing) {
        g_show.showClock = at.t;
        DrawFirstParticleSystem();
        EXPECT_EQ(g_firstParticleSystem->emitter.x, at.x) << at.t;
        EXPECT_EQ(g_firstParticleSystem->emitter.y, -35.0f);
        EXPECT_EQ(g_firstParticleSystem->emitter.z, 0.0f);
    }

    // Between frames every particle ages by a tenth of the frame time.
    ClearCalls();
    AdvanceTo(1.0f, 0.25);
    const float ageBefore = g_firstParticleSystem->particles[0].age;
    DrawFirstParticleSystem();
    EXPECT_EQ(g_firstParticleSystem->particles[0].age, ageBefore + 0.25f * 0.1f);

    const D3DXVECTOR3 eye = {0.0f, 0.0f, 30.0f};
    const D3DXVECTOR3 at = {0.0f, 0.0f, 0.0f};
    const D3DXVECTOR3 up = {0.0f, 1.0f, 0.0f};
    Matrix4 view;
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    Matrix4 projection;
    D3DXMatrixPerspectiveFovLH(&projection, 1.5707964f, 1.0f, 1.0f, 4000.0f);
    const std::vector<d3d9::RecordedCall> calls = EffectCalls(1);
    ASSERT_GE(calls.size(), 5u);
    EXPECT_EQ(
        Words({calls.begin(), calls.begin() + 5}),
        (std::vector<std::string>{"SetMatrix World", "SetMatrix View", "SetMatrix Proj",
                                  "SetTexture g_BaseTexture", "SetTechnique ParticleTechnique"}));
    EXPECT_EQ(calls[0].values, Values(g_show.identityWorld));
    EXPECT_EQ(calls[1].values, Values(view));
    EXPECT_EQ(calls[2].values, Values(projection));
    EXPECT_TRUE(EffectCalls(2).empty()) << "the second system was not drawn";
}

TEST_F(ParticleSceneTest, TeardownReleasesTheSystemsThenTheFlare) {
    SetupParticleScene(device_);
    ClearCalls();
    ReleaseParticleScene();
    EXPECT_EQ(g_firstParticleSystem, nullptr);
    EXPECT_EQ(g_secondParticleSystem, nullptr);
    EXPECT_EQ(g_flareTexture, nullptr);
    std::vector<std::string> released;
    for (const d3d9::RecordedCall& call : CallsNamed("Release")) {
        if (call.name != "Device") {
            released.push_back(call.name + call.fx + call.texture + " " +
                               std::to_string(call.args.back()));
        }
    }
    EXPECT_EQ(released,
              (std::vector<std::string>{"p.fx 0", "VertexBuffer 0", "p.fx 0", "VertexBuffer 0",
                                        "data\\textures\\flare.tga 0"}));
    // Nothing draws after teardown.
    ClearCalls();
    DrawFirstParticleSystem();
    DrawSecondParticleSystem();
    EXPECT_TRUE(Calls().empty());
}

TEST_F(ParticleSceneTest, SystemsWithoutTheirEffectAreNeitherUpdatedNorDrawn) {
    {
        ScopedFolder folder;
        SetupParticleScene(device_);
    }
    EXPECT_EQ(g_boxes.size(), 2u);
    EXPECT_EQ(g_flareTexture, nullptr);
    ASSERT_NE(g_firstParticleSystem, nullptr);
    EXPECT_FALSE(g_firstParticleSystem->Ready());
    EXPECT_FALSE(g_secondParticleSystem->Ready());
    ClearCalls();
    AdvanceTo(30.0f, 30.0);
    DrawFirstParticleSystem();
    DrawSecondParticleSystem();
    EXPECT_TRUE(Calls().empty());
}

}  // namespace
}  // namespace particletest
