// The render device's frames, view and shader effects.
#include "device/EmberDevice.h"

#include "device/DeviceSwitches.h"
#include "device/DeviceTrace.h"

#include <strings.h>

#include <cstdio>

namespace ember {

namespace {

int Channel(float value) {
    const float clamped = value < 0.0f ? 0.0f : (value > 1.0f ? 1.0f : value);
    return static_cast<int>(clamped * 255.0f + 0.5f);
}

// The effect file the device owns and reasons about, by its base name.
bool IsOwnEffectFile(const char* file) {
    const char* base = file;
    for (const char* c = file; *c != '\0'; ++c) {
        if (*c == '\\' || *c == '/') {
            base = c + 1;
        }
    }
    return strcasecmp(base, "vsm.fx") == 0;
}

}  // namespace

EmberDevice::EmberDevice()
    : skins_(&d3dDevice),
      buffers_(
          &d3dDevice, skins_, [this] { return BeforeDraw(); },
          BufferShortcuts{SwitchFromEnvironment(kCullChunksVariable),
                          SwitchFromEnvironment(kMagnifiedFilterVariable),
                          SwitchFromEnvironment(kMergeStraightStepsVariable)}),
      skipClearDraws_(SwitchFromEnvironment(kSkipClearDrawsVariable)) {}

EmberDevice::~EmberDevice() {
    for (ID3DXEffect* effect : effects_) {
        if (effect != nullptr) {
            effect->Release();
        }
    }
    if (d3dDevice != nullptr) {
        d3dDevice->Release();
        d3dDevice = nullptr;
    }
    if (direct3d_ != nullptr) {
        direct3d_->Release();
    }
}

HRESULT EmberDevice::Open(HWND window, int, int, int fullscreen) {
    if (d3dDevice != nullptr) {
        return E_FAIL;
    }
    if (window == nullptr || screenWidth <= 0 || screenHeight <= 0) {
        return E_INVALIDARG;
    }
    direct3d_ = Direct3DCreate9(D3D_SDK_VERSION);
    if (direct3d_ == nullptr) {
        return E_FAIL;
    }
    D3DPRESENT_PARAMETERS parameters{};
    parameters.BackBufferWidth = static_cast<UINT>(screenWidth);
    parameters.BackBufferHeight = static_cast<UINT>(screenHeight);
    parameters.BackBufferFormat = D3DFMT_X8R8G8B8;
    parameters.BackBufferCount = 1;
    parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
    parameters.hDeviceWindow = window;
    parameters.Windowed = fullscreen ? FALSE : TRUE;
    parameters.EnableAutoDepthStencil = TRUE;
    parameters.AutoDepthStencilFormat = D3DFMT_D24S8;
    parameters.PresentationInterval = D3DPRESENT_INTERVAL_ONE;
    const HRESULT result =
        direct3d_->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                D3DCREATE_HARDWARE_VERTEXPROCESSING, &parameters, &d3dDevice);
    if (FAILED(result)) {
        d3dDevice = nullptr;
        return result;
    }
    viewport_ = {0, 0, parameters.BackBufferWidth, parameters.BackBufferHeight, 0.0f, 1.0f};
    d3dDevice->SetRenderState(D3DRS_ZENABLE, TRUE);
    d3dDevice->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    drawFlag = 1;
    return S_OK;
}

UINT EmberDevice::LoadShaderEffect(const char* file) {
    if (d3dDevice == nullptr || file == nullptr) {
        return kInvalidEffectId;
    }
    ID3DXEffect* effect = nullptr;
    ID3DXBuffer* errors = nullptr;
    // Its calls are traced as the device's own, not as effect calls.
    const HRESULT result = D3DXCreateEffectFromFileA(
        d3dDevice, file, nullptr, nullptr, D3DXFX_STANDIN_NOTRACE, nullptr, &effect, &errors);
    if (FAILED(result)) {
        if (errors != nullptr) {
            std::fprintf(stderr, "%s\n", static_cast<const char*>(errors->GetBufferPointer()));
            errors->Release();
        } else {
            std::fprintf(stderr, "Shader effect \"%s\" could not be loaded\n", file);
        }
        return kInvalidEffectId;
    }
    if (errors != nullptr) {
        errors->Release();
    }
    effects_.push_back(effect);
    if (ownEffect_ == 0 && IsOwnEffectFile(file)) {
        ownEffect_ = static_cast<UINT>(effects_.size());
        tunnelTechnique_ = effect->GetTechniqueByName("RenderTunnel");
        opacityParameter_ = effect->GetParameterByName(nullptr, "fA");
        wvpParameter_ = effect->GetParameterByName(nullptr, "WVP");
    }
    return static_cast<UINT>(effects_.size());
}

HRESULT EmberDevice::UseShaderEffect(UINT effectId) {
    if (effectId == 0 || effectId > effects_.size()) {
        return E_FAIL;
    }
    currentEffect_ = effectId;
    return S_OK;
}

ID3DXEffect* EmberDevice::CurrentEffect() const {
    return currentEffect_ == 0 ? nullptr : effects_[currentEffect_ - 1];
}

void EmberDevice::CommitIfInPass() {
    if (inPass_) {
        CurrentEffect()->CommitChanges();
    }
}

// RenderTunnel blends by the texel's alpha times "fA", clamped to [0, 1]:
// with fA at or below 0 the frame's colour stays as it is, and the pass
// writes no depth. Its vertex stage places vertices by "WVP".
DrawView EmberDevice::BeforeDraw() {
    CommitIfInPass();
    DrawView view;
    if (ownPass_) {
        view.changesNoPixel = skipClearDraws_ && tunnelBegun_ && opacity_ <= 0.0f;
        view.wvp = hasWvp_ ? &wvp_ : nullptr;
    }
    return view;
}

HRESULT EmberDevice::BeginShaderEffect(int, int) {
    TraceCall("BeginShaderEffect");
    ID3DXEffect* effect = CurrentEffect();
    if (effect == nullptr) {
        return E_FAIL;
    }
    UINT passes = 0;
    const HRESULT result = effect->Begin(&passes, 0);
    tunnelBegun_ = SUCCEEDED(result) && OwnEffectIsCurrent() && tunnelTechniqueSet_;
    return result;
}

HRESULT EmberDevice::BeginShaderPass(int, int) {
    TraceCall("BeginShaderPass");
    ID3DXEffect* effect = CurrentEffect();
    if (effect == nullptr) {
        return E_FAIL;
    }
    const HRESULT result = effect->BeginPass(0);
    inPass_ = SUCCEEDED(result);
    ownPass_ = inPass_ && OwnEffectIsCurrent();
    return result;
}

HRESULT EmberDevice::EndShaderPass() {
    TraceCall("EndShaderPass");
    ID3DXEffect* effect = CurrentEffect();
    if (effect == nullptr) {
        return E_FAIL;
    }
    inPass_ = false;
    ownPass_ = false;
    return effect->EndPass();
}

HRESULT EmberDevice::EndShaderEffect() {
    TraceCall("EndShaderEffect");
    ID3DXEffect* effect = CurrentEffect();
    return effect != nullptr ? effect->End() : E_FAIL;
}

HRESULT EmberDevice::SetShaderTechnique(const char* name) {
    if (trace::On()) {
        trace::Line("dev", "SetShaderTechnique").Str("name", name ? name : "");
    }
    ID3DXEffect* effect = CurrentEffect();
    if (effect == nullptr || name == nullptr) {
        return E_FAIL;
    }
    D3DXHANDLE technique = effect->GetTechniqueByName(name);
    const HRESULT result = technique != nullptr ? effect->SetTechnique(technique) : E_FAIL;
    if (SUCCEEDED(result) && OwnEffectIsCurrent()) {
        tunnelTechniqueSet_ = technique == tunnelTechnique_;
    }
    return result;
}

HRESULT EmberDevice::SetShaderMatrix(const char* name, const Matrix4& matrix) {
    if (trace::On()) {
        trace::Line("dev", "SetShaderMatrix").Str("name", name ? name : "").Floats("m", matrix, 16);
    }
    ID3DXEffect* effect = CurrentEffect();
    if (effect == nullptr || name == nullptr) {
        return E_FAIL;
    }
    D3DXHANDLE parameter = effect->GetParameterByName(nullptr, name);
    const HRESULT result = parameter != nullptr ? effect->SetMatrix(parameter, &matrix) : E_FAIL;
    if (SUCCEEDED(result) && OwnEffectIsCurrent() && parameter == wvpParameter_) {
        wvp_ = matrix;
        hasWvp_ = true;
    }
    return result;
}

HRESULT EmberDevice::SetShaderFloat(const char* name, float value) {
    if (trace::On()) {
        trace::Line("dev", "SetShaderFloat").Str("name", name ? name : "").Float("value", value);
    }
    ID3DXEffect* effect = CurrentEffect();
    if (effect == nullptr || name == nullptr) {
        return E_FAIL;
    }
    D3DXHANDLE parameter = effect->GetParameterByName(nullptr, name);
    const HRESULT result = parameter != nullptr ? effect->SetFloat(parameter, value) : E_FAIL;
    if (SUCCEEDED(result) && OwnEffectIsCurrent() && parameter == opacityParameter_) {
        opacity_ = value;
    }
    return result;
}

HRESULT EmberDevice::BeginFrame(int clearColour, int clearDepth, int clearStencil) {
    HRESULT result = E_FAIL;
    if (d3dDevice != nullptr) {
        DWORD flags = 0;
        flags |= clearColour ? D3DCLEAR_TARGET : 0;
        flags |= clearDepth ? D3DCLEAR_ZBUFFER : 0;
        flags |= clearStencil ? D3DCLEAR_STENCIL : 0;
        const D3DCOLOR colour = D3DCOLOR_XRGB(Channel(clearColour_[0]), Channel(clearColour_[1]),
                                              Channel(clearColour_[2]));
        result = d3dDevice->BeginScene();
        if (SUCCEEDED(result) && flags != 0) {
            result = d3dDevice->Clear(0, nullptr, flags, colour, 1.0f, 0);
        }
    }
    TraceResult("BeginFrame", result);
    return result;
}

HRESULT EmberDevice::EndFrame() {
    TraceCall("EndFrame");
    if (d3dDevice == nullptr) {
        return E_FAIL;
    }
    d3dDevice->EndScene();
    return d3dDevice->Present(nullptr, nullptr, nullptr, nullptr);
}

void EmberDevice::SetClearColor(float r, float g, float b) {
    clearColour_[0] = r;
    clearColour_[1] = g;
    clearColour_[2] = b;
    if (trace::On()) {
        trace::Line("dev", "SetClearColor").Floats("rgb", clearColour_, 3);
    }
}

void EmberDevice::SetDepthRange(float nearPlane, float farPlane) {
    nearPlane_ = nearPlane;
    farPlane_ = farPlane;
}

HRESULT EmberDevice::SetupPerspective(float fieldOfView, const Viewport& viewport, int) {
    if (viewport.width <= 0 || viewport.height <= 0 || viewport.x < 0 || viewport.y < 0) {
        return E_INVALIDARG;
    }
    viewport_ = {static_cast<DWORD>(viewport.x),
                 static_cast<DWORD>(viewport.y),
                 static_cast<DWORD>(viewport.width),
                 static_cast<DWORD>(viewport.height),
                 0.0f,
                 1.0f};
    const float aspect = static_cast<float>(viewport.width) / static_cast<float>(viewport.height);
    D3DXMatrixPerspectiveFovLH(&projection_, fieldOfView, aspect, nearPlane_, farPlane_);
    return S_OK;
}

HRESULT EmberDevice::SelectView(int, int) {
    const HRESULT result = d3dDevice != nullptr ? d3dDevice->SetViewport(&viewport_) : E_FAIL;
    TraceResult("SelectView", result);
    return result;
}

}  // namespace ember
