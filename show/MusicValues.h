// The three music values: leaky sums over bands of the spectrum.
#pragma once

// Adds this frame's spectrum (at least 68 bins) to the show's music values.
// Each sum starts with the previous value and adds its bins in ascending
// order in 32-bit floats, so a constant band of m settles at 8m/7 (bass),
// 24m/23 (pitch) and 16m/7 (upper band), and silence decays each value by
// its factor every frame.
void UpdateMusicValues(const float* spectrum);
