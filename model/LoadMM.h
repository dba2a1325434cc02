// LoadMM: one model. Reads a Motion Model ASCII file into records
// (LoadMesh), builds one world-space vertex array with colours and tangents
// (BuildVertexData, ComputeTangents), and registers one skin and one static
// buffer per material with the render device (Init). Everything stays until
// Unload; the device keeps its skins and buffers.
#pragma once

#include "model/MMRecords.h"
#include "model/ModelVertex.h"
#include "render/RenderDevice.h"

#include <cstdio>
#include <memory>
#include <string>

class MotionModelStream;

class LoadMM {
public:
    static constexpr int kPathSize = 256;
    // 16-bit indices address this many vertices.
    static constexpr int kMaxVertices = 65536;
    // Init registers at most this many materials less one.
    static constexpr UINT kMaterialLimit = 128;

    // Reads and builds the file; 1 when it was read and built, 0 otherwise.
    // A second call starts from empty.
    int LoadMesh(const char* fileName);
    // Registers skins, textures and one static buffer per material on device.
    HRESULT Init(CRenderDevice* device);
    // Releases everything the model owns; returns 0.
    int Unload();

    HRESULT BuildVertexData();
    HRESULT ComputeTangents();
    // Index of the first texture-list entry equal to path, else -1.
    int FindTexture(const char* path) const;

    // Parsed records.
    int lightCount = 0;
    std::unique_ptr<MMLight[]> lights;
    std::FILE* file = nullptr;  // only while LoadMesh runs
    char path[kPathSize] = {};
    std::unique_ptr<MMScene> scene;
    int helperCount = 0;
    std::unique_ptr<MMHelper[]> helpers;
    int multiMaterialCount = 0;
    std::unique_ptr<MMMultiMaterial[]> multiMaterials;

    // Render data.
    UINT materialCount = 0;  // the number of buffers the show draws
    CRenderDevice* renderDevice = nullptr;
    int vertexCount = 0;
    std::unique_ptr<ModelVertex[]> modelVertices;
    int faceCount = 0;
    std::unique_ptr<ModelFace[]> faceList;
    int indexCount = 0;
    std::unique_ptr<ModelSkin[]> skins;
    std::unique_ptr<MaterialColours[]> materialColours;
    std::unique_ptr<std::string[]> textureNames;  // per material, for the log only
    UINT textureCount = 0;
    std::unique_ptr<std::string[]> textureList;
    std::unique_ptr<int[]> indexCounts;
    std::unique_ptr<std::unique_ptr<WORD[]>[]> indexLists;
    std::unique_ptr<UINT[]> skinIds;
    std::unique_ptr<UINT[]> bufferIds;

private:
    bool ReadBlocks(MotionModelStream& stream, char* failedKeyword);
    int CloseFile(int result);

    void ResolveMaterials();
    void PlaceLights();
    bool PrepareSkins();
    void PrepareSkin(UINT m);
    Matrix4 WorldMatrix(const MMMesh& mesh) const;
    void BuildMeshes();
    bool AllocateRegistration();
};
