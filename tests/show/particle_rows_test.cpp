// The particle rows: each system's fade, the second emitter's swing and
// orbit, the sinking rise, and the second system's resets between 106 and
// 107 seconds.
#include "effects/ParticleScene.h"
#include "tests/show/ShowTestSupport.h"

#include <d3d9_record.h>

#include <cmath>

namespace showtest {
namespace {

// Both systems set up on a recording Direct3D device, as start-up does, with
// the millisecond clock held still.
class ParticleRowsTest : public ShowTest {
protected:
    void SetUp() override {
        ShowTest::SetUp();
        win32::UseVirtualClock(true);
        win32::SetVirtualClock(std::int64_t{1000} * 1000000);
        d3dDevice_ = d3d9::CreateRecordingDevice(nullptr);
        ASSERT_NE(d3dDevice_, nullptr);
        SetupParticleScene(d3dDevice_);
        ASSERT_NE(g_firstParticleSystem, nullptr);
        ASSERT_TRUE(g_firstParticleSystem->Ready());
        ASSERT_TRUE(g_secondParticleSystem->Ready());
    }

    void TearDown() override {
        ReleaseParticleScene();
        EXPECT_EQ(d3dDevice_->Release(), 0u);
        win32::UseVirtualClock(false);
        ShowTest::TearDown();
    }

    // A frame at t, keeping only its calls on the Direct3D device.
    void ParticleFrameAt(float t) {
        d3d9::ClearRecordedCalls(d3dDevice_);
        FrameAt(t);
    }

    // The last frame's calls of one kind on a system's effect (the first
    // system's is effect 1), for one parameter when named.
    std::vector<d3d9::RecordedCall> EffectCalls(int effect, const std::string& call,
                                                const std::string& name = "") const {
        std::vector<d3d9::RecordedCall> found;
        for (const d3d9::RecordedCall& recorded : d3d9::RecordedCalls(d3dDevice_)) {
            if (recorded.effect == effect && recorded.call == call &&
                (name.empty() || recorded.name == name)) {
                found.push_back(recorded);
            }
        }
        return found;
    }

    // The one "fA" a system's effect got in the last frame.
    float FadeOf(int effect) const {
        const std::vector<d3d9::RecordedCall> sets = EffectCalls(effect, "SetFloat", "fA");
        EXPECT_EQ(sets.size(), 1u);
        return sets.empty() ? -1.0f : sets[0].values.at(0);
    }

    IDirect3DDevice9* d3dDevice_ = nullptr;
};

TEST_F(ParticleRowsTest, TheFirstSystemFadesInFrom24AndOutFrom100) {
    ParticleFrameAt(23.5f);
    EXPECT_TRUE(d3d9::RecordedCalls(d3dDevice_).empty()) << "no particles before 24";

    const struct {
        float t;
        float fade;
    } fades[] = {{24.0f, 1.0f},
                 {33.9f, std::sin(0.1f * (33.9f - 24.0f))},
                 {34.0f, 1.0f},
                 {100.0f, 1.0f},
                 {107.0f, 1.0f - std::sin(0.2f * (107.0f - 100.0f))}};
    for (const auto& at : fades) {
        ParticleFrameAt(at.t);
        EXPECT_EQ(FadeOf(1), at.fade) << "t = " << at.t;
    }
    // Just below sin(1) before 34, and nearly gone at 107.
    EXPECT_NEAR(fades[1].fade, 0.8360f, 1e-4);
    EXPECT_NEAR(fades[4].fade, 0.01455f, 1e-4);
}

TEST_F(ParticleRowsTest, TheSecondSystemFadesOnItsOwnEffectOnlyOnItsOrbit) {
    ParticleFrameAt(50.0f);
    EXPECT_TRUE(EffectCalls(2, "SetFloat", "fA").empty()) << "row 12 leaves its fade alone";
    const struct {
        float t;
        float fade;
    } fades[] = {{107.0f, 1.0f},
                 {116.9f, std::sin(0.1f * (116.9f - 107.0f))},
                 {117.0f, 1.0f},
                 {163.0f, 1.0f},
                 {170.0f, 1.0f - std::sin(0.2f * (170.0f - 163.0f))}};
    for (const auto& at : fades) {
        ParticleFrameAt(at.t);
        EXPECT_EQ(FadeOf(2), at.fade) << "t = " << at.t;
    }
    EXPECT_NEAR(fades[1].fade, 0.8360f, 1e-4);
    EXPECT_NEAR(fades[4].fade, 0.01455f, 1e-4);
    ParticleFrameAt(170.5f);
    EXPECT_TRUE(d3d9::RecordedCalls(d3dDevice_).empty()) << "no particles after 170";
}

TEST_F(ParticleRowsTest, TheSecondEmitterSwingsBelowTheViewUntil107) {
    ParticleFrameAt(50.0f);
    const Vec3& emitter = g_secondParticleSystem->emitter;
    EXPECT_EQ(emitter.x, 10.0f * std::sin(0.25f * 50.0f));
    EXPECT_EQ(emitter.y, -35.0f);
    EXPECT_EQ(emitter.z, 0.0f);
    EXPECT_EQ(g_secondParticleSystem->rise, 0.0125f);
    EXPECT_EQ(EffectCalls(1, "Begin").size(), 1u);
    EXPECT_EQ(EffectCalls(2, "Begin").size(), 1u);
}

TEST_F(ParticleRowsTest, BetweenDrawsIn106TheSecondSystemIsEmittedAnewEveryFrame) {
    for (const float t : {106.0f, 106.5f}) {
        ParticleFrameAt(t);
        EXPECT_EQ(EffectCalls(2, "Begin").size(), 1u);
        // Reset after the draw, at the emitter row 12 has just set.
        const float x = 10.0f * std::sin(0.25f * t);
        for (int i = 0; i < g_secondParticleSystem->particleCount; ++i) {
            const Particle& particle = g_secondParticleSystem->particles[i];
            ASSERT_EQ(particle.alive, 1);
            ASSERT_EQ(particle.age, 0.0f);
            ASSERT_EQ(particle.size, 0.0f);
            ASSERT_EQ(particle.position.x, x) << t;
            ASSERT_EQ(particle.position.y, -35.0f);
        }
    }
}

// At 107 rows 12, 13 and 14 all run: drawn, reset, moved onto the orbit,
// made to sink, and drawn (and updated) again.
TEST_F(ParticleRowsTest, At107TheSecondSystemIsDrawnTwiceAroundOneReset) {
    ParticleFrameAt(106.5f);
    ParticleFrameAt(107.0f);
    EXPECT_EQ(EffectCalls(1, "Begin").size(), 1u);
    EXPECT_EQ(EffectCalls(2, "Begin").size(), 2u);
    EXPECT_EQ(EffectCalls(2, "End").size(), 2u);

    const float dt = g_timer->GetFrameTime();
    ASSERT_EQ(dt, 0.5f);
    EXPECT_EQ(g_secondParticleSystem->rise, -0.025f);
    const Vec3& emitter = g_secondParticleSystem->emitter;
    EXPECT_EQ(emitter.x, 70.0f);
    EXPECT_EQ(emitter.y, 0.0f);
    EXPECT_EQ(emitter.z, 0.0f);
    // One update since the reset, which emitted every particle where row 12
    // had put the emitter: aged once from 0, moved once from there.
    const float resetX = 10.0f * std::sin(0.25f * 107.0f);
    for (int i = 0; i < g_secondParticleSystem->particleCount; ++i) {
        const Particle& particle = g_secondParticleSystem->particles[i];
        ASSERT_EQ(particle.age, dt * 0.1f) << i;
        ASSERT_EQ(particle.alive, particle.lifetime > particle.age ? 1 : 0) << i;
        ASSERT_EQ(particle.position.x, resetX + particle.velocity.x * dt) << i;
        ASSERT_EQ(particle.position.y, (-35.0f + particle.velocity.y * dt) + -0.025f) << i;
    }
}

TEST_F(ParticleRowsTest, OnItsOrbitTheSecondSystemSinksAlone) {
    ParticleFrameAt(120.0f);
    const float a = 0.25f * (120.0f - 107.0f);
    const Vec3& emitter = g_secondParticleSystem->emitter;
    EXPECT_EQ(emitter.x, 60.0f * std::cos(a) + 10.0f);
    EXPECT_EQ(emitter.y, 65.0f * std::sin(a));
    EXPECT_EQ(emitter.z, 0.0f);
    EXPECT_EQ(g_secondParticleSystem->rise, -0.025f);
    EXPECT_EQ(g_firstParticleSystem->rise, 0.0125f);
    EXPECT_TRUE(EffectCalls(1, "Begin").empty());
    EXPECT_EQ(EffectCalls(2, "Begin").size(), 1u);
}

}  // namespace
}  // namespace showtest
