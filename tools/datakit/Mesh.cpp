// Small helpers over the scene records.
#include "tools/datakit/Mesh.h"

#include <cmath>

namespace datakit {

Vec Normalized(Vec v) {
    double len = std::sqrt(Dot(v, v));
    return len > 1e-12 ? v * (1.0 / len) : Vec{0.0, 0.0, 1.0};
}

size_t VertexCount(const Model& model) {
    size_t n = 0;
    for (const Mesh& m : model.meshes) {
        n += m.vertices.size();
    }
    return n;
}

}  // namespace datakit
