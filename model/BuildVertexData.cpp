// LoadMM::BuildVertexData: resolves materials and parents by name, moves
// every vertex into the world frame with y and z exchanged, bakes colours,
// writes one vertex array and one face list for the whole model, gathers the
// texture list and prepares one skin per material; then the tangents.
#include "app/HtmlLog.h"
#include "model/LoadMM.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <new>
#include <utility>

namespace {

// The low 8 bits of component x 255 truncated toward zero (0 where that is
// no integer a 64-bit value holds).
DWORD ColourByte(float component) {
    const double scaled = std::trunc(double{component} * 255.0);
    if (!(std::fabs(scaled) < 9.0e18)) {
        return 0;
    }
    return static_cast<DWORD>(static_cast<std::int64_t>(scaled) & 0xFF);
}

// 0xAARRGGBB with alpha 255.
DWORD PackColour(float r, float g, float b) {
    return 0xFF000000u | ColourByte(r) << 16 | ColourByte(g) << 8 | ColourByte(b);
}

// Slots 0 to 2 go to the skin; slot 3 is never bound. An empty slot is
// logged under its short name (none for the gloss map), a set one under its
// long name.
constexpr int kBoundSlots = 3;
constexpr const char* kEmptySlotNames[kBoundSlots] = {"diffuse", "bump", nullptr};
constexpr const char* kSetSlotNames[kBoundSlots] = {"diffuse", "bumpmap", "glossmap"};

}  // namespace

HRESULT LoadMM::BuildVertexData() {
    const int meshCount = scene ? scene->meshCount : 0;
    LogMessage("Num Objects: %d", meshCount);
    LogMessage("Count object vertex/index data!");
    long long vertexTotal = 0;
    long long faceTotal = 0;
    for (int i = 0; i < meshCount; ++i) {
        vertexTotal += std::max(scene->meshes[i].vertexCount, 0);
        faceTotal += std::max(scene->meshes[i].faceCount, 0);
    }
    ResolveMaterials();
    if (vertexTotal > kMaxVertices) {
        LogMessage(
            "Motion Error: the model has %lld vertices; 16-bit indices address at most %d.\n",
            vertexTotal, kMaxVertices);
        return E_FAIL;
    }
    if (faceTotal > INT_MAX / 3) {
        LogMessage("Motion Error: the model has %lld faces, more than one index list holds.\n",
                   faceTotal);
        return E_FAIL;
    }
    PlaceLights();

    LogMessage("Alloc memory!");
    if (vertexTotal > 0) {
        modelVertices.reset(new (std::nothrow) ModelVertex[vertexTotal]());
    }
    if (faceTotal > 0) {
        faceList.reset(new (std::nothrow) ModelFace[faceTotal]());
    }
    if ((vertexTotal > 0 && !modelVertices) || (faceTotal > 0 && !faceList)) {
        LogError("failed to alloc VertexList");
        modelVertices.reset();
        faceList.reset();
        return E_FAIL;
    }
    vertexCount = static_cast<int>(vertexTotal);
    faceCount = static_cast<int>(faceTotal);
    indexCount = 3 * faceCount;
    LogMessage("Num of Objects '%d' - Num of Vertices '%d' - Indices '%d' - Faces '%d'", meshCount,
               vertexCount, indexCount, faceCount);
    materialCount = scene ? static_cast<UINT>(scene->materialCount) : 0;
    LogMessage("Num of Skins '%d'", static_cast<int>(materialCount));
    if (materialCount > 0 && !PrepareSkins()) {
        return E_FAIL;
    }
    BuildMeshes();
    ComputeTangents();
    return S_OK;
}

void LoadMM::ResolveMaterials() {
    for (int i = 0; scene && i < scene->meshCount; ++i) {
        MMMesh& mesh = scene->meshes[i];
        mesh.materialIndex = -1;
        for (int m = 0; m < scene->materialCount; ++m) {
            if (std::strcmp(scene->materials[m].name, mesh.materialName) == 0) {
                mesh.materialIndex = m;
                break;
            }
        }
    }
}

// A light lands at its transform's translation; its direction is moved as a
// point, translation included. Nothing else uses the lights.
void LoadMM::PlaceLights() {
    LogMessage("Do Lights!");
    for (int i = 0; i < lightCount; ++i) {
        MMLight& light = lights[i];
        D3DXVec3TransformCoord(&light.position, &light.position, &light.transform);
        D3DXVec3TransformCoord(&light.direction, &light.direction, &light.transform);
        std::swap(light.position.y, light.position.z);
        std::swap(light.direction.y, light.direction.z);
        LogMessage("Light Pos: %f %f %f", light.position.x, light.position.y, light.position.z);
    }
}

bool LoadMM::PrepareSkins() {
    skins.reset(new (std::nothrow) ModelSkin[materialCount]);
    materialColours.reset(new (std::nothrow) MaterialColours[materialCount]);
    textureNames.reset(new (std::nothrow) std::string[materialCount]);
    textureCount = 0;
    for (UINT m = 0; m < materialCount; ++m) {
        for (const std::string& texture : scene->materials[m].textures) {
            textureCount += texture.empty() ? 0 : 1;
        }
    }
    LogMessage("MAT [%d] TOTAL NUM OF TEXTURES [%d]", static_cast<int>(materialCount),
               static_cast<int>(textureCount));
    if (textureCount > 0) {
        textureList.reset(new (std::nothrow) std::string[textureCount]);
    }
    if (!skins || !materialColours || !textureNames || (textureCount > 0 && !textureList)) {
        LogError("failed to alloc Skins");
        materialCount = 0;
        return false;
    }
    UINT entry = 0;
    for (UINT m = 0; m < materialCount; ++m) {
        for (const std::string& texture : scene->materials[m].textures) {
            if (!texture.empty()) {
                textureList[entry++] = texture;
                LogMessage("MAT[%d] TEXTURE [%s]", static_cast<int>(m), texture.c_str());
            }
        }
    }
    for (UINT m = 0; m < materialCount; ++m) {
        PrepareSkin(m);
    }
    return true;
}

void LoadMM::PrepareSkin(UINT m) {
    const MMMaterial& material = scene->materials[m];
    const int index = static_cast<int>(m);
    LogMessage("Load Material: '%d'", index);
    materialColours[m] = {material.ambient, material.diffuse, material.emissive, material.specular};
    ModelSkin& skin = skins[m];
    std::string& record = textureNames[m];
    for (int slot = 0; slot < kBoundSlots; ++slot) {
        const std::string& texture = material.textures[slot];
        if (texture.empty()) {
            skin.texture[slot] = kNoSkinTexture;
            if (kEmptySlotNames[slot] != nullptr) {
                LogMessage("--- material %d, no %s texture used", index, kEmptySlotNames[slot]);
            }
            record.clear();
        } else {
            skin.texture[slot] = static_cast<UINT>(FindTexture(texture.c_str()));
            LogMessage("--- material %d, %s texture '%s'", index, kSetSlotNames[slot],
                       texture.c_str());
            if (record.empty()) {
                record = texture;
            }
        }
    }
    skin.material = m;
    LogMessage("Material: '%d' : '%s'  --  Texture Name: '%s'", index, material.name,
               record.c_str());
}

// The mesh's transform, times its parent's own transform: a mesh of that
// name, else every helper of that name in helper order. An empty parent
// name means no parent.
Matrix4 LoadMM::WorldMatrix(const MMMesh& mesh) const {
    Matrix4 world = mesh.transform;
    if (mesh.parent[0] == '\0') {
        return world;
    }
    const int parent = scene->FindMesh(mesh.parent);
    if (parent >= 0) {
        world.Multiply(scene->meshes[parent].transform);
        return world;
    }
    for (int h = 0; h < helperCount; ++h) {
        if (std::strcmp(helpers[h].name, mesh.parent) == 0) {
            world.Multiply(helpers[h].transform);
        }
    }
    return world;
}

void LoadMM::BuildMeshes() {
    WORD base = 0;
    int vertex = 0;
    int entry = 0;
    for (int i = 0; i < scene->meshCount; ++i) {
        const MMMesh& mesh = scene->meshes[i];
        LogMessage("Object [%d] '%s', Material ID '%d'\n\n", i, mesh.name, mesh.materialIndex);
        const Matrix4 world = WorldMatrix(mesh);
        const MMMaterial* material =
            mesh.materialIndex != -1 ? &scene->materials[mesh.materialIndex] : nullptr;
        for (int k = 0; k < mesh.vertexCount; ++k) {
            const MMVertex& source = mesh.vertices[k];
            ModelVertex& target = modelVertices[vertex++];
            Vec3 p;
            source.position.TransformCoord(&p, world);
            target.position.Set(p.x, p.z, p.y);
            target.normal.Set(source.normal.x, source.normal.z, source.normal.y);
            target.colour =
                material != nullptr
                    ? PackColour(material->diffuse.r, material->diffuse.g, material->diffuse.b)
                    : PackColour(source.colour[0], source.colour[1], source.colour[2]);
        }
        for (int f = 0; f < mesh.faceCount; ++f) {
            const MMFace& face = mesh.faces[f];
            ModelFace& out = faceList[entry++];
            for (int c = 0; c < 3; ++c) {
                out.index[c] = static_cast<WORD>(face.index[c] + base);
            }
            out.material = mesh.materialIndex;
            if (face.channel == -1) {
                continue;
            }
            // A vertex shared by several faces keeps the last face's pair.
            for (int c = 0; c < 3; ++c) {
                ModelVertex& corner = modelVertices[out.index[c]];
                corner.u = face.corner[c][0];
                corner.v = face.corner[c][1];
            }
        }
        base = static_cast<WORD>(base + mesh.vertexCount);
    }
}
