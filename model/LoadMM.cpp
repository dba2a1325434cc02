// LoadMM's lookups by name and its release of everything it owns.
#include "model/LoadMM.h"

#include <cstring>

int MMScene::FindMesh(const char* name) const {
    for (int i = 0; i < meshCount; ++i) {
        if (std::strcmp(meshes[i].name, name) == 0) {
            return i;
        }
    }
    return -1;
}

int LoadMM::FindTexture(const char* texturePath) const {
    for (UINT i = 0; i < textureCount; ++i) {
        if (textureList[i] == texturePath) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int LoadMM::Unload() {
    helpers.reset();
    helperCount = 0;
    multiMaterials.reset();
    multiMaterialCount = 0;

    skins.reset();
    materialColours.reset();
    textureNames.reset();
    textureList.reset();
    textureCount = 0;
    indexLists.reset();
    indexCounts.reset();
    skinIds.reset();
    bufferIds.reset();
    modelVertices.reset();
    vertexCount = 0;
    faceList.reset();
    faceCount = 0;
    indexCount = 0;
    materialCount = 0;

    lights.reset();
    lightCount = 0;

    if (scene) {
        for (int i = 0; i < scene->meshCount; ++i) {
            MMMesh& mesh = scene->meshes[i];
            for (int k = 0; k < mesh.vertexCount; ++k) {
                mesh.vertices[k].texCoords.reset();
            }
            mesh.vertices.reset();
            mesh.faces.reset();
        }
        scene->meshes.reset();
        scene->materials.reset();
        scene.reset();
    }
    path[0] = '\0';
    return 0;
}
