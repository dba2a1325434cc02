// The Material and MultiMaterial blocks. A material keeps up to four texture
// paths under "textures\"; a multi-material keeps its sub-material names.
#include "app/HtmlLog.h"
#include "model/BlockReaders.h"

#include <cctype>
#include <cstring>
#include <new>
#include <string>

namespace {

constexpr const char* kTextureFolder = "textures\\";

// Whether a texture file name stays inside the textures folder: not
// absolute, and no ".." part.
bool StaysInTextureFolder(const char* fileName) {
    if (fileName[0] == '/' || fileName[0] == '\\' ||
        (std::isalpha(static_cast<unsigned char>(fileName[0])) && fileName[1] == ':')) {
        return false;
    }
    const char* part = fileName;
    while (true) {
        const std::size_t length = std::strcspn(part, "/\\");
        if (length == 2 && part[0] == '.' && part[1] == '.') {
            return false;
        }
        if (part[length] == '\0') {
            return true;
        }
        part += length + 1;
    }
}

void ReadTexture(const char* line, int slot, MMMaterial& material) {
    char fileName[kLineReadSize];
    QuotedText(line, 1, fileName, sizeof fileName);
    const std::string path = std::string(kTextureFolder) + fileName;
    if (!StaysInTextureFolder(fileName)) {
        LogMessage(
            "Motion Warning: texture [%d] \"%s\" leaves the textures folder; slot left "
            "empty.\n",
            slot, path.c_str());
        return;
    }
    try {
        material.textures[slot] = path;
    } catch (const std::bad_alloc&) {
        LogMessage("Motion Warning: failed loading texture [%d] \"%s\".\n", slot, path.c_str());
        return;
    }
    LogMessage("\ttexture loaded [%d] '%s'\n", slot, material.textures[slot].c_str());
}

void ReadTextures(MotionModelStream& stream, MMMaterial& material) {
    int count = 0;
    stream.Scan("\tTextures: %d\n", &count);
    LogMessage("\tTextures: %d\n", count);
    if (count < 0) {
        LogMessage("Motion Warning: material '%s' gives %d textures; read as 0.\n", material.name,
                   count);
    } else if (count > kTextureSlots) {
        LogMessage(
            "Motion Warning: material '%s' gives %d textures; only the first %d are "
            "kept.\n",
            material.name, count, kTextureSlots);
    }
    char line[kLineReadSize];
    // Every texture line is consumed, kept or not, so the block ends where
    // the file says.
    for (int t = 0; t < count && stream.ReadLine(line); ++t) {
        if (t < kTextureSlots) {
            ReadTexture(line, t, material);
        }
    }
}

}  // namespace

void ReadMaterialBlock(MotionModelStream& stream, MMMaterial& material) {
    char line[kLineReadSize];
    stream.ReadLine(line);
    ReadMaterialName(line, material.name);
    LogMessage("\tName: %s\n", material.name);

    stream.Scan("\tDoubleSided: %d\n", &material.doubleSided);
    stream.Scan("\tOpacity: %f\n", &material.opacity);
    stream.Scan("\tGlossiness: %f\n", &material.glossiness);
    stream.Scan("\tSpecularLevel: %f\n", &material.specularLevel);
    LogMessage("\tDoubleSided: %d\n", material.doubleSided);
    LogMessage("\tOpacity: %f\n", material.opacity);
    LogMessage("\tGlossiness: %f\n", material.glossiness);
    LogMessage("\tSpecularLevel: %f\n", material.specularLevel);

    Color4& e = material.emissive;
    Color4& a = material.ambient;
    Color4& d = material.diffuse;
    Color4& s = material.specular;
    stream.Scan("\tEmissive: %f %f %f\n", &e.r, &e.g, &e.b);
    stream.Scan("\tAmbient: %f %f %f\n", &a.r, &a.g, &a.b);
    stream.Scan("\tDiffuse: %f %f %f\n", &d.r, &d.g, &d.b);
    stream.Scan("\tSpecular: %f %f %f\n", &s.r, &s.g, &s.b);
    LogMessage("\tAmbient: %f %f %f\n", a.r, a.g, a.b);
    LogMessage("\tEmissive: %f %f %f\n", e.r, e.g, e.b);
    LogMessage("\tDiffuse: %f %f %f\n", d.r, d.g, d.b);
    LogMessage("\tSpecular: %f %f %f\n", s.r, s.g, s.b);

    ReadTextures(stream, material);
    stream.ReadLine(line);
}

void ReadMultiMaterialBlock(MotionModelStream& stream, MMMultiMaterial& multiMaterial) {
    char line[kLineReadSize];
    stream.ReadLine(line);
    ReadMaterialName(line, multiMaterial.material.name);
    LogMessage("\tName:  '%s'\n", multiMaterial.material.name);

    int count = 0;
    stream.Scan("\tNumSubMaterials: %d\n", &count);
    LogMessage("\tNumSubMaterials: %d\n", count);
    count = CheckedCount(count, stream.MostLines(), "multi material", multiMaterial.material.name,
                         "sub-materials");
    if (count > 0) {
        multiMaterial.subMaterials.reset(new (std::nothrow) std::string[count]);
        if (!multiMaterial.subMaterials) {
            LogMessage("Motion Warning: failed to allocate %d sub-material names for '%s'.\n",
                       count, multiMaterial.material.name);
            count = 0;
        }
    }
    multiMaterial.subMaterialCount = count;
    for (int i = 0; i < count && stream.ReadLine(line); ++i) {
        char name[kLineReadSize];
        QuotedText(line, 0, name, sizeof name);
        multiMaterial.subMaterials[i] = name;
        LogMessage("\tSubMaterial Name:  '%s'\n", name);
    }
    stream.ReadLine(line);
}
