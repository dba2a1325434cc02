// libFuzzer target: any bytes as an effect file. The parser itself, every
// stage's GLSL text as the OpenGL backend would compile it, and
// D3DXCreateEffectFromFileA on the recording backend, whose effect is then
// driven through each technique, pass and parameter the parser found.
#include "fuzz/FuzzFile.h"
#include "platform/d3d9/effect_file.h"

#include <d3d9_record.h>
#include <d3dx9.h>

#include <cstdint>
#include <string>

namespace {

IDirect3DDevice9* Device() {
    static IDirect3DDevice9* const device = d3d9::CreateRecordingDevice(nullptr);
    return device;
}

void SetEveryParameter(ID3DXEffect* effect, const EffectFile& file) {
    D3DXMATRIX matrix{};
    float* element = matrix;
    for (int i = 0; i < 16; ++i) {
        element[i] = static_cast<float>(i + 1);
    }
    const D3DXVECTOR4 vector = {0.25f, 0.5f, 0.75f, 1.0f};
    for (const ParameterDesc& parameter : file.parameters) {
        const D3DXHANDLE handle = effect->GetParameterByName(nullptr, parameter.name.c_str());
        effect->SetFloat(handle, 0.5f);
        effect->SetVector(handle, &vector);
        effect->SetMatrix(handle, &matrix);
        effect->SetTexture(handle, nullptr);
        float value = 0.0f;
        effect->GetFloat(handle, &value);
    }
}

void RunEveryPass(ID3DXEffect* effect, const EffectFile& file) {
    for (const TechniqueDesc& technique : file.techniques) {
        if (FAILED(effect->SetTechnique(technique.name.c_str()))) {
            continue;
        }
        UINT passes = 0;
        if (FAILED(effect->Begin(&passes, 0))) {
            continue;
        }
        for (UINT pass = 0; pass < passes; ++pass) {
            if (SUCCEEDED(effect->BeginPass(pass))) {
                effect->CommitChanges();
                effect->EndPass();
            }
        }
        effect->End();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = fuzz::InputPath("effect_file_fuzz", ".fx");
    const std::string text(reinterpret_cast<const char*>(data), size);

    EffectFile parsed;
    std::string error;
    const bool parses = ParseEffectFile(path, text, &parsed, &error);
    if (parses) {
        for (std::size_t stage = 0; stage < parsed.stages.size(); ++stage) {
            parsed.StageText(stage);
        }
    }

    if (!fuzz::WriteInput(path, data, size)) {
        return 0;
    }
    ID3DXEffect* effect = nullptr;
    ID3DXBuffer* errors = nullptr;
    const HRESULT result = D3DXCreateEffectFromFileA(Device(), path.c_str(), nullptr, nullptr, 0,
                                                     nullptr, &effect, &errors);
    if (errors != nullptr) {
        errors->Release();
    }
    if (SUCCEEDED(result) && effect != nullptr) {
        if (parses) {
            SetEveryParameter(effect, parsed);
            RunEveryPass(effect, parsed);
        }
        effect->Release();
    }
    d3d9::ClearRecordedCalls(Device());
    std::remove(path.c_str());
    return 0;
}
