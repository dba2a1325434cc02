// Motion Model ASCII: header, then Material, Helper, Mesh and Light blocks
// with exactly the lines the reader consumes, tab-indented, no blank lines
// between blocks (a blank line there would swallow the next block).
//
// The loader exchanges y and z, a mirror, so a face that is anticlockwise
// seen from outside in the file is clockwise on the loader's side, where
// the front faces are the clockwise ones (Direct3D's default culling).
// Our meshes are anticlockwise from outside, so faces are written as
// (a, c, b).
#include "tools/datakit/MeshWriter.h"

#include <cstdarg>
#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace datakit {
namespace {

void Line(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));

void Line(std::string& out, const char* format, ...) {
    char buffer[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    out += buffer;
    out += '\n';
}

void Transform(std::string& out, Vec t) {
    Line(out, "\t1.000000 0.000000 0.000000");
    Line(out, "\t0.000000 1.000000 0.000000");
    Line(out, "\t0.000000 0.000000 1.000000");
    Line(out, "\t%.6f %.6f %.6f", t.x, t.y, t.z);
}

void WriteMaterial(std::string& out, const Material& m) {
    Line(out, "Material{");
    Line(out, "\t\"%s\"", m.name.c_str());
    Line(out, "\tDoubleSided: 0");
    Line(out, "\tOpacity: 1.000000");
    Line(out, "\tGlossiness: %.6f", m.glossiness);
    Line(out, "\tSpecularLevel: %.6f", m.specularLevel);
    Line(out, "\tEmissive: 0.000000 0.000000 0.000000");
    Line(out, "\tAmbient: %.6f %.6f %.6f", m.ambient.r, m.ambient.g, m.ambient.b);
    Line(out, "\tDiffuse: %.6f %.6f %.6f", m.diffuse.r, m.diffuse.g, m.diffuse.b);
    Line(out, "\tSpecular: %.6f %.6f %.6f", m.specular.r, m.specular.g, m.specular.b);
    Line(out, "\tTextures: %zu", m.textures.size());
    const char* slots[] = {"DiffuseMap", "BumpMap", "GlossMap"};
    for (size_t i = 0; i < m.textures.size(); ++i) {
        Line(out, "\t\"%s\" \"%s\"", slots[i], m.textures[i].c_str());
    }
    Line(out, "}");
}

void WriteHelper(std::string& out, const Helper& h) {
    Line(out, "Helper{");
    Line(out, "\t\"%s\"", h.name.c_str());
    Line(out, "\t\"\"");
    Line(out, "\tTransform:");
    Transform(out, h.translation);
    Line(out, "}");
}

void WriteMesh(std::string& out, const Mesh& m) {
    Line(out, "Mesh{");
    Line(out, "\t\"%s\"", m.name.c_str());
    Line(out, "\t\"%s\"", m.parent.c_str());
    Line(out, "\tTransform:");
    Transform(out, m.translation);
    Line(out, "\t\"%s\"", m.material.c_str());
    Line(out, "\tNumTexChannels: 1");
    Line(out, "\tTriangles: %zu", m.faces.size());
    for (const auto& f : m.faces) {
        Line(out, "\t%d %d %d 0", f[0], f[2], f[1]);
    }
    Line(out, "\tVertices: %zu", m.vertices.size());
    for (size_t i = 0; i < m.vertices.size(); ++i) {
        const MeshVertex& v = m.vertices[i];
        Line(out, "\t%zu %.4f %.4f %.4f %.5f %.5f %.5f 1.000000 1.000000 1.000000 %.5f %.5f", i,
             v.position.x, v.position.y, v.position.z, v.normal.x, v.normal.y, v.normal.z, v.u,
             v.v);
    }
    Line(out, "}");
}

void WriteLight(std::string& out, const Light& l) {
    Line(out, "Light{");
    Line(out, "\t\"%s\"", l.name.c_str());
    Line(out, "\t\"\"");
    Line(out, "\tTransform:");
    Transform(out, l.position);
    Line(out, "\t\"Omni\"");
    Line(out, "\tColor: %.6f %.6f %.6f", l.color.r, l.color.g, l.color.b);
    Line(out, "\tDirection: %.6f %.6f %.6f", l.direction.x, l.direction.y, l.direction.z);
    Line(out, "\tIntensity: %.6f", l.intensity);
    Line(out, "\tSpotInnerAngle: 0.000000");
    Line(out, "\tSpotOuterAngle: 0.000000");
    Line(out, "\tShadows:");
    Line(out, "\t\"None\"");
    Line(out, "\tDecayRadius: 0.000000");
    Line(out, "\tShadowColor: 0.000000 0.000000 0.000000");
    Line(out, "\tShadowDensity: 0.000000");
    Line(out, "}");
}

}  // namespace

std::string MotionModelText(const Model& model) {
    std::string out;
    Line(out, "MotionModelASCII");
    Line(out, "# %s", model.title.c_str());
    Line(out, "\tVersion: 107");
    Line(out, "# z up; written by datakit");
    Line(out, "# meshes %zu, materials %zu, helpers %zu, lights %zu", model.meshes.size(),
         model.materials.size(), model.helpers.size(), model.lights.size());
    Line(out, "# vertices %zu", VertexCount(model));
    for (const Material& m : model.materials) {
        WriteMaterial(out, m);
    }
    for (const Helper& h : model.helpers) {
        WriteHelper(out, h);
    }
    for (const Mesh& m : model.meshes) {
        WriteMesh(out, m);
    }
    for (const Light& l : model.lights) {
        WriteLight(out, l);
    }
    return out;
}

void WriteMotionModel(const Model& model, const std::filesystem::path& path) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream file(path, std::ios::binary);
    file << MotionModelText(model);
    if (!file) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

}  // namespace datakit
