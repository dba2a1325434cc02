// The sculptures as the loader will build them: indices in range, outward
// normals, faces that are front-facing after the loader's y/z exchange,
// materials with their three maps, a helper that parents meshes, a light.
#include <gtest/gtest.h>

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

// Extent of the model in the loader's frame, helpers' offsets included.
void Extent(const Model& model, Vec& lo, Vec& hi) {
    lo = {1e9, 1e9, 1e9};
    hi = {-1e9, -1e9, -1e9};
    for (const auto& mesh : model.meshes) {
        Vec offset = mesh.translation;
        for (const auto& h : model.helpers) {
            if (h.name == mesh.parent) {
                offset = offset + h.translation;
            }
        }
        for (const auto& v : mesh.vertices) {
            Vec p = Loaded(v.position + offset);
            lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
            hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
        }
    }
}

TEST(DatakitModels, AreSoundScenes) {
    ExpectSoundModel(datakit::BuildModelW());
    ExpectSoundModel(datakit::BuildModelQ());
}

TEST(DatakitModels, StandUprightAroundTheirOrigin) {
    for (const Model& model : {datakit::BuildModelW(), datakit::BuildModelQ()}) {
        SCOPED_TRACE(model.title);
        Vec lo, hi;
        Extent(model, lo, hi);
        // Taller than wide, a few hundred units, centred near the origin.
        EXPECT_GT(hi.y - lo.y, 350.0);
        EXPECT_LT(hi.y - lo.y, 700.0);
        EXPECT_GT(hi.y - lo.y, hi.x - lo.x);
        EXPECT_LT(std::fabs(hi.y + lo.y) / 2.0, 60.0);
        EXPECT_LT(std::fabs(hi.x + lo.x) / 2.0, 20.0);
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
