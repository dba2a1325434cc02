// A D3DX effect that draws nothing and records every call in order with its
// arguments, standing in for the offset-mapping effect in the show's tests.
// Begin reports a settable number of passes.
#pragma once

#include "render/Matrix4.h"

#include <d3dx9.h>

#include <string>
#include <vector>

struct EffectCall {
    std::string call;
    std::string name;  // parameter or technique
    UINT number = 0;   // BeginPass's pass, Begin's flags
    float value = 0.0f;
    D3DXVECTOR4 vector{};
    Matrix4 matrix{};
};

class RecordingEffect final : public ID3DXEffect {
public:
    ~RecordingEffect() override = default;

    const std::vector<EffectCall>& Calls() const { return calls_; }
    void ClearCalls() { calls_.clear(); }
    void SetPassCount(UINT passes) { passes_ = passes; }

    // The calls of one operation, in order.
    std::vector<EffectCall> CallsNamed(const std::string& call) const {
        std::vector<EffectCall> named;
        for (const EffectCall& recorded : calls_) {
            if (recorded.call == call) {
                named.push_back(recorded);
            }
        }
        return named;
    }

    ULONG AddRef() override { return ++references_; }
    ULONG Release() override { return --references_; }

    D3DXHANDLE GetTechniqueByName(LPCSTR name) override {
        Record("GetTechniqueByName", name);
        return name;
    }
    D3DXHANDLE GetParameterByName(D3DXHANDLE, LPCSTR name) override {
        Record("GetParameterByName", name);
        return name;
    }
    HRESULT SetTechnique(D3DXHANDLE technique) override {
        Record("SetTechnique", technique);
        return S_OK;
    }
    HRESULT Begin(UINT* passes, DWORD flags) override {
        Record("Begin", "").number = flags;
        *passes = passes_;
        return S_OK;
    }
    HRESULT BeginPass(UINT pass) override {
        Record("BeginPass", "").number = pass;
        return S_OK;
    }
    HRESULT CommitChanges() override {
        Record("CommitChanges", "");
        return S_OK;
    }
    HRESULT EndPass() override {
        Record("EndPass", "");
        return S_OK;
    }
    HRESULT End() override {
        Record("End", "");
        return S_OK;
    }
    HRESULT SetMatrix(D3DXHANDLE parameter, const D3DXMATRIX* matrix) override {
        static_cast<D3DXMATRIX&>(Record("SetMatrix", parameter).matrix) = *matrix;
        return S_OK;
    }
    HRESULT SetFloat(D3DXHANDLE parameter, float value) override {
        Record("SetFloat", parameter).value = value;
        return S_OK;
    }
    HRESULT SetVector(D3DXHANDLE parameter, const D3DXVECTOR4* vector) override {
        Record("SetVector", parameter).vector = *vector;
        return S_OK;
    }
    HRESULT SetTexture(D3DXHANDLE parameter, IDirect3DBaseTexture9*) override {
        Record("SetTexture", parameter);
        return S_OK;
    }
    // The show never reads parameters back.
    HRESULT GetFloat(D3DXHANDLE, float*) override { return E_NOTIMPL; }
    HRESULT GetVector(D3DXHANDLE, D3DXVECTOR4*) override { return E_NOTIMPL; }
    HRESULT GetMatrix(D3DXHANDLE, D3DXMATRIX*) override { return E_NOTIMPL; }
    HRESULT GetTexture(D3DXHANDLE, IDirect3DBaseTexture9**) override { return E_NOTIMPL; }

private:
    EffectCall& Record(const char* call, const char* name) {
        calls_.push_back({call, name != nullptr ? name : ""});
        return calls_.back();
    }

    std::vector<EffectCall> calls_;
    UINT passes_ = 1;
    ULONG references_ = 1;
};
