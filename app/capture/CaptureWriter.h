// Hands captured frames from the render thread to a thread of their own that
// writes them to the sink (PNG encoding, or the pipe to ffmpeg), so that the
// next frame renders while the last one is written. The frames wait in a
// small ring of buffers allocated once; when every buffer is waiting the
// render thread waits too, so no frame is dropped and the order is kept.
#pragma once

#include "app/capture/FrameSink.h"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class CaptureWriter {
public:
    // Called on the writer thread after each frame the sink took: the count
    // written so far and that frame's show clock.
    using WrittenHook = std::function<void(std::int64_t written, float showClock)>;

    // Starts the thread. buffers: how many frames may wait (at least 1).
    CaptureWriter(FrameSink& sink, std::size_t frameBytes, int buffers, WrittenHook written);
    ~CaptureWriter();
    CaptureWriter(const CaptureWriter&) = delete;
    CaptureWriter& operator=(const CaptureWriter&) = delete;

    // A buffer for the next frame, waited for while all are in the queue;
    // null once the sink has failed (nothing more will be written).
    std::uint8_t* Next();
    // Queues the buffer Next gave: the frame presented at showClock.
    void Queue(float showClock);
    // Writes every queued frame (until the sink fails), then ends the
    // thread. True when every queued frame was written; else the sink's
    // Error() says why. Later calls return the same.
    bool Close();

    // Frames the sink took; final once Close returned.
    std::int64_t Written() const;

private:
    void Run();

    FrameSink& sink_;
    WrittenHook written_;
    std::vector<std::vector<std::uint8_t>> buffers_;
    std::vector<float> clocks_;

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::size_t oldest_ = 0;  // the buffer written next
    std::size_t queued_ = 0;  // frames queued and not yet written (the one being written included)
    std::int64_t writtenCount_ = 0;
    bool closing_ = false;
    bool failed_ = false;
    std::thread thread_;
};
