// The shared ID3DXEffect: handle resolution, call order, parameter values and
// the trace line of each call.
#include "effect.h"

#include <trace.h>

#include <cstring>

namespace {

// Traced effects are numbered by creation order, from 1, across the process.
int g_tracedEffects = 0;

bool IsHandle(D3DXHANDLE handle) {
    return reinterpret_cast<std::uintptr_t>(handle) < kFirstNameAddress;
}

}  // namespace

Effect::DeviceReference::DeviceReference(IDirect3DDevice9* device) : device(device) {
    device->AddRef();
}

Effect::DeviceReference::~DeviceReference() {
    device->Release();
}

Effect::Effect(DeviceBackend* owner, EffectFile file, DWORD flags)
    : device_(owner->Device()),
      owner_(owner),
      file_(std::move(file)),
      store_(file_.parameters),
      traceId_((flags & D3DXFX_STANDIN_NOTRACE) != 0 ? 0 : ++g_tracedEffects),
      technique_(file_.techniques.empty() ? -1 : 0) {}

Effect::~Effect() {
    owner_->Forget(this);
}

void Effect::Note(const EffectCall& /*call*/) {}

int Effect::ParameterIndex(D3DXHANDLE handle) const {
    if (handle == nullptr) {
        return -1;
    }
    if (IsHandle(handle)) {
        const std::uintptr_t value = reinterpret_cast<std::uintptr_t>(handle);
        return value >= 1 && value <= file_.parameters.size() ? int(value - 1) : -1;
    }
    for (std::size_t p = 0; p < file_.parameters.size(); ++p) {
        if (file_.parameters[p].name == handle) {
            return int(p);
        }
    }
    return -1;
}

int Effect::TechniqueIndex(D3DXHANDLE handle) const {
    if (handle == nullptr) {
        return -1;
    }
    if (IsHandle(handle)) {
        const std::uintptr_t value = reinterpret_cast<std::uintptr_t>(handle);
        return value >= kTechniqueHandleBase &&
                       value - kTechniqueHandleBase < file_.techniques.size()
                   ? int(value - kTechniqueHandleBase)
                   : -1;
    }
    for (std::size_t t = 0; t < file_.techniques.size(); ++t) {
        if (file_.techniques[t].name == handle) {
            return int(t);
        }
    }
    return -1;
}

const char* Effect::ParameterName(D3DXHANDLE handle, int index) const {
    if (index >= 0) {
        return file_.parameters[std::size_t(index)].name.c_str();
    }
    return handle != nullptr && !IsHandle(handle) ? handle : "";
}

HRESULT Effect::Report(const EffectCall& call) {
    if (trace::On() && traceId_ != 0 && call.traced && call.result == D3D_OK) {
        trace::Line line("fx", file_.baseName.c_str());
        line.Int("id", traceId_).Str("call", call.call);
        if (call.name != nullptr) {
            line.Str("name", call.name);
        }
        if (call.count == 1) {
            line.Float("value", call.values[0]);
        } else if (call.count == 4) {
            line.Floats("v", call.values, 4);
        } else if (call.count == 16) {
            line.Floats("m", call.values, 16);
        }
        if (call.numberKey != nullptr) {
            line.UInt(call.numberKey, call.number);
        }
    }
    Note(call);
    return call.result;
}

D3DXHANDLE Effect::GetTechniqueByName(LPCSTR name) {
    const int index = name != nullptr && !IsHandle(name) ? TechniqueIndex(name) : -1;
    EffectCall call("GetTechniqueByName", name != nullptr && !IsHandle(name) ? name : "");
    call.traced = false;
    call.result = index >= 0 ? D3D_OK : D3DERR_INVALIDCALL;
    Report(call);
    return index >= 0 ? reinterpret_cast<D3DXHANDLE>(kTechniqueHandleBase + std::uintptr_t(index))
                      : nullptr;
}

D3DXHANDLE Effect::GetParameterByName(D3DXHANDLE parent, LPCSTR name) {
    // Parameters are not structures: only top-level lookups find anything.
    const int index =
        parent == nullptr && name != nullptr && !IsHandle(name) ? ParameterIndex(name) : -1;
    EffectCall call("GetParameterByName", name != nullptr && !IsHandle(name) ? name : "");
    call.traced = false;
    call.result = index >= 0 ? D3D_OK : D3DERR_INVALIDCALL;
    Report(call);
    return index >= 0 ? reinterpret_cast<D3DXHANDLE>(std::uintptr_t(index) + 1) : nullptr;
}

HRESULT Effect::SetTechnique(D3DXHANDLE technique) {
    const int index = TechniqueIndex(technique);
    EffectCall call("SetTechnique");
    call.name = index >= 0 ? file_.techniques[std::size_t(index)].name.c_str()
                           : (technique != nullptr && !IsHandle(technique) ? technique : "");
    if (index < 0 || begun_) {
        call.result = D3DERR_INVALIDCALL;
        return Report(call);
    }
    technique_ = index;
    return Report(call);
}

HRESULT Effect::Begin(UINT* passes, DWORD flags) {
    EffectCall call("Begin");
    if (begun_ || technique_ < 0) {
        call.result = D3DERR_INVALIDCALL;
        return Report(call);
    }
    const TechniqueDesc& technique = file_.techniques[std::size_t(technique_)];
    BeginTechnique(std::size_t(technique_), flags);
    begun_ = true;
    call.numberKey = "passes";
    call.number = static_cast<UINT>(technique.passes.size());
    if (passes != nullptr) {
        *passes = call.number;
    }
    return Report(call);
}

HRESULT Effect::BeginPass(UINT pass) {
    EffectCall call("BeginPass");
    call.numberKey = "pass";
    call.number = pass;
    if (!begun_ || pass_ >= 0 || pass >= file_.techniques[std::size_t(technique_)].passes.size()) {
        call.result = D3DERR_INVALIDCALL;
        return Report(call);
    }
    owner_->UseShadersOf(this);
    ApplyPass(std::size_t(technique_), pass);
    store_.MarkUploaded();
    pass_ = int(pass);
    return Report(call);
}

HRESULT Effect::CommitChanges() {
    // Not in the trace: the values it uploads have their own Set lines.
    EffectCall call("CommitChanges");
    call.traced = false;
    if (pass_ < 0) {
        call.result = D3DERR_INVALIDCALL;
        return Report(call);
    }
    CommitPass(std::size_t(technique_), std::size_t(pass_));
    store_.MarkUploaded();
    return Report(call);
}

HRESULT Effect::EndPass() {
    EffectCall call("EndPass");
    if (pass_ < 0) {
        call.result = D3DERR_INVALIDCALL;
        return Report(call);
    }
    pass_ = -1;
    return Report(call);
}

HRESULT Effect::End() {
    EffectCall call("End");
    if (!begun_) {
        call.result = D3DERR_INVALIDCALL;
        return Report(call);
    }
    // A pass left open ends with its technique.
    pass_ = -1;
    begun_ = false;
    EndTechnique(std::size_t(technique_));
    return Report(call);
}

HRESULT Effect::SetNumbers(const char* name, D3DXHANDLE parameter, const float* values,
                           std::size_t count) {
    const int index = ParameterIndex(parameter);
    EffectCall call(name, ParameterName(parameter, index));
    call.values = values;
    call.count = count;
    if (index < 0) {
        call.result = D3DERR_INVALIDCALL;
        return Report(call);
    }
    const ParameterType type = file_.parameters[std::size_t(index)].type;
    const std::size_t capacity = FloatCount(type);
    // A float or vector takes what fits of a vector; only a mat4 takes a
    // matrix; a sampler takes no numbers.
    const bool fits = count == 16 ? type == ParameterType::Mat4
                                  : capacity > 0 && (count == 1 || type != ParameterType::Mat4);
    if (!fits) {
        call.result = D3DERR_INVALIDCALL;
        return Report(call);
    }
    store_.SetValues(std::size_t(index), values, count < capacity ? count : capacity);
    return Report(call);
}

HRESULT Effect::SetMatrix(D3DXHANDLE parameter, const D3DXMATRIX* matrix) {
    if (matrix == nullptr) {
        EffectCall call("SetMatrix", ParameterName(parameter, ParameterIndex(parameter)));
        call.result = D3DERR_INVALIDCALL;
        return Report(call);
    }
    return SetNumbers("SetMatrix", parameter, &matrix->_11, 16);
}

HRESULT Effect::SetFloat(D3DXHANDLE parameter, float value) {
    return SetNumbers("SetFloat", parameter, &value, 1);
}

HRESULT Effect::SetVector(D3DXHANDLE parameter, const D3DXVECTOR4* vector) {
    if (vector == nullptr) {
        EffectCall call("SetVector", ParameterName(parameter, ParameterIndex(parameter)));
        call.result = D3DERR_INVALIDCALL;
        return Report(call);
    }
    const float values[4] = {vector->x, vector->y, vector->z, vector->w};
    return SetNumbers("SetVector", parameter, values, 4);
}

HRESULT Effect::SetTexture(D3DXHANDLE parameter, IDirect3DBaseTexture9* texture) {
    const int index = ParameterIndex(parameter);
    TextureBase* ours = TextureOf(texture);
    EffectCall call("SetTexture", ParameterName(parameter, index));
    call.texture = ours;
    if (index < 0 || file_.parameters[std::size_t(index)].type != ParameterType::Sampler2D ||
        (texture != nullptr && (ours == nullptr || !ours->BelongsTo(owner_)))) {
        call.result = D3DERR_INVALIDCALL;
        return Report(call);
    }
    store_.SetTexture(std::size_t(index), texture);
    return Report(call);
}

HRESULT Effect::GetFloat(D3DXHANDLE parameter, float* value) {
    const int index = ParameterIndex(parameter);
    EffectCall call("GetFloat", ParameterName(parameter, index));
    call.traced = false;
    if (value == nullptr || index < 0 ||
        FloatCount(file_.parameters[std::size_t(index)].type) == 0) {
        call.result = D3DERR_INVALIDCALL;
        return Report(call);
    }
    *value = store_.Values(std::size_t(index))[0];
    return Report(call);
}

HRESULT Effect::GetVector(D3DXHANDLE parameter, D3DXVECTOR4* vector) {
    const int index = ParameterIndex(parameter);
    EffectCall call("GetVector", ParameterName(parameter, index));
    call.traced = false;
    const std::size_t count =
        index >= 0 ? FloatCount(file_.parameters[std::size_t(index)].type) : 0;
    if (vector == nullptr || count == 0 || count > 4) {
        call.result = D3DERR_INVALIDCALL;
        return Report(call);
    }
    const float* values = store_.Values(std::size_t(index));
    *vector = {values[0], count > 1 ? values[1] : 0.0f, count > 2 ? values[2] : 0.0f,
               count > 3 ? values[3] : 0.0f};
    return Report(call);
}

HRESULT Effect::GetMatrix(D3DXHANDLE parameter, D3DXMATRIX* matrix) {
    const int index = ParameterIndex(parameter);
    EffectCall call("GetMatrix", ParameterName(parameter, index));
    call.traced = false;
    if (matrix == nullptr || index < 0 ||
        file_.parameters[std::size_t(index)].type != ParameterType::Mat4) {
        call.result = D3DERR_INVALIDCALL;
        return Report(call);
    }
    std::memcpy(&matrix->_11, store_.Values(std::size_t(index)), 16 * sizeof(float));
    return Report(call);
}

HRESULT Effect::GetTexture(D3DXHANDLE parameter, IDirect3DBaseTexture9** texture) {
    const int index = ParameterIndex(parameter);
    EffectCall call("GetTexture", ParameterName(parameter, index));
    call.traced = false;
    if (texture == nullptr || index < 0 ||
        file_.parameters[std::size_t(index)].type != ParameterType::Sampler2D) {
        call.result = D3DERR_INVALIDCALL;
        return Report(call);
    }
    *texture = store_.Texture(std::size_t(index));
    if (*texture != nullptr) {
        (*texture)->AddRef();
    }
    call.texture = TextureOf(*texture);
    return Report(call);
}
