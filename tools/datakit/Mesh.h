// The in-memory form of a Motion Model scene, in the file's frame: right-
// handed, z up. Meshes keep outward normals and faces wound anticlockwise
// seen from outside; the writer turns them for the loader.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "tools/datakit/Image.h"

namespace datakit {

struct Vec {
    double x = 0.0, y = 0.0, z = 0.0;
};

inline Vec operator+(Vec a, Vec b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Vec operator-(Vec a, Vec b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Vec operator*(Vec a, double s) {
    return {a.x * s, a.y * s, a.z * s};
}
inline double Dot(Vec a, Vec b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline Vec Cross(Vec a, Vec b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
Vec Normalized(Vec v);

struct MeshVertex {
    Vec position;
    Vec normal;
    double u = 0.0, v = 0.0;
};

struct Mesh {
    std::string name;
    std::string parent;  // a helper or another mesh; empty for none
    std::string material;
    Vec translation;  // the mesh's transform is a pure translation
    std::vector<MeshVertex> vertices;
    std::vector<std::array<int, 3>> faces;
};

struct Material {
    std::string name;
    Color ambient, diffuse, specular;
    double glossiness = 0.3;
    double specularLevel = 0.5;
    // Diffuse, bump (height) and gloss maps: file names under textures/.
    std::array<std::string, 3> textures;
};

struct Helper {
    std::string name;
    Vec translation;
};

struct Light {
    std::string name;
    Vec position;
    Vec direction;
    Color color;
    double intensity = 1.0;
};

struct Model {
    std::string title;
    std::vector<Material> materials;
    std::vector<Helper> helpers;
    std::vector<Mesh> meshes;
    std::vector<Light> lights;
};

size_t VertexCount(const Model& model);

}  // namespace datakit
