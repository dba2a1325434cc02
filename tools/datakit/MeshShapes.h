// Builders for the sculptures' parts: parametric grids (lathes, tori,
// tubes along curves) with smooth normals and tiling texture coordinates.
#pragma once

#include <functional>
#include <utility>
#include <vector>

#include "tools/datakit/Mesh.h"

namespace datakit {

// f(s, t) for s, t in [0, 1]; s runs around (texture u), t along (texture
// v). The surface's outside is the side that f_s x f_t points to.
using SurfaceFunction = std::function<Vec(double s, double t)>;

struct GridOptions {
    int segmentsS = 32;
    int segmentsT = 16;
    double uRepeat = 1.0;  // texture repeats across s
    double vRepeat = 1.0;  // texture repeats along t
};

// Appends the grid's vertices and faces to the mesh. Normals are averaged
// over the faces around each vertex, and over vertices that share a
// position (seams, poles), so closed surfaces shade without creases.
void AddSurface(Mesh& mesh, const SurfaceFunction& f, const GridOptions& options);

// A solid of revolution about z: profile(t) gives (radius, z) from the
// bottom pole (radius 0) to the top pole; radial(angle) scales the radius,
// e.g. to square the section.
SurfaceFunction Lathe(std::function<Vec(double t)> profile, std::function<double(double)> radial);

// A tube of radius(along, around) around a closed curve(along), along in
// [0, 1]; the frame is carried along the curve without twisting.
SurfaceFunction Tube(std::function<Vec(double)> curve, std::function<double(double, double)> radius,
                     int samples);

// A lathe profile through (radius, z) points, t spread evenly over the
// polyline's length.
std::function<Vec(double t)> Profile(std::vector<std::pair<double, double>> points);

// A radius function that squares a circle: superellipse of exponent n.
double SquareSection(double angle, double n);

}  // namespace datakit
