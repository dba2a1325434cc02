// LoadMM::ComputeTangents: per-vertex tangent frames for bump and parallax
// mapping. Each face's texture-space directions are summed at its three
// vertices, then each sum is made orthogonal to the vertex normal
// (Gram-Schmidt) and the handedness records on which side v grows.
#include "app/HtmlLog.h"
#include "model/LoadMM.h"

#include <new>

HRESULT LoadMM::ComputeTangents() {
    std::unique_ptr<Vec3[]> tan1(new (std::nothrow) Vec3[vertexCount]());
    if (!tan1) {
        LogError("failed to alloc TAN1");
        return E_FAIL;
    }
    std::unique_ptr<Vec3[]> tan2(new (std::nothrow) Vec3[vertexCount]());
    if (!tan2) {
        tan1.reset();
        LogError("failed to alloc TAN2");
        return E_FAIL;
    }

    for (int f = 0; f < faceCount; ++f) {
        const WORD* index = faceList[f].index;
        const ModelVertex& v1 = modelVertices[index[0]];
        const ModelVertex& v2 = modelVertices[index[1]];
        const ModelVertex& v3 = modelVertices[index[2]];
        const float x1 = v2.position.x - v1.position.x;
        const float x2 = v3.position.x - v1.position.x;
        const float y1 = v2.position.y - v1.position.y;
        const float y2 = v3.position.y - v1.position.y;
        const float z1 = v2.position.z - v1.position.z;
        const float z2 = v3.position.z - v1.position.z;
        const float s1 = v2.u - v1.u;
        const float s2 = v3.u - v1.u;
        const float t1 = v2.v - v1.v;
        const float t2 = v3.v - v1.v;
        const float area = s1 * t2 - s2 * t1;
        // A face whose texture mapping is degenerate has no texture-space
        // directions; it would spread infinities to its vertices.
        if (area == 0.0f) {
            continue;
        }
        const float r = 1.0f / area;
        Vec3 sdir;
        sdir.Set((t2 * x1 - t1 * x2) * r, (t2 * y1 - t1 * y2) * r, (t2 * z1 - t1 * z2) * r);
        Vec3 tdir;
        tdir.Set((s1 * x2 - s2 * x1) * r, (s1 * y2 - s2 * y1) * r, (s1 * z2 - s2 * z1) * r);
        for (int c = 0; c < 3; ++c) {
            tan1[index[c]].Add(sdir);
        }
        for (int c = 0; c < 3; ++c) {
            tan2[index[c]].Add(tdir);
        }
    }

    for (int a = 0; a < vertexCount; ++a) {
        ModelVertex& vertex = modelVertices[a];
        const Vec3& n = vertex.normal;
        const float along = n.Dot(tan1[a]);
        Vec3 normalPart;
        n.Scale(&normalPart, &along);
        Vec3 tangent;
        tan1[a].Subtract(&tangent, normalPart);
        tangent.Normalize();
        vertex.tangent = tangent;
        Vec3 bitangent;
        n.Cross(&bitangent, tan2[a]);
        const float h = tangent.Dot(bitangent);
        vertex.handedness = h < 0.0f ? -1.0f : 1.0f;
    }
    return S_OK;
}
