// The sculptures as the loader will build them: indices in range, outward
// normals, faces that are front-facing after the loader's y/z exchange,
// materials with their three maps, a helper that parents meshes, a light.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <sstream>

#include "tools/datakit/MeshWriter.h"
#include "tools/datakit/Models.h"

namespace {

using datakit::Cross;
using datakit::Dot;
using datakit::Model;
using datakit::Vec;

// The loader's frame: y and z exchanged.
Vec Loaded(Vec v) {
    return {v.x, v.z, v.y};
}

void ExpectSoundModel(const Model& model) {
    SCOPED_TRACE(model.title);
    ASSERT_GE(model.materials.size(), 2u);
    std::set<std::string> materialNames;
    for (const auto& m : model.materials) {
        materialNames.insert(m.name);
        for (const std::string& t : m.textures) {
            EXPECT_FALSE(t.empty()) << m.name;
        }
    }
    std::set<std::string> helperNames;
    for (const auto& h : model.helpers) {
        helperNames.insert(h.name);
    }
    bool helperParents = false;
    size_t total = 0;
    for (const auto& mesh : model.meshes) {
        SCOPED_TRACE(mesh.name);
        EXPECT_EQ(materialNames.count(mesh.material), 1u);
        helperParents = helperParents || helperNames.count(mesh.parent) == 1;
        total += mesh.vertices.size();
        for (const auto& v : mesh.vertices) {
            EXPECT_NEAR(Dot(v.normal, v.normal), 1.0, 1e-6);
        }
        // Front faces after the exchange are the clockwise ones: their
        // cross product (in written order a, c, b) points along the normals.
        size_t agree = 0;
        for (const auto& f : mesh.faces) {
            for (int i : f) {
                ASSERT_GE(i, 0);
                ASSERT_LT(i, static_cast<int>(mesh.vertices.size()));
            }
            Vec a = Loaded(mesh.vertices[f[0]].position), b = Loaded(mesh.vertices[f[2]].position),
                c = Loaded(mesh.vertices[f[1]].position);
            Vec n = Loaded(mesh.vertices[f[0]].normal + mesh.vertices[f[1]].normal +
                           mesh.vertices[f[2]].normal);
            agree += Dot(Cross(b - a, c - a), n) > 0.0 ? 1 : 0;
        }
        EXPECT_GT(agree, mesh.faces.size() * 99 / 100);
    }
    EXPECT_TRUE(helperParents);
    EXPECT_GE(model.lights.size(), 1u);
    EXPECT_GT(total, 2000u);
    EXPECT_LT(total, 65536u);
}

// Row-vector 4x4 matrices, as the show builds its transforms.
struct Matrix {
    double m[4][4] = {};
};

Matrix Multiply(const Matrix& a, const Matrix& b) {
    Matrix r;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            for (int k = 0; k < 4; ++k) {
                r.m[i][j] += a.m[i][k] * b.m[k][j];
            }
        }
    }
    return r;
}

Matrix Diagonal(double x, double y, double z) {
    Matrix r;
    r.m[0][0] = x;
    r.m[1][1] = y;
    r.m[2][2] = z;
    r.m[3][3] = 1.0;
    return r;
}

Matrix Translation(double x, double y, double z) {
    Matrix r = Diagonal(1.0, 1.0, 1.0);
    r.m[3][0] = x;
    r.m[3][1] = y;
    r.m[3][2] = z;
    return r;
}

Matrix RotationY(double a) {
    Matrix r = Diagonal(std::cos(a), 1.0, std::cos(a));
    r.m[0][2] = -std::sin(a);
    r.m[2][0] = std::sin(a);
    return r;
}

Vec Unit(Vec v) {
    return v * (1.0 / std::sqrt(Dot(v, v)));
}

// The show's model camera: eye (-0.6, -4, 10) looking at the origin (left-
// handed look-at), 45 degrees vertical field, 4:3, near 1, far 4000.
Matrix ModelCamera() {
    Vec eye{-0.6, -4.0, 10.0};
    Vec z = Unit(Vec{} - eye), x = Unit(Cross({0.0, 1.0, 0.0}, z)), y = Cross(z, x);
    Matrix view = Diagonal(1.0, 1.0, 1.0);
    for (int i = 0; i < 3; ++i) {
        double axis[3][3] = {{x.x, x.y, x.z}, {y.x, y.y, y.z}, {z.x, z.y, z.z}};
        for (int c = 0; c < 3; ++c) {
            view.m[c][i] = axis[i][c];
        }
    }
    view.m[3][0] = -Dot(x, eye);
    view.m[3][1] = -Dot(y, eye);
    view.m[3][2] = -Dot(z, eye);
    double ys = 1.0 / std::tan(M_PI / 8.0);
    Matrix proj;
    proj.m[0][0] = ys / (4.0 / 3.0);
    proj.m[1][1] = ys;
    proj.m[2][2] = 4000.0 / 3999.0;
    proj.m[2][3] = 1.0;
    proj.m[3][2] = -4000.0 / 3999.0;
    return Multiply(view, proj);
}

struct Framing {
    double inside = 0.0;              // share of vertices in the view
    double top = -1e9, bottom = 1e9;  // extent in normalised screen height
};

// Where the model's vertices land on screen under a world matrix.
Framing Frame(const Model& model, const Matrix& world) {
    Matrix wvp = Multiply(world, ModelCamera());
    Framing f;
    size_t in = 0, all = 0;
    for (const auto& mesh : model.meshes) {
        Vec offset = mesh.translation;
        for (const auto& h : model.helpers) {
            offset = h.name == mesh.parent ? offset + h.translation : offset;
        }
        for (const auto& v : mesh.vertices) {
            Vec p = Loaded(v.position + offset);
            double in4[4] = {p.x, p.y, p.z, 1.0}, out[4] = {};
            for (int j = 0; j < 4; ++j) {
                for (int k = 0; k < 4; ++k) {
                    out[j] += in4[k] * wvp.m[k][j];
                }
            }
            double x = out[0] / out[3], y = out[1] / out[3];
            in += (std::fabs(x) <= 1.0 && std::fabs(y) <= 1.0) ? 1 : 0;
            ++all;
            f.top = std::max(f.top, y);
            f.bottom = std::min(f.bottom, y);
        }
    }
    f.inside = double(in) / all;
    return f;
}

TEST(DatakitModels, AreSoundScenes) {
    ExpectSoundModel(datakit::BuildModelW());
    ExpectSoundModel(datakit::BuildModelQ());
}

TEST(DatakitModels, FillTheirScenesInTheShowsView) {
    // W: turning at 0.05 rad/s, narrowed, 1200 units away; foot to crown
    // in the frame, filling most of its height.
    Model w = datakit::BuildModelW();
    for (double t : {29.0, 55.0, 80.0}) {
        Matrix world = Multiply(Multiply(RotationY(0.05 * t), Diagonal(0.55, 1.0, 0.55)),
                                Translation(200.0, -100.0, -1200.0));
        Framing f = Frame(w, world);
        EXPECT_EQ(f.inside, 1.0) << t;
        EXPECT_GT(f.top - f.bottom, 1.2) << t;
    }
    // Q: turning at 0.081 rad/s, stretched, 900 units away, pushed left by
    // the upper band value; wholly in view.
    Model q = datakit::BuildModelQ();
    for (double t : {97.0, 126.0, 155.0}) {
        for (double u : {0.0, 1.5}) {
            Matrix world = Multiply(Multiply(RotationY(0.081 * t), Diagonal(0.75, 1.2, 1.2)),
                                    Translation(-20.0 * u, -5.0, -900.0));
            Framing f = Frame(q, world);
            EXPECT_EQ(f.inside, 1.0) << t;
            EXPECT_GT(f.top - f.bottom, 1.0) << t;
        }
    }
}

TEST(DatakitModels, TextHasExactlyTheBlocksTheReaderExpects) {
    Model model = datakit::BuildModelQ();
    std::istringstream text(datakit::MotionModelText(model));
    std::string line;
    int meshes = 0, materials = 0, helpers = 0, lights = 0, closes = 0, lineNo = 0;
    while (std::getline(text, line)) {
        ++lineNo;
        meshes += line == "Mesh{";
        materials += line == "Material{";
        helpers += line == "Helper{";
        lights += line == "Light{";
        closes += line == "}";
        if (lineNo > 6 && line != "}" && line.find('{') == std::string::npos) {
            EXPECT_EQ(line[0], '\t') << "line " << lineNo;
        }
    }
    EXPECT_EQ(meshes, static_cast<int>(model.meshes.size()));
    EXPECT_EQ(materials, static_cast<int>(model.materials.size()));
    EXPECT_EQ(helpers, static_cast<int>(model.helpers.size()));
    EXPECT_EQ(lights, static_cast<int>(model.lights.size()));
    EXPECT_EQ(closes, meshes + materials + helpers + lights);
}

}  // namespace
