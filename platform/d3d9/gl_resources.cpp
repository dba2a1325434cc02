// GL textures.
#include "gl_resources.h"

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
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, image.width, image.height, 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, image.rgba.data());
    glGenerateMipmap(GL_TEXTURE_2D);
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
