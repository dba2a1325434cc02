// Buffers and textures of the OpenGL device: the shared objects with a GL
// buffer or texture behind them.
#pragma once

#include "gl_counters.h"
#include "gl_device.h"
#include "image_file.h"
#include "resources.h"

#include "gl_api.h"

#include <string>
#include <type_traits>

// A vertex or index buffer with a GL buffer that Unlock updates. Uploads go
// through GL_COPY_WRITE_BUFFER, so no draw binding is disturbed; except an
// index buffer's on ES: WebGL 2 never lets a buffer that was bound elsewhere
// hold indices, so those go through the index binding, made again after.
template <class Base>
class GlBuffer final : public Base {
public:
    // Null when GL runs out of memory.
    template <class... Arguments>
    static GlBuffer* Make(GlDevice* device, DWORD usage, UINT length, Arguments... arguments) {
        GlBuffer* buffer = new GlBuffer(device, length, arguments...);
        device->MakeCurrent();
        const GLenum target = buffer->BindForUpload();
        glBufferData(target, length, buffer->Data(),
                     (usage & D3DUSAGE_DYNAMIC) != 0 ? GL_DYNAMIC_DRAW : GL_STATIC_DRAW);
        if (glGetError() == GL_OUT_OF_MEMORY) {
            buffer->Release();
            return nullptr;
        }
        return buffer;
    }

    ~GlBuffer() override {
        device_->MakeCurrent();
        device_->FlushDraws();
        glDeleteBuffers(1, &name_);
    }

    GLuint Name() const { return name_; }

protected:
    void Upload(UINT begin, UINT end) override {
        GlTimeScope timed;
        device_->MakeCurrent();
        // Held-back draws read the data as it was.
        device_->FlushDraws();
        glBufferSubData(BindForUpload(), begin, end - begin, this->Data() + begin);
    }

private:
    GLenum BindForUpload() {
        if (std::is_same_v<Base, IndexBuffer> && device_->IsEs()) {
            device_->IndexBindingMoved();
            glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, name_);
            return GL_ELEMENT_ARRAY_BUFFER;
        }
        glBindBuffer(GL_COPY_WRITE_BUFFER, name_);
        return GL_COPY_WRITE_BUFFER;
    }

    template <class... Arguments>
    GlBuffer(GlDevice* device, UINT length, Arguments... arguments)
        : Base(device, length, arguments...), device_(device) {
        device->MakeCurrent();
        glGenBuffers(1, &name_);
    }

    GlDevice* device_;
    GLuint name_ = 0;
};

using GlVertexBuffer = GlBuffer<VertexBuffer>;
using GlIndexBuffer = GlBuffer<IndexBuffer>;

// An RGBA8 texture with its full mipmap chain (box-filtered, mip_chain.h);
// image row 0 is t = 0, so Direct3D's v reads the picture top down.
class GlTexture final : public TextureBase {
public:
    // Null when GL runs out of memory.
    static GlTexture* Make(GlDevice* device, const Image& image, std::string file);
    ~GlTexture() override;

    GLuint Name() const { return name_; }

private:
    GlTexture(GlDevice* device, const Image& image, std::string file);

    GlDevice* device_;
    GLuint name_ = 0;
};
