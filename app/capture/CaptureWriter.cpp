// One mutex guards the ring's counters; the pixels are handed over with
// them: a buffer belongs to the render thread from Next to Queue and to the
// writer from Queue until its write is done.
#include "app/capture/CaptureWriter.h"

#include <utility>

CaptureWriter::CaptureWriter(FrameSink& sink, std::size_t frameBytes, int buffers,
                             WrittenHook written)
    : sink_(sink),
      written_(std::move(written)),
      buffers_(static_cast<std::size_t>(buffers > 0 ? buffers : 1),
               std::vector<std::uint8_t>(frameBytes)),
      clocks_(buffers_.size(), 0.0f),
      thread_(&CaptureWriter::Run, this) {}

CaptureWriter::~CaptureWriter() {
    Close();
}

std::uint8_t* CaptureWriter::Next() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return failed_ || queued_ < buffers_.size(); });
    if (failed_) {
        return nullptr;
    }
    return buffers_[(oldest_ + queued_) % buffers_.size()].data();
}

void CaptureWriter::Queue(float showClock) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        clocks_[(oldest_ + queued_) % buffers_.size()] = showClock;
        ++queued_;
    }
    changed_.notify_all();
}

bool CaptureWriter::Close() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        closing_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) {
        thread_.join();
    }
    return !failed_;
}

std::int64_t CaptureWriter::Written() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return writtenCount_;
}

void CaptureWriter::Run() {
    while (true) {
        std::size_t slot = 0;
        float showClock = 0.0f;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            changed_.wait(lock, [this] { return queued_ > 0 || closing_; });
            if (queued_ == 0) {
                return;
            }
            slot = oldest_;
            showClock = clocks_[slot];
        }
        const bool written = sink_.Write(buffers_[slot].data());
        std::int64_t count = 0;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (written) {
                oldest_ = (oldest_ + 1) % buffers_.size();
                --queued_;
                count = ++writtenCount_;
            } else {
                failed_ = true;
            }
        }
        changed_.notify_all();
        if (!written) {
            return;
        }
        if (written_) {
            written_(count, showClock);
        }
    }
}
