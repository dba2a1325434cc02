// The particle rows: both systems, the second system's reset and its wide
// orbit.
#include "show/ShowRows.h"

// The particle scene joins here: these rows steer its two systems.
void DrawBothParticleSystems() {}
void ResetSecondParticleSystem() {}
void DrawSecondParticleSystemOrbit() {}
