// The rows of the show's schedule, each a fixed recipe over the Show clock
// and the music values in g_show. A row sets exactly the parameters its
// recipe lists; every other parameter keeps what an earlier row, in this
// frame or an earlier one, gave it.
#pragma once

// Picture rows (vsm effect, technique "RenderTunnel").
void DrawDeathIsWaiting();   // row 1
void DrawWaitingForDeath();  // row 3
void DrawNny();              // row 6
void DrawVic();              // row 7
void DrawNothing();          // row 8
void DrawN();                // row 9: drifting, then a spinning copy
void DrawDreamWithMe();      // row 10
void DrawFlourish();         // row 11: orbiting
// The tunnel, two passes (row 2).
void DrawTunnel();
// Models on the offset-mapping effect (rows 4 and 5); skipped without it.
void DrawModelW();
void DrawModelQ();
// The particle systems (rows 12 to 14).
void DrawBothParticleSystems();
void ResetSecondParticleSystem();
void DrawSecondParticleSystemOrbit();
// The scratch mask over everything (row 15, technique "RenderMask").
void DrawScratchMask();
