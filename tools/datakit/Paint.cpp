// Coverage by signed distance with a one-pixel ramp; max-combined.
#include "tools/datakit/Paint.h"

#include <algorithm>
#include <cmath>

#include "tools/datakit/DetMath.h"

namespace datakit {
namespace {

void Put(Mask& mask, int x, int y, double coverage) {
    if (coverage <= 0.0) {
        return;
    }
    float& m = mask.At(x, y);
    m = std::max(m, static_cast<float>(coverage));
}

double Distance(Point a, Point b) {
    return std::sqrt((b.x - a.x) * (b.x - a.x) + (b.y - a.y) * (b.y - a.y));
}

struct Bounds {
    int x0, y0, x1, y1;
};

Bounds Clip(const Mask& mask, double x0, double y0, double x1, double y1) {
    Bounds b{static_cast<int>(std::floor(x0)) - 1, static_cast<int>(std::floor(y0)) - 1,
             static_cast<int>(std::ceil(x1)) + 1, static_cast<int>(std::ceil(y1)) + 1};
    b.x0 = std::max(b.x0, 0);
    b.y0 = std::max(b.y0, 0);
    b.x1 = std::min(b.x1, mask.Width() - 1);
    b.y1 = std::min(b.y1, mask.Height() - 1);
    return b;
}

void BoxPass(std::vector<float>& line, std::vector<float>& tmp, int radius) {
    const int n = static_cast<int>(line.size());
    double sum = 0.0;
    for (int i = -radius; i <= radius; ++i) {
        sum += line[std::clamp(i, 0, n - 1)];
    }
    const double inv = 1.0 / (2 * radius + 1);
    for (int i = 0; i < n; ++i) {
        tmp[i] = static_cast<float>(sum * inv);
        sum += line[std::clamp(i + radius + 1, 0, n - 1)] - line[std::clamp(i - radius, 0, n - 1)];
    }
    line.swap(tmp);
}

}  // namespace

void FillDisc(Mask& mask, double cx, double cy, double radius, double value, double softness) {
    Bounds b = Clip(mask, cx - radius - softness, cy - radius - softness, cx + radius + softness,
                    cy + radius + softness);
    for (int y = b.y0; y <= b.y1; ++y) {
        for (int x = b.x0; x <= b.x1; ++x) {
            double d = std::sqrt((x + 0.5 - cx) * (x + 0.5 - cx) + (y + 0.5 - cy) * (y + 0.5 - cy));
            Put(mask, x, y, value * Saturate((radius - d) / softness + 0.5));
        }
    }
}

void FillEllipse(Mask& mask, double cx, double cy, double rx, double ry, double value) {
    Bounds b = Clip(mask, cx - rx, cy - ry, cx + rx, cy + ry);
    double r = std::min(rx, ry);
    for (int y = b.y0; y <= b.y1; ++y) {
        for (int x = b.x0; x <= b.x1; ++x) {
            double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
            double d = (std::sqrt(dx * dx + dy * dy) - 1.0) * r;
            Put(mask, x, y, value * Saturate(0.5 - d));
        }
    }
}

void Stroke(Mask& mask, Point a, Point b, double ra, double rb, double value) {
    double rmax = std::max(ra, rb);
    Bounds bb = Clip(mask, std::min(a.x, b.x) - rmax, std::min(a.y, b.y) - rmax,
                     std::max(a.x, b.x) + rmax, std::max(a.y, b.y) + rmax);
    double bax = b.x - a.x, bay = b.y - a.y;
    double len2 = bax * bax + bay * bay;
    for (int y = bb.y0; y <= bb.y1; ++y) {
        for (int x = bb.x0; x <= bb.x1; ++x) {
            double pax = x + 0.5 - a.x, pay = y + 0.5 - a.y;
            double h = len2 > 0.0 ? Saturate((pax * bax + pay * bay) / len2) : 0.0;
            double dx = pax - bax * h, dy = pay - bay * h;
            double d = std::sqrt(dx * dx + dy * dy) - Lerp(ra, rb, h);
            Put(mask, x, y, value * Saturate(0.5 - d));
        }
    }
}

void StrokePath(Mask& mask, const std::vector<Point>& path, double r0, double r1, double value) {
    if (path.size() < 2) {
        return;
    }
    double total = 0.0;
    for (size_t i = 1; i < path.size(); ++i) {
        total += Distance(path[i - 1], path[i]);
    }
    double run = 0.0;
    for (size_t i = 1; i < path.size(); ++i) {
        double len = Distance(path[i - 1], path[i]);
        double ra = Lerp(r0, r1, total > 0.0 ? run / total : 0.0);
        run += len;
        double rb = Lerp(r0, r1, total > 0.0 ? run / total : 1.0);
        Stroke(mask, path[i - 1], path[i], ra, rb, value);
    }
}

void FillPolygon(Mask& mask, const std::vector<Point>& polygon, double value) {
    if (polygon.size() < 3) {
        return;
    }
    double x0 = polygon[0].x, x1 = x0, y0 = polygon[0].y, y1 = y0;
    for (const Point& p : polygon) {
        x0 = std::min(x0, p.x);
        x1 = std::max(x1, p.x);
        y0 = std::min(y0, p.y);
        y1 = std::max(y1, p.y);
    }
    Bounds b = Clip(mask, x0, y0, x1, y1);
    const size_t n = polygon.size();
    for (int y = b.y0; y <= b.y1; ++y) {
        for (int x = b.x0; x <= b.x1; ++x) {
            int inside = 0;
            for (int sy = 0; sy < 4; ++sy) {
                for (int sx = 0; sx < 4; ++sx) {
                    double px = x + (sx + 0.5) / 4.0, py = y + (sy + 0.5) / 4.0;
                    bool in = false;
                    for (size_t i = 0, j = n - 1; i < n; j = i++) {
                        const Point& pi = polygon[i];
                        const Point& pj = polygon[j];
                        if ((pi.y > py) != (pj.y > py) &&
                            px < (pj.x - pi.x) * (py - pi.y) / (pj.y - pi.y) + pi.x) {
                            in = !in;
                        }
                    }
                    inside += in ? 1 : 0;
                }
            }
            Put(mask, x, y, value * inside / 16.0);
        }
    }
}

void FillRect(Mask& mask, double x0, double y0, double x1, double y1, double value) {
    FillPolygon(mask, {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}, value);
}

void Blur(Mask& mask, int radius) {
    if (radius <= 0) {
        return;
    }
    const int w = mask.Width(), h = mask.Height();
    std::vector<float> line, tmp;
    line.resize(w);
    tmp.resize(w);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            line[x] = mask.At(x, y);
        }
        for (int pass = 0; pass < 3; ++pass) {
            tmp.resize(w);
            BoxPass(line, tmp, radius);
        }
        for (int x = 0; x < w; ++x) {
            mask.At(x, y) = line[x];
        }
    }
    line.assign(h, 0.0f);
    tmp.assign(h, 0.0f);
    for (int x = 0; x < w; ++x) {
        for (int y = 0; y < h; ++y) {
            line[y] = mask.At(x, y);
        }
        for (int pass = 0; pass < 3; ++pass) {
            tmp.resize(h);
            BoxPass(line, tmp, radius);
        }
        for (int y = 0; y < h; ++y) {
            mask.At(x, y) = line[y];
        }
    }
}

std::vector<Point> Bezier(Point a, Point control, Point b, int steps) {
    std::vector<Point> out;
    out.reserve(steps + 1);
    for (int i = 0; i <= steps; ++i) {
        double t = double(i) / steps, s = 1.0 - t;
        out.push_back({s * s * a.x + 2 * s * t * control.x + t * t * b.x,
                       s * s * a.y + 2 * s * t * control.y + t * t * b.y});
    }
    return out;
}

}  // namespace datakit
