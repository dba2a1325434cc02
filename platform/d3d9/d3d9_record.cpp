// The recording backend: the shared device, buffers, textures and effects
// with no drawing behind them, logging every call into one list per device.
#include <d3d9_record.h>

#include "device_core.h"
#include "effect.h"
#include "factories.h"

#include <cstring>

namespace {

class RecordDevice;

// Textures appear in the log by the file they came from.
std::string FileOf(const TextureBase* texture) {
    return texture != nullptr ? texture->File() : std::string();
}

class RecordDevice final : public DeviceCore {
public:
    RecordDevice(UINT width, UINT height, bool depth) : DeviceCore(width, height, depth) {}

    void Log(d3d9::RecordedCall call) { calls_.push_back(std::move(call)); }
    // Off, calls are not even described, so nothing is allocated for them.
    bool Logging() const { return logging_; }
    void KeepLog(bool on) { logging_ = on; }
    const std::vector<d3d9::RecordedCall>& Calls() const { return calls_; }
    // Gives the memory back too: a long run that clears every frame holds
    // nothing between frames.
    void ClearCalls() { std::vector<d3d9::RecordedCall>().swap(calls_); }

protected:
    void DoClear(DWORD, const D3DRECT*, DWORD, D3DCOLOR, float, DWORD) override {}
    void DoPresent() override {}
    void ApplyViewport(const D3DVIEWPORT9&) override {}
    void ApplyRenderState(D3DRENDERSTATETYPE, DWORD) override {}
    void ApplySamplerState(DWORD, D3DSAMPLERSTATETYPE, DWORD) override {}
    void BindTexture(DWORD, TextureBase*) override {}
    void InputsChanged() override {}
    VertexBuffer* NewVertexBuffer(UINT length, DWORD usage, int number) override;
    IndexBuffer* NewIndexBuffer(UINT length, DWORD usage, UINT indexSize, int number) override;
    TextureBase* NewTexture(Image image, const char* file) override;
    HRESULT NewEffect(EffectFile file, const D3DXMACRO* defines, DWORD flags, int number,
                      Effect** effect, std::string* errors) override;
    void DoDraw(D3DPRIMITIVETYPE, UINT, UINT) override {}
    void DoDrawIndexed(D3DPRIMITIVETYPE, INT, UINT, UINT) override {}

    // Nothing is drawn: every presented frame is black.
    HRESULT ReadPresentedFrame(BYTE* rgba, UINT pitch) override {
        for (UINT row = 0; row < Height(); ++row) {
            std::memset(rgba + std::size_t(row) * pitch, 0, std::size_t(Width()) * 4);
        }
        return D3D_OK;
    }

    void Note(const DeviceCall& call) override {
        if (!Logging()) {
            return;
        }
        d3d9::RecordedCall entry;
        entry.call = call.call;
        entry.name = call.name != nullptr ? call.name : "";
        entry.texture = FileOf(call.texture);
        entry.fx = call.fx != nullptr ? call.fx : "";
        entry.effect = call.effect;
        entry.values.assign(call.values, call.values + call.valueCount);
        entry.args.assign(call.args, call.args + call.argCount);
        entry.result = call.result;
        Log(std::move(entry));
    }

    void NoteReference(const char* call, ULONG count) override {
        if (!Logging()) {
            return;
        }
        d3d9::RecordedCall entry;
        entry.call = call;
        entry.name = "Device";
        entry.args = {count};
        Log(std::move(entry));
    }

private:
    bool logging_ = true;
    std::vector<d3d9::RecordedCall> calls_;
};

// A vertex or index buffer that logs its locks and references; the name is
// "VertexBuffer" or "IndexBuffer" and the first argument its number.
template <class Base>
class RecordBuffer final : public Base {
public:
    template <class... Arguments>
    RecordBuffer(RecordDevice* device, const char* kind, Arguments... arguments)
        : Base(device, arguments...), device_(device), kind_(kind) {}

    HRESULT Lock(UINT offset, UINT size, void** data, DWORD flags) override {
        const HRESULT result = Base::Lock(offset, size, data, flags);
        if (!device_->Logging()) {
            return result;
        }
        d3d9::RecordedCall entry = Entry("Lock");
        entry.args.insert(entry.args.end(), {offset, size, flags});
        entry.result = result;
        device_->Log(std::move(entry));
        return result;
    }

    HRESULT Unlock() override {
        if (!device_->Logging()) {
            return Base::Unlock();
        }
        d3d9::RecordedCall entry = Entry("Unlock");
        if (this->Locked()) {
            const auto [begin, end] = this->LockedRange();
            entry.bytes.assign(this->Data() + begin, this->Data() + end);
        }
        entry.result = Base::Unlock();
        device_->Log(std::move(entry));
        return entry.result;
    }

protected:
    void Upload(UINT, UINT) override {}

    void NoteReference(const char* call, ULONG count) override {
        if (!device_->Logging()) {
            return;
        }
        d3d9::RecordedCall entry = Entry(call);
        entry.args.push_back(count);
        device_->Log(std::move(entry));
    }

private:
    d3d9::RecordedCall Entry(const char* call) const {
        d3d9::RecordedCall entry;
        entry.call = call;
        entry.name = kind_;
        entry.args = {this->Number()};
        return entry;
    }

    RecordDevice* device_;
    const char* kind_;
};

class RecordTexture final : public TextureBase {
public:
    RecordTexture(RecordDevice* device, int width, int height, std::string file)
        : TextureBase(device, width, height, std::move(file)), device_(device) {}

protected:
    void NoteReference(const char* call, ULONG count) override {
        if (!device_->Logging()) {
            return;
        }
        d3d9::RecordedCall entry;
        entry.call = call;
        entry.texture = File();
        entry.args = {count};
        device_->Log(std::move(entry));
    }

private:
    RecordDevice* device_;
};

class RecordEffect final : public Effect {
public:
    RecordEffect(RecordDevice* device, EffectFile file, DWORD flags, int number)
        : Effect(device, std::move(file), flags), device_(device), number_(number) {}

protected:
    void BeginTechnique(std::size_t, DWORD) override {}
    void ApplyPass(std::size_t, std::size_t) override {}
    void CommitPass(std::size_t, std::size_t) override {}
    void EndTechnique(std::size_t) override {}

    void Note(const EffectCall& call) override {
        if (!device_->Logging()) {
            return;
        }
        d3d9::RecordedCall entry = Entry(call.call);
        entry.name = call.name != nullptr ? call.name : "";
        entry.texture = FileOf(call.texture);
        if (call.values != nullptr) {
            entry.values.assign(call.values, call.values + call.count);
        }
        if (call.numberKey != nullptr) {
            entry.args = {call.number};
        }
        entry.result = call.result;
        device_->Log(std::move(entry));
    }

    void NoteReference(const char* call, ULONG count) override {
        if (!device_->Logging()) {
            return;
        }
        d3d9::RecordedCall entry = Entry(call);
        entry.args = {count};
        device_->Log(std::move(entry));
    }

private:
    d3d9::RecordedCall Entry(const char* call) const {
        d3d9::RecordedCall entry;
        entry.call = call;
        entry.fx = File().baseName;
        entry.effect = number_;
        return entry;
    }

    RecordDevice* device_;
    int number_;
};

VertexBuffer* RecordDevice::NewVertexBuffer(UINT length, DWORD /*usage*/, int number) {
    return new RecordBuffer<VertexBuffer>(this, "VertexBuffer", length, number);
}

IndexBuffer* RecordDevice::NewIndexBuffer(UINT length, DWORD /*usage*/, UINT indexSize,
                                          int number) {
    return new RecordBuffer<IndexBuffer>(this, "IndexBuffer", length, number, indexSize);
}

TextureBase* RecordDevice::NewTexture(Image image, const char* file) {
    return new RecordTexture(this, image.width, image.height, file);
}

// The file is parsed, so techniques, passes and parameters exist; its GLSL
// is not compiled.
HRESULT RecordDevice::NewEffect(EffectFile file, const D3DXMACRO* /*defines*/, DWORD flags,
                                int number, Effect** effect, std::string* /*errors*/) {
    *effect = new RecordEffect(this, std::move(file), flags, number);
    return D3D_OK;
}

class RecordDirect3D final : public ComObject<IDirect3D9> {
public:
    HRESULT CreateDevice(UINT adapter, D3DDEVTYPE /*type*/, HWND /*focusWindow*/,
                         DWORD /*behaviourFlags*/, D3DPRESENT_PARAMETERS* parameters,
                         IDirect3DDevice9** device) override {
        if (device != nullptr) {
            *device = nullptr;
        }
        if (adapter != D3DADAPTER_DEFAULT || parameters == nullptr || device == nullptr) {
            return D3DERR_INVALIDCALL;
        }
        *device = d3d9::CreateRecordingDevice(parameters);
        return *device != nullptr ? D3D_OK : D3DERR_INVALIDCALL;
    }
};

const std::vector<d3d9::RecordedCall> kNoCalls;

}  // namespace

IDirect3D9* NewRecordingDirect3D() {
    return new RecordDirect3D();
}

namespace d3d9 {

IDirect3DDevice9* CreateRecordingDevice(const D3DPRESENT_PARAMETERS* parameters) {
    UINT width = 1024, height = 768;
    bool depth = true;
    if (parameters != nullptr) {
        // A size of 0 takes the window's size, which a recording device has
        // not got: it keeps 1024x768.
        width = parameters->BackBufferWidth != 0 ? parameters->BackBufferWidth : width;
        height = parameters->BackBufferHeight != 0 ? parameters->BackBufferHeight : height;
        depth = parameters->EnableAutoDepthStencil != FALSE;
        if (width > kMaxBackBufferSize || height > kMaxBackBufferSize) {
            return nullptr;
        }
    }
    return new RecordDevice(width, height, depth);
}

bool IsRecordingDevice(IDirect3DDevice9* device) {
    return dynamic_cast<RecordDevice*>(device) != nullptr;
}

const std::vector<RecordedCall>& RecordedCalls(IDirect3DDevice9* device) {
    RecordDevice* recording = dynamic_cast<RecordDevice*>(device);
    return recording != nullptr ? recording->Calls() : kNoCalls;
}

void KeepRecordedCalls(IDirect3DDevice9* device, bool keep) {
    if (RecordDevice* recording = dynamic_cast<RecordDevice*>(device)) {
        recording->KeepLog(keep);
    }
}

void ClearRecordedCalls(IDirect3DDevice9* device) {
    if (RecordDevice* recording = dynamic_cast<RecordDevice*>(device)) {
        recording->ClearCalls();
    }
}

}  // namespace d3d9
