// GL textures.
#include "gl_resources.h"

#include "mip_chain.h"

#include <algorithm>
#include <cstdint>
#include <vector>

GlTexture::GlTexture(GlDevice* device, const Image& image, std::string file)
    : TextureBase(device, image.width, image.height, std::move(file)), device_(device) {
    device_->MakeCurrent();
    glGenTextures(1, &name_);
}

GlTexture* GlTexture::Make(GlDevice* device, const Image& image, std::string file) {
    GlTexture* texture = new GlTexture(device, image, std::move(file));
    glActiveTexture(kUploadUnit);
    glBindTexture(GL_TEXTURE_2D, texture->name_);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    // Given level by level, the driver first stores the top level alone and
    // moves it into a whole chain when the texture is first drawn: until
    // then it holds both. Allocated at once, the chain is stored once.
    const bool storage = device->HasTextureStorage();
    if (storage) {
        glTexStorage2D(GL_TEXTURE_2D, GLsizei(texture->GetLevelCount()), GL_RGBA8, image.width,
                       image.height);
    }
    const auto upload = [storage](GLint index, int width, int height, const std::uint8_t* pixels) {
        if (storage) {
            glTexSubImage2D(GL_TEXTURE_2D, index, 0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE,
                            pixels);
        } else {
            glTexImage2D(GL_TEXTURE_2D, index, GL_RGBA8, width, height, 0, GL_RGBA,
                         GL_UNSIGNED_BYTE, pixels);
        }
    };
    upload(0, image.width, image.height, image.rgba.get());
    std::vector<std::uint8_t> made;
    if (image.chain.empty()) {
        made.resize(MipChainBytes(image.width, image.height));
        MakeMipChain(image.rgba.get(), image.width, image.height, made.data());
    }
    const std::uint8_t* level = image.chain.empty() ? made.data() : image.chain.data();
    int width = image.width;
    int height = image.height;
    for (GLint index = 1; width > 1 || height > 1; ++index) {
        width = std::max(width / 2, 1);
        height = std::max(height / 2, 1);
        upload(index, width, height, level);
        level += std::size_t(width) * std::size_t(height) * 4;
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    if (glGetError() == GL_OUT_OF_MEMORY) {
        texture->Release();
        return nullptr;
    }
    return texture;
}

GlTexture::~GlTexture() {
    device_->MakeCurrent();
    device_->FlushDraws();
    glDeleteTextures(1, &name_);
}
