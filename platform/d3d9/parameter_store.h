// The values of one effect object's parameters: they keep what was last set
// across passes and frames, start at the file's initial values, and mark what
// changed since the last upload. Kept apart from applying passes, so a
// backend can batch draws that differ only in values.
#pragma once

#include <d3d9.h>

#include "effect_file.h"

#include <cstdint>
#include <vector>

class ParameterStore {
public:
    explicit ParameterStore(const std::vector<ParameterDesc>& parameters);
    ~ParameterStore();
    ParameterStore(const ParameterStore&) = delete;
    ParameterStore& operator=(const ParameterStore&) = delete;

    // Sixteen floats per parameter; a matrix in the D3DX layout.
    const float* Values(std::size_t parameter) const { return &values_[parameter * 16]; }
    IDirect3DBaseTexture9* Texture(std::size_t parameter) const { return textures_[parameter]; }

    // Writes the first count floats of the parameter.
    void SetValues(std::size_t parameter, const float* values, std::size_t count);
    // Holds a reference to the texture until it is replaced or the store goes.
    void SetTexture(std::size_t parameter, IDirect3DBaseTexture9* texture);

    bool Changed(std::size_t parameter) const { return changed_[parameter] != 0; }
    void MarkUploaded();

private:
    std::vector<float> values_;
    std::vector<IDirect3DBaseTexture9*> textures_;
    std::vector<std::uint8_t> changed_;
};
