// The records a Motion Model file is read into: the scene with its meshes and
// materials, and the multi-materials, helpers and lights beside it. Each
// record is created in the state its block leaves untouched: empty names,
// zero values and an identity transform.
#pragma once

#include "render/Color4.h"
#include "render/Matrix4.h"

#include <memory>
#include <string>

// Text fields with their terminator. A line read holds at most 254
// characters, so a name quoted on it always fits kNameSize; material names
// are limited to 127 characters.
constexpr int kNameSize = 256;
constexpr int kMaterialNameSize = 128;
constexpr int kTextureSlots = 4;

inline Matrix4 IdentityMatrix() {
    Matrix4 identity;
    identity.SetIdentity();
    return identity;
}

struct MMFace {
    int index[3] = {0, 0, 0};  // into the mesh's vertices, in stored winding order
    int channel = 0;           // texture channel selector; -1 = no texture coordinates
    float corner[3][2] = {};   // u, v of each stored index
};

struct MMVertex {
    Vec3 position{};
    Vec3 normal{};
    float colour[3] = {0.0f, 0.0f, 0.0f};  // r, g, b fractions
    std::unique_ptr<float[]> texCoords;    // u, v for each of the mesh's channels
};

struct MMMesh {
    char name[kNameSize] = {};
    char parent[kNameSize] = {};  // a mesh or helper; empty for none
    char materialName[kNameSize] = {};
    Matrix4 transform = IdentityMatrix();
    int texChannels = 0;  // u, v pairs per vertex
    int faceCount = 0;
    std::unique_ptr<MMFace[]> faces;
    int vertexCount = 0;
    std::unique_ptr<MMVertex[]> vertices;
    int materialIndex = -1;  // resolved by the build
};

struct MMMaterial {
    char name[kMaterialNameSize] = {};
    Color4 ambient{};
    Color4 emissive{};
    Color4 diffuse{};
    Color4 specular{};
    float glossiness = 0.0f;
    float specularLevel = 0.0f;
    float opacity = 0.0f;
    int doubleSided = 0;
    // "textures\" plus the file name; slots: diffuse, bump, gloss, unbound.
    std::string textures[kTextureSlots];
};

struct MMMultiMaterial {
    MMMaterial material;  // name only; colours zero, no textures
    int subMaterialCount = 0;
    std::unique_ptr<std::string[]> subMaterials;
};

struct MMHelper {
    char name[kNameSize] = {};
    char parent[kNameSize] = {};
    Matrix4 transform = IdentityMatrix();
};

struct MMLight {
    char name[kNameSize] = {};
    Vec3 position{};  // computed by the build
    Vec3 direction{};
    Matrix4 transform = IdentityMatrix();
    float colour[3] = {0.0f, 0.0f, 0.0f};
    float intensity = 0.0f;
};

struct MMScene {
    int meshCount = 0;
    std::unique_ptr<MMMesh[]> meshes;
    // Material blocks and multi-materials share this array, in file order.
    int materialCount = 0;
    std::unique_ptr<MMMaterial[]> materials;

    // Index of the first mesh named exactly name, else -1.
    int FindMesh(const char* name) const;
};
