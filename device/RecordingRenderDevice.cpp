// The recording render device: every call is appended to the call list with
// its arguments and result; ids count up from 1; scripted failures stand in
// for a device that runs out of resources.
#include "device/RecordingRenderDevice.h"

#include <cstring>
#include <utility>

namespace {

RecordedCall Named(const char* call) {
    RecordedCall recorded;
    recorded.call = call;
    return recorded;
}

std::string TextOf(const char* text) {
    return text != nullptr ? text : "";
}

}  // namespace

CRecordingRenderDevice::CRecordingRenderDevice() : skinManager_(*this), bufferManager_(*this) {}

std::vector<RecordedCall> CRecordingRenderDevice::CallsNamed(const std::string& call) const {
    std::vector<RecordedCall> named;
    for (const RecordedCall& recorded : calls_) {
        if (recorded.call == call) {
            named.push_back(recorded);
        }
    }
    return named;
}

void CRecordingRenderDevice::FailFrom(const std::string& call, int from, HRESULT result) {
    failures_[call] = {from, result};
}

UINT CRecordingRenderDevice::VertexSize(int vertexFormat) {
    switch (vertexFormat) {
        case kVertexFormatPicture:
            return 24;
        case kVertexFormatModel:
            return 52;
        default:
            return 0;
    }
}

HRESULT CRecordingRenderDevice::ScriptedResult(const std::string& call) {
    const int occurrence = ++occurrences_[call];
    const auto failure = failures_.find(call);
    if (failure != failures_.end() && occurrence >= failure->second.from) {
        return failure->second.result;
    }
    return S_OK;
}

HRESULT CRecordingRenderDevice::Record(RecordedCall&& call, HRESULT result) {
    call.result = result;
    calls_.push_back(std::move(call));
    return result;
}

HRESULT CRecordingRenderDevice::Open(HWND window, int adapter, int flags, int fullscreen) {
    RecordedCall call = Named("Open");
    call.window = reinterpret_cast<std::uintptr_t>(window);
    call.ints = {adapter, flags, fullscreen};
    const HRESULT result = ScriptedResult(call.call);
    if (SUCCEEDED(result)) {
        drawFlag = 1;
    }
    return Record(std::move(call), result);
}

CBufferManager* CRecordingRenderDevice::GetBufferManager() {
    const HRESULT result = ScriptedResult("GetBufferManager");
    Record(Named("GetBufferManager"), result);
    return SUCCEEDED(result) ? &bufferManager_ : nullptr;
}

CSkinManager* CRecordingRenderDevice::GetSkinManager() {
    const HRESULT result = ScriptedResult("GetSkinManager");
    Record(Named("GetSkinManager"), result);
    return SUCCEEDED(result) ? &skinManager_ : nullptr;
}

UINT CRecordingRenderDevice::LoadShaderEffect(const char* file) {
    RecordedCall call = Named("LoadShaderEffect");
    call.name = TextOf(file);
    HRESULT result = ScriptedResult(call.call);
    if (SUCCEEDED(result) && file == nullptr) {
        result = E_INVALIDARG;
    }
    if (SUCCEEDED(result)) {
        call.effect = ++effectCount_;
    }
    const UINT effect = SUCCEEDED(result) ? call.effect : kInvalidEffectId;
    Record(std::move(call), result);
    return effect;
}

HRESULT CRecordingRenderDevice::UseShaderEffect(UINT effectId) {
    RecordedCall call = Named("UseShaderEffect");
    call.effect = effectId;
    HRESULT result = ScriptedResult(call.call);
    if (SUCCEEDED(result) && !IssuedEffect(effectId)) {
        result = E_FAIL;
    }
    return Record(std::move(call), result);
}

HRESULT CRecordingRenderDevice::BeginShaderEffect(int a, int b) {
    RecordedCall call = Named("BeginShaderEffect");
    call.ints = {a, b};
    const HRESULT result = ScriptedResult(call.call);
    return Record(std::move(call), result);
}

HRESULT CRecordingRenderDevice::BeginShaderPass(int a, int b) {
    RecordedCall call = Named("BeginShaderPass");
    call.ints = {a, b};
    const HRESULT result = ScriptedResult(call.call);
    return Record(std::move(call), result);
}

HRESULT CRecordingRenderDevice::EndShaderPass() {
    return Record(Named("EndShaderPass"), ScriptedResult("EndShaderPass"));
}

HRESULT CRecordingRenderDevice::EndShaderEffect() {
    return Record(Named("EndShaderEffect"), ScriptedResult("EndShaderEffect"));
}

HRESULT CRecordingRenderDevice::SetShaderTechnique(const char* name) {
    RecordedCall call = Named("SetShaderTechnique");
    call.name = TextOf(name);
    HRESULT result = ScriptedResult(call.call);
    if (SUCCEEDED(result) && name == nullptr) {
        result = E_INVALIDARG;
    }
    return Record(std::move(call), result);
}

HRESULT CRecordingRenderDevice::SetShaderMatrix(const char* name, const Matrix4& matrix) {
    RecordedCall call = Named("SetShaderMatrix");
    call.name = TextOf(name);
    call.matrix = matrix;
    HRESULT result = ScriptedResult(call.call);
    if (SUCCEEDED(result) && name == nullptr) {
        result = E_INVALIDARG;
    }
    return Record(std::move(call), result);
}

HRESULT CRecordingRenderDevice::SetShaderFloat(const char* name, float value) {
    RecordedCall call = Named("SetShaderFloat");
    call.name = TextOf(name);
    call.floats = {value};
    HRESULT result = ScriptedResult(call.call);
    if (SUCCEEDED(result) && name == nullptr) {
        result = E_INVALIDARG;
    }
    return Record(std::move(call), result);
}

HRESULT CRecordingRenderDevice::BeginFrame(int clearColour, int clearDepth, int clearStencil) {
    RecordedCall call = Named("BeginFrame");
    call.ints = {clearColour, clearDepth, clearStencil};
    const HRESULT result = ScriptedResult(call.call);
    return Record(std::move(call), result);
}

HRESULT CRecordingRenderDevice::EndFrame() {
    return Record(Named("EndFrame"), ScriptedResult("EndFrame"));
}

void CRecordingRenderDevice::SetClearColor(float r, float g, float b) {
    RecordedCall call = Named("SetClearColor");
    call.floats = {r, g, b};
    Record(std::move(call), S_OK);
}

void CRecordingRenderDevice::SetDepthRange(float nearPlane, float farPlane) {
    RecordedCall call = Named("SetDepthRange");
    call.floats = {nearPlane, farPlane};
    Record(std::move(call), S_OK);
}

HRESULT CRecordingRenderDevice::SelectView(int a, int b) {
    RecordedCall call = Named("SelectView");
    call.ints = {a, b};
    const HRESULT result = ScriptedResult(call.call);
    return Record(std::move(call), result);
}

HRESULT CRecordingRenderDevice::SetupPerspective(float fieldOfView, const Viewport& viewport,
                                                 int stage) {
    RecordedCall call = Named("SetupPerspective");
    call.floats = {fieldOfView};
    call.viewport = viewport;
    call.ints = {stage};
    const HRESULT result = ScriptedResult(call.call);
    return Record(std::move(call), result);
}

HRESULT CRecordingRenderDevice::SkinManager::AddSkin(const Color4& ambient, const Color4& diffuse,
                                                     const Color4& emissive, const Color4& specular,
                                                     float power, UINT* skinId) {
    RecordedCall call = Named("AddSkin");
    call.ambient = ambient;
    call.diffuse = diffuse;
    call.emissive = emissive;
    call.specular = specular;
    call.power = power;
    HRESULT result = device_.ScriptedResult(call.call);
    if (SUCCEEDED(result) && skinId == nullptr) {
        result = E_INVALIDARG;
    }
    if (SUCCEEDED(result)) {
        call.skin = ++device_.skinCount_;
        *skinId = call.skin;
    }
    return device_.Record(std::move(call), result);
}

HRESULT CRecordingRenderDevice::SkinManager::AddSkinTexture(UINT skinId, const char* file,
                                                            int flags, float alpha) {
    RecordedCall call = Named("AddSkinTexture");
    call.skin = skinId;
    call.name = TextOf(file);
    call.ints = {flags};
    call.floats = {alpha};
    HRESULT result = device_.ScriptedResult(call.call);
    if (SUCCEEDED(result) && !device_.IssuedSkin(skinId)) {
        result = E_FAIL;
    }
    if (SUCCEEDED(result) && file == nullptr) {
        result = E_INVALIDARG;
    }
    return device_.Record(std::move(call), result);
}

HRESULT CRecordingRenderDevice::BufferManager::CreateStaticBuffer(
    int vertexFormat, UINT skinId, UINT vertexCount, UINT indexCount, const void* vertices,
    const WORD* indices, int primitiveKind, UINT* bufferId) {
    RecordedCall call = Named("CreateStaticBuffer");
    call.ints = {vertexFormat, primitiveKind};
    call.skin = skinId;
    call.vertexCount = vertexCount;
    call.indexCount = indexCount;
    const UINT vertexSize = VertexSize(vertexFormat);
    if (vertices != nullptr) {
        const auto* bytes = static_cast<const std::uint8_t*>(vertices);
        call.vertices.assign(bytes, bytes + std::size_t{vertexSize} * vertexCount);
    }
    if (indices != nullptr) {
        call.indices.assign(indices, indices + indexCount);
    }

    HRESULT result = device_.ScriptedResult(call.call);
    if (SUCCEEDED(result) && !device_.IssuedSkin(skinId)) {
        result = E_FAIL;
    }
    const bool argumentsValid =
        vertexSize != 0 && bufferId != nullptr &&
        (primitiveKind == kPrimitiveTriangleList || primitiveKind == kPrimitiveTriangleStrip) &&
        (vertices != nullptr || vertexCount == 0) && (indices != nullptr || indexCount == 0);
    if (SUCCEEDED(result) && !argumentsValid) {
        result = E_INVALIDARG;
    }
    for (const WORD index : call.indices) {
        if (SUCCEEDED(result) && index >= vertexCount) {
            result = E_INVALIDARG;
        }
    }
    if (SUCCEEDED(result)) {
        call.buffer = ++device_.bufferCount_;
        *bufferId = call.buffer;
    }
    return device_.Record(std::move(call), result);
}

HRESULT CRecordingRenderDevice::BufferManager::RenderStaticBuffer(UINT bufferId, int flags) {
    RecordedCall call = Named("RenderStaticBuffer");
    call.buffer = bufferId;
    call.ints = {flags};
    HRESULT result = device_.ScriptedResult(call.call);
    if (SUCCEEDED(result) && !device_.IssuedBuffer(bufferId)) {
        result = E_FAIL;
    }
    return device_.Record(std::move(call), result);
}
