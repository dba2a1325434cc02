// Painting primitives over masks: anti-aliased discs, ellipses, tapered
// strokes, polygons and curves, max-combined into the mask, and blurs for
// glows and fog. Coordinates are in pixels, y down.
#pragma once

#include <vector>

#include "tools/datakit/Image.h"

namespace datakit {

struct Point {
    double x = 0.0, y = 0.0;
};

void FillDisc(Mask& mask, double cx, double cy, double radius, double value = 1.0,
              double softness = 1.0);
void FillEllipse(Mask& mask, double cx, double cy, double rx, double ry, double value = 1.0);
// A capsule from a to b whose radius goes from ra to rb.
void Stroke(Mask& mask, Point a, Point b, double ra, double rb, double value = 1.0);
// A polyline stroked with radii interpolated along its length.
void StrokePath(Mask& mask, const std::vector<Point>& path, double r0, double r1,
                double value = 1.0);
// Even-odd polygon fill, 4x4 supersampled.
void FillPolygon(Mask& mask, const std::vector<Point>& polygon, double value = 1.0);
void FillRect(Mask& mask, double x0, double y0, double x1, double y1, double value = 1.0);
// Three box passes, close to a Gaussian of about that radius.
void Blur(Mask& mask, int radius);
// A quadratic Bezier curve sampled into a polyline.
std::vector<Point> Bezier(Point a, Point control, Point b, int steps);

}  // namespace datakit
