// A render device that draws nothing and records every call, in order, with
// its arguments: the fake that tests and tools run the system against. Ids
// are issued from 1 upward (0 is never an id); a call naming an id the device
// never issued is refused with E_FAIL. Any call can be scripted to fail from
// its n-th occurrence on.
#pragma once

#include "render/RenderDevice.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// One recorded call. Only the fields the call has are set; the rest stay
// zero or empty.
struct RecordedCall {
    std::string call;  // the operation's name, e.g. "AddSkin"
    HRESULT result = S_OK;

    std::string name;  // file (AddSkinTexture, LoadShaderEffect), technique or parameter
    UINT skin = 0;     // skin id issued (AddSkin) or taken
    UINT buffer = 0;   // buffer id issued (CreateStaticBuffer) or taken
    UINT effect = 0;   // effect id issued (LoadShaderEffect) or taken

    // AddSkin
    Color4 ambient{};
    Color4 diffuse{};
    Color4 emissive{};
    Color4 specular{};
    float power = 0.0f;

    // The call's other arguments in order: integers (flags, formats, kinds,
    // Open's adapter/flags/fullscreen, the a, b of BeginShader*/SelectView,
    // BeginFrame's three) and floats (AddSkinTexture's alpha, SetShaderFloat's
    // value, SetClearColor's r, g, b, SetDepthRange's near, far,
    // SetupPerspective's field of view).
    std::vector<int> ints;
    std::vector<float> floats;

    Matrix4 matrix{};           // SetShaderMatrix
    Viewport viewport{};        // SetupPerspective
    std::uintptr_t window = 0;  // Open

    // CreateStaticBuffer: the counts and copies of the data handed over.
    UINT vertexCount = 0;
    UINT indexCount = 0;
    std::vector<std::uint8_t> vertices;
    std::vector<WORD> indices;
};

class CRecordingRenderDevice : public CRenderDevice {
public:
    CRecordingRenderDevice();

    const std::vector<RecordedCall>& Calls() const { return calls_; }
    // The recorded calls of one operation, in order.
    std::vector<RecordedCall> CallsNamed(const std::string& call) const;
    void ClearCalls() { calls_.clear(); }

    // The occurrence from (counted from 1 over the device's life) and every
    // later call of the operation fails with result, without effect.
    void FailFrom(const std::string& call, int from, HRESULT result = E_FAIL);

    // Bytes per vertex of a static buffer's format; 0 for an unknown format.
    static UINT VertexSize(int vertexFormat);

    HRESULT Open(HWND window, int adapter, int flags, int fullscreen) override;
    CBufferManager* GetBufferManager() override;
    CSkinManager* GetSkinManager() override;
    UINT LoadShaderEffect(const char* file) override;
    HRESULT UseShaderEffect(UINT effectId) override;
    HRESULT BeginShaderEffect(int a, int b) override;
    HRESULT BeginShaderPass(int a, int b) override;
    HRESULT EndShaderPass() override;
    HRESULT EndShaderEffect() override;
    HRESULT SetShaderTechnique(const char* name) override;
    HRESULT SetShaderMatrix(const char* name, const Matrix4& matrix) override;
    HRESULT SetShaderFloat(const char* name, float value) override;
    HRESULT BeginFrame(int clearColour, int clearDepth, int clearStencil) override;
    HRESULT EndFrame() override;
    void SetClearColor(float r, float g, float b) override;
    void SetDepthRange(float nearPlane, float farPlane) override;
    HRESULT SelectView(int a, int b) override;
    HRESULT SetupPerspective(float fieldOfView, const Viewport& viewport, int stage) override;

private:
    class SkinManager : public CSkinManager {
    public:
        explicit SkinManager(CRecordingRenderDevice& device) : device_(device) {}
        HRESULT AddSkin(const Color4& ambient, const Color4& diffuse, const Color4& emissive,
                        const Color4& specular, float power, UINT* skinId) override;
        HRESULT AddSkinTexture(UINT skinId, const char* file, int flags, float alpha) override;

    private:
        CRecordingRenderDevice& device_;
    };

    class BufferManager : public CBufferManager {
    public:
        explicit BufferManager(CRecordingRenderDevice& device) : device_(device) {}
        HRESULT CreateStaticBuffer(int vertexFormat, UINT skinId, UINT vertexCount, UINT indexCount,
                                   const void* vertices, const WORD* indices, int primitiveKind,
                                   UINT* bufferId) override;
        HRESULT RenderStaticBuffer(UINT bufferId, int flags) override;

    private:
        CRecordingRenderDevice& device_;
    };

    struct Failure {
        int from;
        HRESULT result;
    };

    // Counts this occurrence of the call; the scripted failure due for it,
    // or S_OK.
    HRESULT ScriptedResult(const std::string& call);
    // Appends the call with its result and returns the result.
    HRESULT Record(RecordedCall&& call, HRESULT result);
    bool IssuedSkin(UINT id) const { return id >= 1 && id <= skinCount_; }
    bool IssuedBuffer(UINT id) const { return id >= 1 && id <= bufferCount_; }
    bool IssuedEffect(UINT id) const { return id >= 1 && id <= effectCount_; }

    SkinManager skinManager_;
    BufferManager bufferManager_;
    std::vector<RecordedCall> calls_;
    std::map<std::string, Failure> failures_;
    std::map<std::string, int> occurrences_;
    UINT skinCount_ = 0;
    UINT bufferCount_ = 0;
    UINT effectCount_ = 0;
};
