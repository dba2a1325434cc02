// Parameter values of one effect object.
#include "parameter_store.h"

#include <algorithm>

ParameterStore::ParameterStore(const std::vector<ParameterDesc>& parameters)
    : values_(parameters.size() * 16, 0.0f),
      textures_(parameters.size(), nullptr),
      changed_(parameters.size(), 1) {
    for (std::size_t p = 0; p < parameters.size(); ++p) {
        std::copy(parameters[p].initial.begin(), parameters[p].initial.end(),
                  values_.begin() + std::ptrdiff_t(p * 16));
    }
}

ParameterStore::~ParameterStore() {
    for (IDirect3DBaseTexture9* texture : textures_) {
        if (texture != nullptr) {
            texture->Release();
        }
    }
}

void ParameterStore::SetValues(std::size_t parameter, const float* values, std::size_t count) {
    std::copy(values, values + count, values_.begin() + std::ptrdiff_t(parameter * 16));
    changed_[parameter] = 1;
}

void ParameterStore::SetTexture(std::size_t parameter, IDirect3DBaseTexture9* texture) {
    if (texture != nullptr) {
        texture->AddRef();
    }
    if (textures_[parameter] != nullptr) {
        textures_[parameter]->Release();
    }
    textures_[parameter] = texture;
    changed_[parameter] = 1;
}

void ParameterStore::MarkUploaded() {
    std::fill(changed_.begin(), changed_.end(), 0);
}
