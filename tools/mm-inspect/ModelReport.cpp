// The model report: one JSON object, one member per line and one array
// element per line, in the fixed member order tools and people read it in.
#include "ModelReport.h"

#include "JsonText.h"

#include <cstring>

namespace {

void Key(std::string& out, const char* key) {
    out += '"';
    out += key;
    out += "\":";
}

void Text(std::string& out, const char* key, const char* text) {
    Key(out, key);
    AppendJsonString(out, text, std::strlen(text));
}

void Colour(std::string& out, const char* key, const Color4& colour) {
    Key(out, key);
    const float values[4] = {colour.r, colour.g, colour.b, colour.a};
    AppendJsonFloats(out, values, 4);
}

void Vector(std::string& out, const char* key, const Vec3& v) {
    Key(out, key);
    const float values[3] = {v.x, v.y, v.z};
    AppendJsonFloats(out, values, 3);
}

void Transform(std::string& out, const Matrix4& m) {
    Key(out, "transform");
    AppendJsonFloats(out, &m._11, 16);
}

// Writes "key":[ element, element ] with one element per line.
template <typename WriteElement>
void List(std::string& out, const char* key, int count, WriteElement write) {
    out += ",\n ";
    Key(out, key);
    out += '[';
    for (int i = 0; i < count; ++i) {
        out += i > 0 ? ",\n  " : "\n  ";
        write(i);
    }
    out += ']';
}

void Mesh(std::string& out, const MMMesh& mesh) {
    out += '{';
    Text(out, "name", mesh.name);
    out += ',';
    Text(out, "parent", mesh.parent);
    out += ',';
    Text(out, "materialName", mesh.materialName);
    out += ",\"materialIndex\":";
    AppendJsonInt(out, mesh.materialIndex);
    out += ',';
    Transform(out, mesh.transform);
    out += ",\"channels\":";
    AppendJsonInt(out, mesh.texChannels);
    out += ",\"faces\":[";
    for (int f = 0; f < mesh.faceCount; ++f) {
        const MMFace& face = mesh.faces[f];
        out += f > 0 ? ",[" : "[";
        for (const int index : face.index) {
            AppendJsonInt(out, index);
            out += ',';
        }
        AppendJsonInt(out, face.channel);
        out += ']';
    }
    out += "],\"corners\":[";
    for (int f = 0; f < mesh.faceCount; ++f) {
        if (f > 0) {
            out += ',';
        }
        AppendJsonFloats(out, &mesh.faces[f].corner[0][0], 6);
    }
    out += "],\"vertexCount\":";
    AppendJsonInt(out, mesh.vertexCount);
    out += '}';
}

void Material(std::string& out, const MMMaterial& material) {
    out += '{';
    Text(out, "name", material.name);
    out += ',';
    Colour(out, "ambient", material.ambient);
    out += ',';
    Colour(out, "diffuse", material.diffuse);
    out += ',';
    Colour(out, "emissive", material.emissive);
    out += ',';
    Colour(out, "specular", material.specular);
    out += ",\"textures\":[";
    for (int slot = 0; slot < kTextureSlots; ++slot) {
        if (slot > 0) {
            out += ',';
        }
        AppendJsonString(out, material.textures[slot]);
    }
    out += "]}";
}

void MultiMaterial(std::string& out, const MMMultiMaterial& multiMaterial) {
    out += '{';
    Text(out, "name", multiMaterial.material.name);
    out += ",\"subMaterials\":[";
    for (int i = 0; i < multiMaterial.subMaterialCount; ++i) {
        if (i > 0) {
            out += ',';
        }
        AppendJsonString(out, multiMaterial.subMaterials[i]);
    }
    out += "]}";
}

void Helper(std::string& out, const MMHelper& helper) {
    out += '{';
    Text(out, "name", helper.name);
    out += ',';
    Text(out, "parent", helper.parent);
    out += ',';
    Transform(out, helper.transform);
    out += '}';
}

void Light(std::string& out, const MMLight& light) {
    out += '{';
    Text(out, "name", light.name);
    out += ',';
    Vector(out, "position", light.position);
    out += ',';
    Vector(out, "direction", light.direction);
    out += ",\"colour\":";
    AppendJsonFloats(out, light.colour, 3);
    out += ",\"intensity\":";
    AppendJsonFloat(out, light.intensity);
    out += '}';
}

void Vertex(std::string& out, const ModelVertex& vertex) {
    out += '{';
    Vector(out, "p", vertex.position);
    out += ',';
    Vector(out, "n", vertex.normal);
    out += ",\"c\":";
    AppendJsonInt(out, vertex.colour);
    out += ",\"uv\":";
    const float uv[2] = {vertex.u, vertex.v};
    AppendJsonFloats(out, uv, 2);
    out += ',';
    Vector(out, "t", vertex.tangent);
    out += ",\"h\":";
    AppendJsonFloat(out, vertex.handedness);
    out += '}';
}

void DeviceCall(std::string& out, const RecordedCall& call) {
    out += '{';
    Text(out, "call", call.call.c_str());
    if (call.call == "AddSkin") {
        out += ',';
        Colour(out, "ambient", call.ambient);
        out += ',';
        Colour(out, "diffuse", call.diffuse);
        out += ',';
        Colour(out, "emissive", call.emissive);
        out += ',';
        Colour(out, "specular", call.specular);
        out += ",\"power\":";
        AppendJsonFloat(out, call.power);
        out += ",\"skin\":";
        AppendJsonInt(out, call.skin);
    } else if (call.call == "AddSkinTexture") {
        out += ",\"skin\":";
        AppendJsonInt(out, call.skin);
        out += ',';
        Text(out, "file", call.name.c_str());
    } else if (call.call == "CreateStaticBuffer") {
        out += ",\"format\":";
        AppendJsonInt(out, call.ints[0]);
        out += ",\"skin\":";
        AppendJsonInt(out, call.skin);
        out += ",\"vertices\":";
        AppendJsonInt(out, call.vertexCount);
        out += ",\"indices\":[";
        for (std::size_t i = 0; i < call.indices.size(); ++i) {
            if (i > 0) {
                out += ',';
            }
            AppendJsonInt(out, call.indices[i]);
        }
        out += "],\"kind\":";
        AppendJsonInt(out, call.ints[1]);
        out += ",\"buffer\":";
        AppendJsonInt(out, call.buffer);
    }
    out += '}';
}

// The accessors hand out the managers and change nothing on the device.
bool IsAccessor(const RecordedCall& call) {
    return call.call == "GetSkinManager" || call.call == "GetBufferManager";
}

}  // namespace

std::string ModelReport(const LoadMM& model, const CRecordingRenderDevice& device, int loadMesh,
                        HRESULT init, const std::vector<LogLine>& log) {
    const MMScene* scene = model.scene.get();
    const int meshCount = scene != nullptr ? scene->meshCount : 0;
    const int materialCount = scene != nullptr ? scene->materialCount : 0;

    std::string out = "{\"loadMesh\":";
    AppendJsonInt(out, loadMesh);
    out += ", \"init\":";
    AppendJsonInt(out, init);
    out += ",\n \"counts\":{\"meshes\":";
    AppendJsonInt(out, meshCount);
    out += ",\"materials\":";
    AppendJsonInt(out, materialCount);
    out += ",\"multiMaterials\":";
    AppendJsonInt(out, model.multiMaterialCount);
    out += ",\"helpers\":";
    AppendJsonInt(out, model.helperCount);
    out += ",\"lights\":";
    AppendJsonInt(out, model.lightCount);
    out += '}';

    List(out, "meshes", meshCount, [&](int i) { Mesh(out, scene->meshes[i]); });
    List(out, "materials", materialCount, [&](int i) { Material(out, scene->materials[i]); });
    List(out, "multiMaterials", model.multiMaterialCount,
         [&](int i) { MultiMaterial(out, model.multiMaterials[i]); });
    List(out, "helpers", model.helperCount, [&](int i) { Helper(out, model.helpers[i]); });
    List(out, "lights", model.lightCount, [&](int i) { Light(out, model.lights[i]); });
    List(out, "textureList", static_cast<int>(model.textureCount),
         [&](int i) { AppendJsonString(out, model.textureList[i]); });
    const int skinCount = model.skins ? static_cast<int>(model.materialCount) : 0;
    List(out, "skins", skinCount, [&](int i) {
        const ModelSkin& skin = model.skins[i];
        out += "{\"material\":";
        AppendJsonInt(out, skin.material);
        out += ",\"textures\":[";
        for (int k = 0; k < kSkinTextures; ++k) {
            if (k > 0) {
                out += ',';
            }
            AppendJsonInt(out, skin.texture[k]);
        }
        out += "]}";
    });
    List(out, "vertices", model.vertexCount, [&](int i) { Vertex(out, model.modelVertices[i]); });
    List(out, "faces", model.faceCount, [&](int i) {
        const ModelFace& face = model.faceList[i];
        out += '[';
        for (const WORD index : face.index) {
            AppendJsonInt(out, index);
            out += ',';
        }
        AppendJsonInt(out, face.material);
        out += ']';
    });
    std::vector<const RecordedCall*> calls;
    for (const RecordedCall& call : device.Calls()) {
        if (!IsAccessor(call)) {
            calls.push_back(&call);
        }
    }
    List(out, "device", static_cast<int>(calls.size()), [&](int i) { DeviceCall(out, *calls[i]); });
    List(out, "log", static_cast<int>(log.size()), [&](int i) {
        out += "{\"style\":";
        out += log[i].error ? "\"error\"" : "\"message\"";
        out += ",\"text\":";
        AppendJsonString(out, log[i].text);
        out += '}';
    });
    out += "}\n";
    return out;
}
