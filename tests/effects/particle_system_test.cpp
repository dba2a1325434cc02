// The particle system: its quad and effect, the reset and re-emission draws
// to the bit, the update's arithmetic, the draw sequence, and Init's
// failures.
#include "tests/effects/ParticleTestSupport.h"

#include <cmath>
#include <cstring>

namespace particletest {
namespace {

class ParticleSystemTest : public ParticleTest {
protected:
    void SetUp() override {
        ParticleTest::SetUp();
        LoadFlare();
        ASSERT_EQ(system_.Init(device_), 0);
    }
    void TearDown() override {
        system_.ReleaseResources();
        ParticleTest::TearDown();
    }

    // Every particle dead but the first `live`.
    void KeepAlive(int live) {
        for (int i = live; i < system_.particleCount; ++i) {
            system_.particles[i].alive = 0;
        }
    }

    std::uint32_t SystemSeed() const { return system_.SeedOffset(); }

    CTrailParticles system_;
};

TEST_F(ParticleSystemTest, InitMakesTheQuadTheEffectAndThreeThousandEmptyParticles) {
    const std::vector<d3d9::RecordedCall> created = CallsNamed("CreateVertexBuffer");
    ASSERT_EQ(created.size(), 1u);
    EXPECT_EQ(created[0].args, (std::vector<std::int64_t>{96, 0, 0x142, D3DPOOL_MANAGED, 1}));
    const std::vector<d3d9::RecordedCall> unlocked = CallsNamed("Unlock");
    ASSERT_EQ(unlocked.size(), 1u);
    const struct {
        float x, y, z;
        DWORD colour;
        float u, v;
    } quad[4] = {{-0.5f, -0.5f, 0.0f, 0xFFFFFFFF, 0.0f, 1.0f},
                 {-0.5f, 0.5f, 0.0f, 0xFFFFFFFF, 0.0f, 0.0f},
                 {0.5f, -0.5f, 0.0f, 0xFFFFFFFF, 1.0f, 1.0f},
                 {0.5f, 0.5f, 0.0f, 0xFFFFFFFF, 1.0f, 0.0f}};
    ASSERT_EQ(unlocked[0].bytes.size(), sizeof quad);
    EXPECT_EQ(std::memcmp(unlocked[0].bytes.data(), quad, sizeof quad), 0);
    EXPECT_EQ(CallsNamed("Lock").at(0).args, (std::vector<std::int64_t>{1, 0, 96, 0}));
    const std::vector<d3d9::RecordedCall> effects = CallsNamed("D3DXCreateEffectFromFileA");
    ASSERT_EQ(effects.size(), 1u);
    EXPECT_EQ(effects[0].name, "data\\shaders\\p.fx");
    EXPECT_EQ(effects[0].result, D3D_OK);

    EXPECT_EQ(system_.device, device_);
    EXPECT_NE(system_.effect, nullptr);
    EXPECT_EQ(system_.texture, g_flareTexture);
    EXPECT_EQ(system_.technique, system_.effect->GetTechniqueByName("ParticleTechnique"));
    EXPECT_NE(system_.technique, nullptr);
    EXPECT_NE(system_.worldParam, nullptr);
    EXPECT_NE(system_.sizeParam, nullptr);
    EXPECT_NE(system_.diffuseParam, nullptr);
    // The effect file offers every parameter the show sets.
    for (const char* name : {"View", "Proj", "g_BaseTexture", "fA"}) {
        EXPECT_NE(system_.effect->GetParameterByName(nullptr, name), nullptr) << name;
    }
    EXPECT_TRUE(g_boxes.empty());
    ASSERT_EQ(system_.particleCount, 3000);
    const Particle empty{};
    for (int i = 0; i < system_.particleCount; ++i) {
        ASSERT_EQ(std::memcmp(&system_.particles[i], &empty, sizeof empty), 0) << i;
    }
}

TEST_F(ParticleSystemTest, ResetEmitsEveryParticleAtTheEmitterFromOneSeed) {
    system_.emitter.Set(1.5f, -35.0f, 2.0f);
    SetTickCount(123456);
    EXPECT_EQ(system_.Reset(), 0);

    // Seven draws per particle, the state carried on: lifetime, velocity
    // x, y, z, red, green, blue.
    const std::vector<float> r = Draws(123456, 7 * 3000);
    for (int i = 0; i < 3000; ++i) {
        const Particle& particle = system_.particles[i];
        const float* d = &r[7 * i];
        ASSERT_EQ(particle.alive, 1);
        ASSERT_EQ(particle.age, 0.0f);
        ASSERT_EQ(particle.size, 0.0f);
        ASSERT_EQ(particle.position.x, 1.5f);
        ASSERT_EQ(particle.position.y, -35.0f);
        ASSERT_EQ(particle.position.z, 2.0f);
        ASSERT_EQ(particle.lifetime, 8.0f * d[0]) << i;
        ASSERT_GE(particle.lifetime, 0.0f);
        ASSERT_LT(particle.lifetime, 8.0f);
        ASSERT_EQ(particle.velocity.x, -0.35f + 0.7f * d[1]) << i;
        ASSERT_EQ(particle.velocity.y, 0.035f + 0.315f * d[2]) << i;
        ASSERT_EQ(particle.velocity.z, -0.35f + 0.7f * d[3]) << i;
        ASSERT_EQ(particle.colour.r, 0.5f + 0.5f * d[4]) << i;
        ASSERT_EQ(particle.colour.g, 0.1f + 0.5f * d[5]) << i;
        ASSERT_EQ(particle.colour.b, 0.2f * d[6]) << i;
        ASSERT_EQ(particle.colour.a, 1.0f);
    }
    // The first particle of this seed, worked out by hand:
    // 123456 * 214013 + 2531011 = 26423719939 = 6 * 2^32 + 653916163.
    EXPECT_EQ(system_.particles[0].lifetime, 8.0f * (653916163.0f / 4294967296.0f));
}

TEST_F(ParticleSystemTest, RespawnSeedsWithTheTickCountAndTheSystemsOwnNumber) {
    system_.emitter.Set(4.0f, 5.0f, 6.0f);
    SetTickCount(777);
    Particle particle{};
    EXPECT_EQ(system_.Respawn(particle), 0);

    const std::vector<float> r = Draws(777u + SystemSeed(), 5);
    EXPECT_EQ(particle.alive, 1);
    EXPECT_EQ(particle.age, 0.0f);
    EXPECT_EQ(particle.position.x, 4.0f);
    EXPECT_EQ(particle.position.y, 5.0f);
    EXPECT_EQ(particle.position.z, 6.0f);
    EXPECT_EQ(particle.lifetime, 4.0f + 14.0f * r[0]);
    const float rounded = 0.5f + 8.25f * r[1];
    EXPECT_EQ(particle.size, rounded + 0.5f);
    EXPECT_EQ(particle.velocity.x, r[2] - 0.5f);
    EXPECT_EQ(particle.velocity.y, r[3] - 0.5f);
    EXPECT_EQ(particle.velocity.z, r[4] - 0.5f);
    EXPECT_EQ(particle.colour.r, 1.0f);
    EXPECT_EQ(particle.colour.g, 1.0f);
    EXPECT_EQ(particle.colour.b, 1.0f);
    EXPECT_EQ(particle.colour.a, 1.0f);

    // Another system emits differently in the same millisecond.
    CTrailParticles other;
    Particle otherParticle{};
    other.Respawn(otherParticle);
    EXPECT_NE(std::memcmp(&particle.velocity, &otherParticle.velocity, sizeof(Vec3)), 0);
}

TEST_F(ParticleSystemTest, DeadParticlesComeBackAtTheEmitterAndWaitOneUpdate) {
    system_.emitter.Set(0.0f, 0.0f, 0.0f);
    system_.Reset();
    system_.emitter.Set(7.0f, -35.0f, 1.0f);
    for (int i = 0; i < 10; ++i) {
        system_.particles[i].alive = 0;
    }
    SetTickCount(5000);
    system_.rise = 0.0125f;
    system_.Update(0.5f);

    // One update, one millisecond: every re-emitted particle is the same.
    for (int i = 0; i < 10; ++i) {
        const Particle& particle = system_.particles[i];
        ASSERT_EQ(particle.alive, 1);
        ASSERT_EQ(particle.age, 0.0f) << "a re-emitted particle does not move this update";
        ASSERT_EQ(particle.position.x, 7.0f);
        ASSERT_EQ(particle.position.y, -35.0f);
        ASSERT_EQ(particle.position.z, 1.0f);
        ASSERT_EQ(std::memcmp(&particle, &system_.particles[0], sizeof particle), 0) << i;
    }
    // The next millisecond gives another particle.
    system_.particles[10].alive = 0;
    SetTickCount(5001);
    system_.Update(0.5f);
    EXPECT_NE(system_.particles[10].lifetime, system_.particles[0].lifetime);
}

TEST_F(ParticleSystemTest, UpdateMovesAgesAndShrinksInSinglePrecision) {
    KeepAlive(1);
    Particle& particle = system_.particles[0];
    particle = Particle{};
    particle.alive = 1;
    particle.lifetime = 100.0f;
    particle.size = 7.3f;
    particle.position.Set(0.3f, -35.0f, 1.1f);
    particle.velocity.Set(0.123f, -0.456f, 0.0789f);
    system_.rise = 0.0125f;

    float x = 0.3f, y = -35.0f, z = 1.1f, age = 0.0f, size = 7.3f;
    const float steps[] = {0.016f, 0.033f, 0.0f, 1.7f, 0.016f};
    for (const float dt : steps) {
        system_.Update(dt);
        const float dx = 0.123f * dt, dy = -0.456f * dt, dz = 0.0789f * dt;
        x = x + dx;
        y = y + dy;
        y = y + 0.0125f;
        z = z + dz;
        age = age + dt * 0.1f;
        size = size * 0.99865f;
        ASSERT_EQ(particle.position.x, x) << dt;
        ASSERT_EQ(particle.position.y, y) << dt;
        ASSERT_EQ(particle.position.z, z) << dt;
        ASSERT_EQ(particle.age, age) << dt;
        ASSERT_EQ(particle.size, size) << dt;
    }
    // A frame time of 0 moves the particle by the rise alone.
    const Vec3 before = particle.position;
    system_.Update(0.0f);
    EXPECT_EQ(particle.position.x, before.x);
    EXPECT_EQ(particle.position.y, before.y + 0.0125f);
    EXPECT_EQ(particle.position.z, before.z);
}

TEST_F(ParticleSystemTest, AParticleDiesInTheUpdateWhoseAgeReachesItsLifetime) {
    // Three updates of one second age a particle to 0.1 + 0.1 + 0.1.
    const float threeUpdates = (0.1f + 0.1f) + 0.1f;
    Particle& particle = system_.particles[0];
    particle.alive = 1;
    particle.lifetime = threeUpdates;
    Particle& stillborn = system_.particles[1];
    stillborn.alive = 1;
    stillborn.lifetime = 0.0f;
    system_.Update(1.0f);
    EXPECT_EQ(stillborn.alive, 0) << "a lifetime of 0 dies at the first update";
    system_.Update(1.0f);
    EXPECT_EQ(particle.alive, 1);
    system_.Update(1.0f);
    EXPECT_EQ(particle.age, threeUpdates);
    EXPECT_EQ(particle.alive, 0);
    system_.emitter.Set(3.0f, 2.0f, 1.0f);
    system_.Update(1.0f);
    EXPECT_EQ(particle.alive, 1);
    EXPECT_EQ(particle.position.x, 3.0f);
    EXPECT_EQ(particle.age, 0.0f);
}

TEST_F(ParticleSystemTest, RenderDrawsEveryLiveParticleInEveryPass) {
    system_.Reset();
    KeepAlive(0);
    system_.particles[4].alive = 1;
    system_.particles[4].size = 2.5f;
    system_.particles[4].position.Set(1.0f, 2.0f, 3.0f);
    system_.particles[4].colour = {0.75f, 0.5f, 0.25f, 1.0f};
    system_.particles[9].alive = 1;
    ClearCalls();
    EXPECT_EQ(system_.Render(), 0);

    const std::vector<std::string> draw = {"SetMatrix World",
                                           "SetFloat P_size",
                                           "SetVector K_diffuse",
                                           "BeginPass",
                                           "DrawPrimitive TRIANGLESTRIP",
                                           "EndPass"};
    std::vector<std::string> expected = {
        "AddRef",          "SetTexture g_BaseTexture",       "SetFVF",
        "SetStreamSource", "SetTechnique ParticleTechnique", "Begin"};
    expected.insert(expected.end(), draw.begin(), draw.end());
    expected.insert(expected.end(), draw.begin(), draw.end());
    expected.push_back("End");
    ASSERT_EQ(Words(Calls()), expected);

    const std::vector<d3d9::RecordedCall>& calls = Calls();
    EXPECT_EQ(calls[1].texture, "data\\textures\\flare.tga");
    EXPECT_EQ(calls[2].args, (std::vector<std::int64_t>{0x142}));
    EXPECT_EQ(calls[3].args, (std::vector<std::int64_t>{0, 1, 0, 24}));
    EXPECT_EQ(calls[5].args, (std::vector<std::int64_t>{1})) << "one pass";
    EXPECT_EQ(calls[6].values,
              (std::vector<float>{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 1, 2, 3, 1}));
    EXPECT_EQ(calls[7].values, (std::vector<float>{2.5f}));
    EXPECT_EQ(calls[8].values, (std::vector<float>{0.75f, 0.5f, 0.25f, 1.0f}));
    EXPECT_EQ(calls[9].args, (std::vector<std::int64_t>{0}));
    EXPECT_EQ(calls[10].args, (std::vector<std::int64_t>{0, 2}));
    for (const d3d9::RecordedCall& call : calls) {
        EXPECT_GE(call.result, 0) << call.call;
    }

    // With nothing alive the state is still set and the technique begun.
    // (Setting the texture again swaps the effect's reference to it.)
    KeepAlive(0);
    ClearCalls();
    system_.Render();
    EXPECT_EQ(Words(Calls()).at(1), "Release");
    EXPECT_EQ(Words({Calls().begin() + 2, Calls().end()}),
              (std::vector<std::string>{"SetTexture g_BaseTexture", "SetFVF", "SetStreamSource",
                                        "SetTechnique ParticleTechnique", "Begin", "End"}));
}

TEST_F(ParticleSystemTest, ReleaseResourcesFreesWhatTheSystemOwns) {
    system_.ReleaseResources();
    EXPECT_EQ(system_.effect, nullptr);
    EXPECT_EQ(system_.vertexBuffer, nullptr);
    EXPECT_EQ(system_.particles, nullptr);
    EXPECT_EQ(system_.texture, nullptr);
    // The flare is the scene's: only the scene's own reference is left.
    EXPECT_EQ(g_flareTexture->AddRef(), 2u);
    g_flareTexture->Release();
    ClearCalls();
    system_.Update(0.1f);
    system_.Render();
    system_.Reset();
    EXPECT_TRUE(Calls().empty());
}

// Init's failures leave a system that nothing can update or draw.
class ParticleInitFailureTest : public ParticleTest {
protected:
    void ExpectNothingLeft(CTrailParticles& system) {
        EXPECT_EQ(system.effect, nullptr);
        EXPECT_EQ(system.vertexBuffer, nullptr);
        EXPECT_EQ(system.particles, nullptr);
        EXPECT_FALSE(system.Ready());
        ClearCalls();
        EXPECT_EQ(system.Reset(), 0);
        EXPECT_EQ(system.Update(0.5f), 0);
        EXPECT_EQ(system.Render(), 0);
        EXPECT_TRUE(Calls().empty());
    }
    // The quad was made and then released again.
    void ExpectQuadReleased() {
        const std::vector<d3d9::RecordedCall> releases = CallsNamed("Release");
        ASSERT_FALSE(releases.empty());
        EXPECT_EQ(releases[0].name, "VertexBuffer");
        EXPECT_EQ(releases[0].args.back(), 0);
    }
};

TEST_F(ParticleInitFailureTest, AMissingEffectFileFailsWithABox) {
    ScopedFolder folder;
    CTrailParticles system;
    EXPECT_EQ(system.Init(device_), E_FAIL);
    ASSERT_EQ(g_boxes.size(), 1u);
    EXPECT_EQ(g_boxes[0].caption, L"Fx Compile Error");
    EXPECT_EQ(g_boxes[0].text, L"Effect file data\\shaders\\p.fx could not be read");
    EXPECT_EQ(g_boxes[0].type, static_cast<UINT>(MB_OK | MB_ICONWARNING));
    ExpectQuadReleased();
    ExpectNothingLeft(system);
}

TEST_F(ParticleInitFailureTest, ABrokenEffectFileShowsTheCompilerText) {
    ScopedFolder folder;
    folder.WriteEffect(
        "uniform float P_size;\n"
        "technique ParticleTechnique {\n"
        "    pass P0 { Sparkle = true; }\n"
        "}\n");
    CTrailParticles system;
    EXPECT_EQ(system.Init(device_), E_FAIL);
    ASSERT_EQ(g_boxes.size(), 1u);
    EXPECT_EQ(g_boxes[0].caption, L"Fx Compile Error");
    EXPECT_EQ(g_boxes[0].text.rfind(L"data\\shaders\\p.fx(3): ", 0), 0u)
        << std::string(g_boxes[0].text.begin(), g_boxes[0].text.end());
    EXPECT_EQ(g_boxes[0].type, static_cast<UINT>(MB_OK | MB_ICONWARNING));
    ExpectQuadReleased();
    ExpectNothingLeft(system);
}

TEST_F(ParticleInitFailureTest, WithoutADeviceThereIsNoQuadAndNoBox) {
    CTrailParticles system;
    EXPECT_EQ(system.Init(nullptr), E_FAIL);
    EXPECT_TRUE(g_boxes.empty());
    ExpectNothingLeft(system);
}

}  // namespace
}  // namespace particletest
