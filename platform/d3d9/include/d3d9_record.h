// The recording backend of the Direct3D stand-in: devices with the same
// interfaces and results as the OpenGL backend that draw nothing and log
// every call, in call order, for tests to assert on.
#pragma once

#include <d3dx9.h>

#include <cstdint>
#include <string>
#include <vector>

namespace d3d9 {

// One call on a recording device or on an object it created (buffers,
// declarations, textures, effects). Objects are named by number: buffers and
// declarations by creation order on the device from 1 (0 for null), textures
// by the file they were loaded from, effects by file base name and number.
struct RecordedCall {
    // The method: "SetFloat", "DrawPrimitive", "CreateVertexBuffer",
    // "D3DXCreateEffectFromFileA", "Release", ...
    std::string call;
    // Effect calls: the effect file's base name ("p.fx") and the effect's
    // number on this device (from 1, creation order); "" and 0 otherwise.
    std::string fx;
    int effect = 0;
    // Parameter or technique name (resolved from handles as given by the
    // caller), render or sampler state name ("ZENABLE"), primitive type
    // ("TRIANGLESTRIP"), or the file of a texture or effect being created.
    std::string name;
    // A texture argument: the file it was loaded from ("" for null).
    std::string texture;
    // Float arguments: SetFloat 1, SetVector 4, SetMatrix 16 (row-major),
    // Clear's z, SetViewport's MinZ and MaxZ.
    std::vector<float> values;
    // Integer arguments, listed per call in docs/effects.md ("Recording
    // backend").
    std::vector<std::int64_t> args;
    // Unlock: the bytes of the range that was locked, as written.
    std::vector<std::uint8_t> bytes;
    HRESULT result = D3D_OK;
};

// A recording device with the given present parameters (null: 1024x768,
// windowed, with a depth buffer). Released like any device.
D3D9_API IDirect3DDevice9* CreateRecordingDevice(const D3DPRESENT_PARAMETERS* parameters);
// Whether the device is a recording one.
D3D9_API bool IsRecordingDevice(IDirect3DDevice9* device);
// The calls a recording device has logged, oldest first; empty for any other
// device. The reference stays valid until the next call on the device.
D3D9_API const std::vector<RecordedCall>& RecordedCalls(IDirect3DDevice9* device);
D3D9_API void ClearRecordedCalls(IDirect3DDevice9* device);
// Whether the device logs its calls from now on (on when made); off, a
// long run keeps no log and its calls allocate nothing.
D3D9_API void KeepRecordedCalls(IDirect3DDevice9* device, bool keep);
// While on, Direct3DCreate9 returns a factory whose CreateDevice makes
// recording devices (for code that creates its own device).
D3D9_API void UseRecordingBackend(bool on);

}  // namespace d3d9
