// LoadMM::Init: registers the built model with the render device: per
// material one skin with its textures and one static buffer holding the
// whole vertex array and that material's indices.
#include "app/HtmlLog.h"
#include "model/LoadMM.h"

#include <cstring>
#include <new>

bool LoadMM::AllocateRegistration() {
    indexCounts.reset(new (std::nothrow) int[materialCount]());
    indexLists.reset(new (std::nothrow) std::unique_ptr<WORD[]>[materialCount]);
    skinIds.reset(new (std::nothrow) UINT[materialCount]());
    bufferIds.reset(new (std::nothrow) UINT[materialCount]());
    return indexCounts && indexLists && skinIds && bufferIds;
}

HRESULT LoadMM::Init(CRenderDevice* device) {
    if (materialCount >= kMaterialLimit) {
        MessageBoxA(nullptr, "LoadMM::Init()  Too much materials to load!", "error",
                    MB_ICONERROR | MB_OK);
        return E_FAIL;
    }
    renderDevice = device;
    LogMessage("LoadMM::Init()  Allocate memmory");
    std::unique_ptr<WORD[]> gathered(new (std::nothrow) WORD[indexCount]);
    if (!gathered || !AllocateRegistration()) {
        LogError("LoadMM::Init()  failed to alloc index lists");
        return E_FAIL;
    }
    if (materialCount == 0) {
        return S_OK;
    }
    CSkinManager* skinManager = device != nullptr ? device->GetSkinManager() : nullptr;
    CBufferManager* bufferManager = device != nullptr ? device->GetBufferManager() : nullptr;
    if (skinManager == nullptr || bufferManager == nullptr) {
        LogError("LoadMM::Init()  no render device to register with");
        return E_FAIL;
    }

    for (UINT m = 0; m < materialCount; ++m) {
        const int material = static_cast<int>(m);
        int count = 0;
        for (int f = 0; f < faceCount; ++f) {
            if (faceList[f].material == material) {
                std::memcpy(&gathered[count], faceList[f].index, sizeof faceList[f].index);
                count += 3;
            }
        }
        LogMessage("LoadMM::Init()  mat '%d' with '%d' of '%d' indices", material, count,
                   indexCount);
        indexCounts[m] = count;
        if (count > 0) {
            indexLists[m].reset(new (std::nothrow) WORD[count]);
            if (!indexLists[m]) {
                LogError("LoadMM::Init()  failed to alloc index lists");
                return E_FAIL;
            }
            std::memcpy(indexLists[m].get(), gathered.get(), count * sizeof(WORD));
        }

        LogMessage("LoadMM::Init()  Add Material '%d'", material);
        const MaterialColours& colours = materialColours[m];
        skinManager->AddSkin(colours.ambient, colours.diffuse, colours.emissive, colours.specular,
                             1.0f, &skinIds[m]);
        // Registration stops at the first empty slot.
        for (const UINT texture : skins[m].texture) {
            if (texture == kNoSkinTexture || texture >= textureCount) {
                break;
            }
            LogMessage("LoadMM::Init()  Add Texture '%s'", textureList[texture].c_str());
            skinManager->AddSkinTexture(skinIds[m], textureList[texture].c_str(), 0, 1.0f);
        }

        LogMessage("LoadMM::Init()  Create Static Buffer '%d'", material);
        LogMessage("mat '%d' :: skin ID '%d'", material, static_cast<int>(skinIds[m]));
        LogMessage("mat '%d' :: num indices '%d'", material, count);
        LogMessage("mat '%d' :: num faces '%d'\n", material, count / 3);
        const HRESULT result = bufferManager->CreateStaticBuffer(
            kVertexFormatModel, skinIds[m], static_cast<UINT>(vertexCount),
            static_cast<UINT>(count), modelVertices.get(), indexLists[m].get(),
            kPrimitiveTriangleList, &bufferIds[m]);
        if (FAILED(result)) {
            LogError("LoadMM::Init()  Failed to Create Static Buffers '%d'", result);
            return E_FAIL;
        }
    }
    return S_OK;
}
