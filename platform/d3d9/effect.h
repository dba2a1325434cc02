// The ID3DXEffect both backends share: handles and names, the order of
// Begin/BeginPass/EndPass/End, parameter values and the call trace. A backend
// adds what applying a pass means (GL state and uniforms, or nothing).
#pragma once

#include <d3dx9.h>

#include "com_object.h"
#include "effect_file.h"
#include "parameter_store.h"
#include "resources.h"

#include <cstddef>
#include <cstdint>

// One effect call as the trace and the recording backend see it.
struct EffectCall {
    explicit EffectCall(const char* call, const char* name = nullptr) : call(call), name(name) {}

    const char* call;
    // The parameter or technique, by name (as given when it did not resolve).
    const char* name;
    const float* values = nullptr;
    std::size_t count = 0;  // 1 SetFloat, 4 SetVector, 16 SetMatrix
    const TextureBase* texture = nullptr;
    const char* numberKey = nullptr;  // "passes" for Begin, "pass" for BeginPass
    UINT number = 0;
    bool traced = true;  // lookups and reads write no trace line
    HRESULT result = D3D_OK;
};

// Handles are small integers: parameter i is i + 1, technique i is
// kTechniqueHandleBase + i; anything at or above 0x10000 is a name string.
constexpr std::uintptr_t kTechniqueHandleBase = 0x8000;
constexpr std::uintptr_t kFirstNameAddress = 0x10000;

class Effect : public ComObject<ID3DXEffect> {
public:
    D3DXHANDLE GetTechniqueByName(LPCSTR name) override;
    D3DXHANDLE GetParameterByName(D3DXHANDLE parent, LPCSTR name) override;
    HRESULT SetTechnique(D3DXHANDLE technique) override;
    HRESULT Begin(UINT* passes, DWORD flags) override;
    HRESULT BeginPass(UINT pass) override;
    HRESULT CommitChanges() override;
    HRESULT EndPass() override;
    HRESULT End() override;
    HRESULT SetMatrix(D3DXHANDLE parameter, const D3DXMATRIX* matrix) override;
    HRESULT SetFloat(D3DXHANDLE parameter, float value) override;
    HRESULT SetVector(D3DXHANDLE parameter, const D3DXVECTOR4* vector) override;
    HRESULT SetTexture(D3DXHANDLE parameter, IDirect3DBaseTexture9* texture) override;
    HRESULT GetFloat(D3DXHANDLE parameter, float* value) override;
    HRESULT GetVector(D3DXHANDLE parameter, D3DXVECTOR4* vector) override;
    HRESULT GetMatrix(D3DXHANDLE parameter, D3DXMATRIX* matrix) override;
    HRESULT GetTexture(D3DXHANDLE parameter, IDirect3DBaseTexture9** texture) override;

    const EffectFile& File() const { return file_; }

protected:
    // Takes a reference to the device. Effects made without
    // D3DXFX_STANDIN_NOTRACE get the next trace id.
    Effect(DeviceBackend* owner, EffectFile file, DWORD flags);
    ~Effect() override;

    // Called once the call's arguments and order have been checked.
    // Indices into File().techniques and its passes.
    virtual void BeginTechnique(std::size_t technique, DWORD flags) = 0;
    virtual void ApplyPass(std::size_t technique, std::size_t pass) = 0;
    virtual void CommitPass(std::size_t technique, std::size_t pass) = 0;
    virtual void EndTechnique(std::size_t technique) = 0;
    // Every call, failed ones included.
    virtual void Note(const EffectCall& call);

    DeviceBackend* Owner() const { return owner_; }
    ParameterStore& Parameters() { return store_; }

private:
    // Holds the device for as long as the effect's members live.
    struct DeviceReference {
        explicit DeviceReference(IDirect3DDevice9* device);
        ~DeviceReference();
        IDirect3DDevice9* device;
    };

    int ParameterIndex(D3DXHANDLE handle) const;
    int TechniqueIndex(D3DXHANDLE handle) const;
    const char* ParameterName(D3DXHANDLE handle, int index) const;
    HRESULT Report(const EffectCall& call);
    HRESULT SetNumbers(const char* call, D3DXHANDLE parameter, const float* values,
                       std::size_t count);

    DeviceReference device_;
    DeviceBackend* owner_;
    EffectFile file_;
    ParameterStore store_;
    int traceId_;
    int technique_;
    bool begun_ = false;
    int pass_ = -1;
};
