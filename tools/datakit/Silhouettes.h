// Silhouettes shared by the pictures: bare trees and human figures, drawn
// into masks in pixel coordinates (y down; a figure stands on `feet`).
#pragma once

#include <cstdint>

#include "tools/datakit/Paint.h"

namespace datakit {

// A leafless tree: a trunk that forks into ever thinner, wandering branches.
void DrawBareTree(Mask& mask, Point root, double height, std::uint32_t seed, double lean = 0.0);
// A hooded, cloaked figure holding a scythe; returns where its lantern hangs.
Point DrawCloakedFigure(Mask& mask, Point feet, double height);
// A slender figure in a long dress, hair lifted by the wind.
void DrawDressedFigure(Mask& mask, Point feet, double height);
// A figure seated on a high-backed chair, facing right, head bowed.
void DrawSeatedFigure(Mask& mask, Point floor, double height);

}  // namespace datakit
