// The particle rows: both systems, the second system's reset and its wide
// orbit. Each system has its own effect, so each has its own "fA".
#include "effects/ParticleScene.h"
#include "show/ShowRows.h"
#include "show/ShowState.h"

#include <cmath>

namespace {

// A system whose Init failed has no effect to fade.
void SetFade(CParticleSystem* system, float fade) {
    if (system != nullptr && system->effect != nullptr) {
        system->effect->SetFloat("fA", fade);
    }
}

// In over ten seconds from 24, out from 100.
float FirstSystemFade(float t) {
    if (t > 24.0f && t < 34.0f) {
        return std::sin(0.1f * (t - 24.0f));
    }
    if (t >= 100.0f) {
        return 1.0f - std::sin(0.2f * (t - 100.0f));
    }
    return 1.0f;
}

// In over ten seconds from 107, out from 163.
float SecondSystemOrbitFade(float t) {
    if (t > 107.0f && t < 117.0f) {
        return std::sin(0.1f * (t - 107.0f));
    }
    if (t >= 163.0f) {
        return 1.0f - std::sin(0.2f * (t - 163.0f));
    }
    return 1.0f;
}

}  // namespace

// The second emitter swings from side to side 35 units below the origin.
void DrawBothParticleSystems() {
    const float t = g_show.showClock;
    SetFade(g_firstParticleSystem, FirstSystemFade(t));
    DrawFirstParticleSystem();
    if (g_secondParticleSystem != nullptr) {
        g_secondParticleSystem->emitter.Set(10.0f * std::sin(0.25f * t), -35.0f, 0.0f);
    }
    DrawSecondParticleSystem();
}

// Runs every frame of its second, after row 12 has moved the emitter.
void ResetSecondParticleSystem() {
    if (g_secondParticleSystem != nullptr) {
        g_secondParticleSystem->Reset();
    }
}

// An ellipse 120 wide and 130 high around (10, 0, 0), one turn every 8 pi
// seconds from its right-most point; the particles now sink.
void DrawSecondParticleSystemOrbit() {
    const float t = g_show.showClock;
    SetFade(g_secondParticleSystem, SecondSystemOrbitFade(t));
    if (g_secondParticleSystem != nullptr) {
        const float a = 0.25f * (t - 107.0f);
        g_secondParticleSystem->emitter.Set(60.0f * std::cos(a) + 10.0f, 65.0f * std::sin(a), 0.0f);
        g_secondParticleSystem->rise = -0.025f;
    }
    DrawSecondParticleSystem();
}
