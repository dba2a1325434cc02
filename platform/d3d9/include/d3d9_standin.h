// Controls of the Direct3D stand-in that have no Direct3D counterpart.
#pragma once

#include <d3d9.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace d3d9 {

// Reads the device window's drawable as the last Present left it, RGBA rows
// top first, with its pixel size. Meaningful where a swap keeps the
// drawable's pixels (SDL's offscreen driver); fails for a device without a
// window or for the recording backend.
D3D9_API HRESULT ReadWindowPixels(IDirect3DDevice9* device, std::vector<BYTE>* rgba, UINT* width,
                                  UINT* height);

// Whether Present copies each frame into its device's window (on by
// default). A capture turns it off: its window is never seen, and the
// frame it reads back is the one presented either way.
D3D9_API void PresentIntoWindows(bool on);

// Whether a device may draw its frames straight into its window (off by
// default; never while presents into windows are off, or when the
// environment sets HUSH_D3D9_DRAW_INTO_WINDOW=0). It does so for each frame
// that starts while the window's drawable is the back buffer's size and the
// window's framebuffer has the back buffer's colour, depth and stencil
// bits; its Present is then the window's swap, without the copy, and
// GetPresentedFrame fails with D3DERR_INVALIDCALL for that frame. Frames
// look the same either way but may differ by the rasteriser's rounding
// along triangle edges: a window's rows run the other way in the driver.
// On desktop OpenGL only.
D3D9_API void DrawIntoWindows(bool on);

// Whether devices created from now on may take Direct3D's clip-space z
// from glClipControl (the default). Off, their vertex stages move z from
// [0, 1] to GL's [-1, 1] themselves, as on drivers without glClipControl
// (tests of that path).
D3D9_API void AllowClipControl(bool allowed);

// Devices created while the environment sets HUSH_D3D9_GLES=1 draw on an
// OpenGL ES 3.0 context under WebGL 2's rules (GLSL ES 3.00, no buffer
// textures, GL_BGRA or base-vertex draws), as the browser build does, with
// the same pixels; without ES 3.0 the device cannot be made.

// Whether devices created from now on batch draws (on unless the
// environment sets HUSH_D3D9_BATCHING=0): a run of BeginPass, DrawPrimitive,
// EndPass on one effect pass whose draws differ only in parameter values
// (the particles' sprites) becomes one instanced draw with the same pixels.
// Off, every draw is its own GL draw. The trace and the recording backend
// see the calls as made either way.
D3D9_API void BatchDraws(bool on);
D3D9_API bool BatchingDraws();

// Picture files that D3DXCreateTextureFromFileA will soon be asked for, in
// that order and before any queued by an earlier call: a worker thread
// decodes them ahead, with their mipmap chains, at most a few waiting at a
// time, while the caller does other work. A
// texture created from one of them takes the worker's picture, or decodes
// it itself when the worker has not started on it; its outcome (the result,
// the message, the pixels) is the same as without. Nothing is decoded ahead
// when the environment sets HUSH_D3D9_DECODE_AHEAD=0, after
// DecodeAheadAllowed(false), or when the worker cannot be had.
D3D9_API void DecodeAhead(const char* const* files, std::size_t count);
// Drops what was decoded ahead and not asked for, and stops the worker.
D3D9_API void EndDecodeAhead();
D3D9_API void DecodeAheadAllowed(bool on);

// Where the frames' time went inside the OpenGL backend since the last
// TakeFrameCounters (for benchmarks).
struct FrameCounters {
    // Inside the calls that issue OpenGL commands (state, uploads, draws,
    // clears, Present's copies), Present's wait excluded.
    std::uint64_t glNanoseconds = 0;
    // Present waiting for the GPU to finish the frame (glFinish).
    std::uint64_t finishNanoseconds = 0;
    // The calling thread's CPU time in both of the above.
    std::uint64_t glThreadCpuNanoseconds = 0;
    // DrawPrimitive and DrawIndexedPrimitive calls that passed their checks.
    std::uint32_t drawCalls = 0;
    // OpenGL draw commands issued: a batch of draws drawn instanced is one.
    std::uint32_t glDraws = 0;
    // Triangles the draws asked for, strips' and lists' alike.
    std::uint64_t triangles = 0;
    // Pixels that passed the depth test and went to blending or the frame
    // (an occlusion query over each presented frame): divided by the frame's
    // pixels, how many full-screen layers the rasteriser shaded.
    std::uint64_t pixelsDrawn = 0;
    // Presents of frames drawn straight into their window.
    std::uint32_t framesIntoWindow = 0;
};

// Turns the counters on (zeroed) or off. While on, Present waits for the
// GPU to finish the frame (glFinish), so the wait is counted apart from the
// submission.
D3D9_API void CountFrames(bool on);
D3D9_API FrameCounters TakeFrameCounters();

}  // namespace d3d9
