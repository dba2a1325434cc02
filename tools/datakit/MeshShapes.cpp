// Parametric grids: positions from the surface function, faces anticlock-
// wise seen from outside, normals averaged over faces and shared positions.
#include "tools/datakit/MeshShapes.h"

#include <cmath>
#include <map>
#include <tuple>
#include <vector>

#include "tools/datakit/DetMath.h"

namespace datakit {

void AddSurface(Mesh& mesh, const SurfaceFunction& f, const GridOptions& options) {
    const int ns = options.segmentsS, nt = options.segmentsT;
    const int base = static_cast<int>(mesh.vertices.size());
    auto index = [&](int i, int j) { return base + j * (ns + 1) + i; };
    for (int j = 0; j <= nt; ++j) {
        for (int i = 0; i <= ns; ++i) {
            double s = double(i) / ns, t = double(j) / nt;
            mesh.vertices.push_back({f(s, t), {}, s * options.uRepeat, t * options.vRepeat});
        }
    }
    std::vector<Vec> sums((ns + 1) * (nt + 1));
    auto addFace = [&](int a, int b, int c) {
        Vec pa = mesh.vertices[a].position, pb = mesh.vertices[b].position,
            pc = mesh.vertices[c].position;
        Vec n = Cross(pb - pa, pc - pa);
        if (Dot(n, n) < 1e-14) {
            return;  // collapsed at a pole
        }
        mesh.faces.push_back({a, b, c});
        for (int v : {a, b, c}) {
            sums[v - base] = sums[v - base] + n;
        }
    };
    for (int j = 0; j < nt; ++j) {
        for (int i = 0; i < ns; ++i) {
            addFace(index(i, j), index(i + 1, j), index(i + 1, j + 1));
            addFace(index(i, j), index(i + 1, j + 1), index(i, j + 1));
        }
    }
    // Vertices at one position (seams, poles) share one normal.
    std::map<std::tuple<long long, long long, long long>, Vec> shared;
    auto key = [](Vec p) {
        return std::make_tuple(static_cast<long long>(std::floor(p.x * 1e4 + 0.5)),
                               static_cast<long long>(std::floor(p.y * 1e4 + 0.5)),
                               static_cast<long long>(std::floor(p.z * 1e4 + 0.5)));
    };
    for (size_t k = 0; k < sums.size(); ++k) {
        Vec& s = shared[key(mesh.vertices[base + k].position)];
        s = s + sums[k];
    }
    for (size_t k = 0; k < sums.size(); ++k) {
        MeshVertex& v = mesh.vertices[base + k];
        v.normal = Normalized(shared[key(v.position)]);
    }
}

SurfaceFunction Lathe(std::function<Vec(double t)> profile, std::function<double(double)> radial) {
    return [profile, radial](double s, double t) {
        double angle = kTwoPi * s;
        Vec rz = profile(t);
        double r = rz.x * radial(angle);
        return Vec{r * Cos(angle), r * Sin(angle), rz.z};
    };
}

std::function<Vec(double t)> Profile(std::vector<std::pair<double, double>> points) {
    std::vector<double> run{0.0};
    for (size_t i = 1; i < points.size(); ++i) {
        double dr = points[i].first - points[i - 1].first;
        double dz = points[i].second - points[i - 1].second;
        run.push_back(run.back() + std::sqrt(dr * dr + dz * dz));
    }
    return [points, run](double t) {
        double at = t * run.back();
        size_t i = 1;
        while (i + 1 < run.size() && run[i] < at) {
            ++i;
        }
        double span = run[i] - run[i - 1];
        double f = span > 0.0 ? (at - run[i - 1]) / span : 0.0;
        return Vec{Lerp(points[i - 1].first, points[i].first, f), 0.0,
                   Lerp(points[i - 1].second, points[i].second, f)};
    };
}

double SquareSection(double angle, double n) {
    double c = std::fabs(Cos(angle)), s = std::fabs(Sin(angle));
    return Pow(Pow(c, n) + Pow(s, n), -1.0 / n);
}

SurfaceFunction Tube(std::function<Vec(double)> curve, std::function<double(double, double)> radius,
                     int samples) {
    // Tangents and a parallel-transported normal; the angle left over after
    // one lap is spread along the curve so the tube closes without a seam.
    std::vector<Vec> points(samples + 1), tangents(samples + 1), normals(samples + 1);
    for (int k = 0; k <= samples; ++k) {
        double a = double(k) / samples;
        points[k] = curve(a);
        double e = 0.5 / samples;
        tangents[k] = Normalized(curve(a + e) - curve(a - e));
    }
    Vec n0 = Normalized(Cross(tangents[0], Vec{0.0, 0.0, 1.0}));
    normals[0] = n0;
    for (int k = 1; k <= samples; ++k) {
        Vec n = normals[k - 1];
        n = Normalized(n - tangents[k] * Dot(n, tangents[k]));
        normals[k] = n;
    }
    Vec b0 = Cross(tangents[0], n0);
    double drift = Atan2(Dot(normals[samples], b0), Dot(normals[samples], n0));
    for (int k = 0; k <= samples; ++k) {
        double turn = -drift * k / samples;
        Vec b = Cross(tangents[k], normals[k]);
        normals[k] = normals[k] * Cos(turn) + b * Sin(turn);
    }
    return [=](double s, double t) {
        int k = static_cast<int>(std::floor(t * samples + 0.5));
        if (k >= samples) {
            k = 0;  // the last ring lies exactly on the first
        }
        Vec n = normals[k];
        Vec b = Cross(tangents[k], n);
        double phi = kTwoPi * s;
        double r = radius(double(k) / samples, s);
        return points[k] + n * (r * Cos(phi)) + b * (r * Sin(phi));
    };
}

}  // namespace datakit
