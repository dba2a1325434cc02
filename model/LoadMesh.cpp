// LoadMM::LoadMesh: the two passes over a Motion Model file. The first counts
// the blocks so every record array is allocated once at its final size; the
// second checks the header and reads the blocks into the records.
#include "app/HtmlLog.h"
#include "model/BlockReaders.h"
#include "model/LoadMM.h"

#include <win32_standin.h>

#include <cstring>
#include <new>

namespace {

struct BlockCounts {
    int meshes = 0;
    int materials = 0;
    int multiMaterials = 0;
    int helpers = 0;
    int lights = 0;
};

constexpr const char* kSignature = "MotionModelASCII";
constexpr int kVersion = 107;

// Every line of the file is compared, inside blocks too, so the counts bound
// the blocks the second pass can meet.
BlockCounts CountBlocks(MotionModelStream& stream) {
    BlockCounts counts;
    TopLevelLine line;
    while (!stream.AtEnd()) {
        stream.ReadTopLevelLine(line);
        counts.meshes += line.Is("Mesh{") ? 1 : 0;
        counts.materials += line.Is("Material{") ? 1 : 0;
        counts.multiMaterials += line.Is("MultiMaterial{") ? 1 : 0;
        counts.helpers += line.Is("Helper{") ? 1 : 0;
        counts.lights += line.Is("Light{") ? 1 : 0;
    }
    return counts;
}

// An array of count records in their initial state; null (with the warning
// logged) when it cannot be allocated, and for a count of 0.
template <typename Record>
std::unique_ptr<Record[]> AllocateArray(int& count, const char* warning) {
    if (count <= 0) {
        return nullptr;
    }
    std::unique_ptr<Record[]> records(new (std::nothrow) Record[count]());
    if (!records) {
        LogMessage("%s", warning);
        count = 0;
    }
    return records;
}

// Every record array at its counted size; the material slots hold the
// materials and the multi-materials.
void AllocateRecords(LoadMM& model, const BlockCounts& counts) {
    MMScene& scene = *model.scene;
    scene.meshCount = counts.meshes;
    scene.meshes =
        AllocateArray<MMMesh>(scene.meshCount, "Motion Warning: failed to allocate for meshes");
    scene.materialCount = counts.materials + counts.multiMaterials;
    scene.materials = AllocateArray<MMMaterial>(scene.materialCount,
                                                "Motion Warning: failed to allocate for materials");
    model.helperCount = counts.helpers;
    model.helpers = AllocateArray<MMHelper>(model.helperCount,
                                            "Motion Warning: failed to allocate for helpers");
    model.multiMaterialCount = counts.multiMaterials;
    model.multiMaterials = AllocateArray<MMMultiMaterial>(
        model.multiMaterialCount, "Motion Warning: failed to allocate for multi materials");
    model.lightCount = counts.lights;
    model.lights =
        AllocateArray<MMLight>(model.lightCount, "Motion Warning: failed to allocate for lights");
}

bool ReadHeader(MotionModelStream& stream, const char* fileName) {
    char word[kTopLevelLineSize] = "";
    if (stream.Scan("%255s\n", word) != 1 || std::strcmp(word, kSignature) != 0) {
        LogMessage("Motion Error: file \"%s\" has an invalid Motion Model signature.\n", fileName);
        return false;
    }
    char line[kLineReadSize];
    stream.ReadLine(line);
    int version = 0;
    if (stream.Scan("\tVersion: %d\n", &version) != 1 || version != kVersion) {
        LogMessage("Motion Error: file \"%s\" has an invalid Motion Model version.\n", fileName);
        return false;
    }
    for (int i = 0; i < 3; ++i) {
        stream.ReadLine(line);
    }
    return true;
}

}  // namespace

int LoadMM::LoadMesh(const char* fileName) {
    Unload();
    if (fileName == nullptr) {
        fileName = "";
    }
    scene.reset(new (std::nothrow) MMScene());
    if (!scene) {
        LogMessage("Motion Error: Alloc for scene not possible!\n");
        return 0;
    }
    file = win32::OpenFile(fileName, "r");
    if (file == nullptr) {
        LogMessage("Motion Error: file \"%s\" not found.\n", fileName);
        return 0;
    }
    std::strncpy(path, fileName, kPathSize - 1);
    MotionModelStream stream(file);
    const long start = stream.Position();

    const BlockCounts counts = CountBlocks(stream);
    stream.Rewind(start);
    LogMessage(" Number of Objects: '%d'", counts.meshes);
    LogMessage(" Number of Helpers: '%d'", counts.helpers);
    LogMessage(" Number of Materials: '%d'", counts.materials);
    LogMessage(" Number of MultiMaterials: '%d'", counts.multiMaterials);
    LogMessage(" Number of Lights: '%d'", counts.lights);
    LogMessage(" Total of Materials: '%d'", counts.materials + counts.multiMaterials);
    AllocateRecords(*this, counts);

    if (!ReadHeader(stream, fileName)) {
        return CloseFile(0);
    }
    char failedKeyword[kTopLevelLineSize];
    if (!ReadBlocks(stream, failedKeyword)) {
        LogMessage("Motion Error: loading block \"%s\" failed.\n", failedKeyword);
        return CloseFile(0);
    }
    LogMessage("COOL! CREATE STRUCT WAS ABLE TO WORK!\n\n");
    // A model that cannot be built is not loaded: it would draw nothing.
    if (FAILED(BuildVertexData())) {
        return CloseFile(0);
    }
    CloseFile(1);
    LogMessage("LoadMM::LoadMesh()  '%s' loaded OK\n\n", path);
    return 1;
}

// Reads blocks until the end of the file; false when a block has no record
// to go into (its array is missing, or the file holds more such blocks than
// the first pass counted), with that block's keyword line in failedKeyword.
bool LoadMM::ReadBlocks(MotionModelStream& stream, char* failedKeyword) {
    int meshIndex = 0;
    int slotIndex = 0;
    int multiIndex = 0;
    int helperIndex = 0;
    int lightIndex = 0;
    TopLevelLine line;
    while (!stream.AtEnd()) {
        stream.ReadTopLevelLine(line);
        bool read = true;
        if (line.IsEmpty()) {
            // An empty line between blocks is no block: skipping it as an
            // unrecognised one would swallow the next block.
            continue;
        } else if (line.Is("Mesh{")) {
            LogMessage("%s", line.text);
            read = meshIndex < scene->meshCount;
            if (read) {
                ReadMeshBlock(stream, scene->meshes[meshIndex++]);
            }
            LogMessage("}\n\n");
        } else if (line.Is("Material{")) {
            LogMessage("%s", line.text);
            read = slotIndex < scene->materialCount;
            if (read) {
                ReadMaterialBlock(stream, scene->materials[slotIndex]);
                LogMessage("MATERIAL '%d' HAS NAME: '%s'\n", slotIndex,
                           scene->materials[slotIndex].name);
                ++slotIndex;
            }
            LogMessage("}\n\n");
        } else if (line.Is("MultiMaterial{")) {
            LogMessage("%s", line.text);
            read = multiIndex < multiMaterialCount && slotIndex < scene->materialCount;
            if (read) {
                MMMultiMaterial& multiMaterial = multiMaterials[multiIndex];
                ReadMultiMaterialBlock(stream, multiMaterial);
                MMMaterial& slot = scene->materials[slotIndex++];
                std::memcpy(slot.name, multiMaterial.material.name, sizeof slot.name);
                LogMessage("multimtl '%d' has name: '%s'", multiIndex++, slot.name);
            }
            LogMessage("}\n\n");
        } else if (line.Is("Helper{")) {
            LogMessage("%s", line.text);
            read = helperIndex < helperCount;
            if (read) {
                ReadHelperBlock(stream, helpers[helperIndex++]);
            }
            LogMessage("}\n\n");
        } else if (line.Is("Light{")) {
            read = lightIndex < lightCount;
            if (read) {
                ReadLightBlock(stream, lights[lightIndex]);
                LogMessage("light '%d' has name: '%s'", lightIndex, lights[lightIndex].name);
                ++lightIndex;
            }
        } else {
            stream.SkipBlock();
        }
        if (!read) {
            std::memcpy(failedKeyword, line.text, sizeof line.text);
            return false;
        }
    }
    return true;
}

int LoadMM::CloseFile(int result) {
    std::fclose(file);
    file = nullptr;
    return result;
}
