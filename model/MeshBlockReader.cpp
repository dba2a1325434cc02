// The Mesh block: names, transform, material name, faces and vertices. The
// faces of a mirroring transform are stored with their winding reversed, and
// each face takes the texture coordinates of its corners from its channel.
#include "app/HtmlLog.h"
#include "model/BlockReaders.h"

#include <new>
#include <utility>

namespace {

constexpr int kNumbersPerFace = 4;
// Vertex number, position, normal and colour; then u, v per channel.
constexpr int kNumbersPerVertex = 10;

// The determinant of the transform's upper 3 x 3 part, (row0 x row1) . row2.
float Determinant(const Matrix4& m) {
    Vec3 rows[3];
    for (int r = 0; r < 3; ++r) {
        rows[r].Set(m.m[r][0], m.m[r][1], m.m[r][2]);
    }
    Vec3 cross;
    rows[0].Cross(&cross, rows[1]);
    return cross.Dot(rows[2]);
}

// A file that ends inside a list keeps what was read: the records after the
// end are not there (faces that name them are dropped later), rather than
// zeros that would draw as spikes to the origin.
void WarnCutShort(const MMMesh& mesh, int read, int count, const char* what) {
    LogMessage("Motion Warning: the file ends after %d of the %d %s of mesh '%s'.\n", read, count,
               what, mesh.name);
}

void ReadFaces(MotionModelStream& stream, MMMesh& mesh, bool mirrored) {
    int count = 0;
    stream.Scan("\tTriangles: %d\n", &count);
    LogMessage("\tNum Faces: '%d'", count);
    count = CheckedCount(count, stream.MostRecords(kNumbersPerFace), "mesh", mesh.name, "faces");
    if (count > 0) {
        mesh.faces.reset(new (std::nothrow) MMFace[count]());
        if (!mesh.faces) {
            LogMessage("Motion Warning: failed to allocate %d faces for mesh '%s'.\n", count,
                       mesh.name);
            return;
        }
    }
    mesh.faceCount = count;
    for (int f = 0; f < count; ++f) {
        MMFace& face = mesh.faces[f];
        if (stream.Scan("\t%d %d %d %d\n", &face.index[0], &face.index[1], &face.index[2],
                        &face.channel) != kNumbersPerFace &&
            stream.AtEnd()) {
            WarnCutShort(mesh, f, count, "faces");
            mesh.faceCount = f;
            return;
        }
        if (mirrored) {
            std::swap(face.index[0], face.index[2]);
        }
    }
}

void ReadVertices(MotionModelStream& stream, MMMesh& mesh) {
    int count = 0;
    stream.Scan("\tVertices: %d\n", &count);
    LogMessage("\tNum Vertices: '%d'", count);
    const int channels = mesh.texChannels > 0 ? mesh.texChannels : 0;
    count = CheckedCount(count, stream.MostRecords(kNumbersPerVertex + 2LL * channels), "mesh",
                         mesh.name, "vertices");
    if (count > 0) {
        mesh.vertices.reset(new (std::nothrow) MMVertex[count]());
        if (!mesh.vertices) {
            LogMessage("Motion Warning: failed to allocate %d vertices for mesh '%s'.\n", count,
                       mesh.name);
            return;
        }
    }
    mesh.vertexCount = count;
    bool coordinatesMissing = false;
    for (int i = 0; i < count; ++i) {
        MMVertex& vertex = mesh.vertices[i];
        int number = 0;
        if (stream.Scan("\t%d %f %f %f %f %f %f %f %f %f", &number, &vertex.position.x,
                        &vertex.position.y, &vertex.position.z, &vertex.normal.x, &vertex.normal.y,
                        &vertex.normal.z, &vertex.colour[0], &vertex.colour[1],
                        &vertex.colour[2]) != kNumbersPerVertex &&
            stream.AtEnd()) {
            WarnCutShort(mesh, i, count, "vertices");
            mesh.vertexCount = i;
            break;
        }
        if (channels > 0) {
            vertex.texCoords.reset(
                new (std::nothrow) float[2 * static_cast<std::size_t>(channels)]());
            coordinatesMissing = coordinatesMissing || !vertex.texCoords;
        }
        for (int k = 0; k < channels; ++k) {
            float pair[2] = {0.0f, 0.0f};
            float* target = vertex.texCoords ? &vertex.texCoords[2 * k] : pair;
            stream.Scan("%f %f\n", &target[0], &target[1]);
        }
    }
    if (coordinatesMissing) {
        LogMessage("Motion Warning: failed to allocate texture coordinates for mesh '%s'.\n",
                   mesh.name);
    }
    // Without a channel the last vertex line would end the block early: its
    // line end is consumed here so the closing line is the block's own.
    if (channels == 0) {
        stream.SkipWhiteSpace();
    }
}

bool SelectsChannel(const MMMesh& mesh, int channel) {
    return mesh.texChannels == 1 || (channel >= 0 && channel < mesh.texChannels);
}

// Drops faces whose indices leave the mesh's vertices and clears channel
// selectors that name no channel of the vertices.
void CheckFaces(MMMesh& mesh) {
    int kept = 0;
    int unchannelled = 0;
    for (int f = 0; f < mesh.faceCount; ++f) {
        MMFace face = mesh.faces[f];
        bool inside = true;
        for (const int index : face.index) {
            inside = inside && index >= 0 && index < mesh.vertexCount;
        }
        if (!inside) {
            continue;
        }
        if (face.channel != -1 && !SelectsChannel(mesh, face.channel)) {
            face.channel = -1;
            // A mesh without channels has had its own warning.
            unchannelled += mesh.texChannels >= 1 ? 1 : 0;
        }
        mesh.faces[kept++] = face;
    }
    if (kept < mesh.faceCount) {
        LogMessage(
            "Motion Warning: mesh '%s' has %d faces with vertex indices outside its %d "
            "vertices; dropped.\n",
            mesh.name, mesh.faceCount - kept, mesh.vertexCount);
    }
    if (unchannelled > 0) {
        LogMessage(
            "Motion Warning: mesh '%s' has %d faces selecting a texture channel outside "
            "its %d; they keep no texture coordinates.\n",
            mesh.name, unchannelled, mesh.texChannels);
    }
    mesh.faceCount = kept;
}

void TakeCornerCoordinates(MMMesh& mesh) {
    for (int f = 0; f < mesh.faceCount; ++f) {
        MMFace& face = mesh.faces[f];
        if (face.channel == -1) {
            continue;
        }
        const int channel = mesh.texChannels == 1 ? 0 : face.channel;
        for (int corner = 0; corner < 3; ++corner) {
            const MMVertex& vertex = mesh.vertices[face.index[corner]];
            if (vertex.texCoords) {
                face.corner[corner][0] = vertex.texCoords[2 * channel];
                face.corner[corner][1] = vertex.texCoords[2 * channel + 1];
            }
        }
    }
}

}  // namespace

void ReadMeshBlock(MotionModelStream& stream, MMMesh& mesh) {
    char line[kLineReadSize];
    stream.ReadLine(line);
    QuotedText(line, 0, mesh.name, sizeof mesh.name);
    LogMessage("\tName: '%s'", mesh.name);
    stream.ReadLine(line);
    QuotedText(line, 0, mesh.parent, sizeof mesh.parent);
    LogMessage("\tParent: '%s'", mesh.parent);
    stream.ReadLine(line);

    stream.ReadTransform(mesh.transform);

    stream.ReadLine(line);
    QuotedText(line, 0, mesh.materialName, sizeof mesh.materialName);
    LogMessage("\tMaterial Name: '%s'", mesh.materialName);
    stream.Scan("\tNumTexChannels: %d\n", &mesh.texChannels);
    LogMessage("\tNumTexChannels: '%d'", mesh.texChannels);
    if (mesh.texChannels < 1) {
        LogMessage(
            "Motion Warning: mesh '%s' has %d texture channels; its faces keep no "
            "texture coordinates.\n",
            mesh.name, mesh.texChannels);
    }

    ReadFaces(stream, mesh, Determinant(mesh.transform) < 0.0f);
    ReadVertices(stream, mesh);
    CheckFaces(mesh);
    TakeCornerCoordinates(mesh);

    stream.ReadLine(line);
}
