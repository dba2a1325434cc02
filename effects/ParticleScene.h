// The particle scene: the show's two particle systems, the flare texture
// they share, and the fixed camera they are drawn with.
#pragma once

#include "effects/TrailParticles.h"
#include "render/Matrix4.h"

#include <d3d9.h>
#include <d3dx9.h>

// "data\textures\flare.tga"; null when it could not be loaded (the systems
// then draw untextured).
extern IDirect3DTexture9* g_flareTexture;
// Made by SetupParticleScene; released and freed in teardown.
extern CTrailParticles* g_firstParticleSystem;
extern CTrailParticles* g_secondParticleSystem;

// Loads the flare and makes both systems, rising 0.0125 a frame and reset
// at the origin. Failures leave a system that is never updated or drawn.
void SetupParticleScene(IDirect3DDevice9* device);
// Swings the first emitter below the view with the Show clock, then updates
// the first system by the frame time and draws it.
void DrawFirstParticleSystem();
// Updates and draws the second system where the show has put its emitter.
void DrawSecondParticleSystem();
// Sets the particles' camera on a system's effect: the given world, the eye
// at z = 30 looking at the origin, a square 90-degree view.
void SetParticleCamera(ID3DXEffect& effect, const Matrix4& world);
// Teardown: both systems' resources (the pointers are cleared, the objects
// kept), then the flare texture.
void ReleaseParticleScene();
