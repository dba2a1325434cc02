// One worker thread, a list of files in the order start-up asks for them,
// and a bound on the decoded pictures held for their textures.
#include "decode_ahead.h"

#include "file_loading.h"
#include "mip_chain.h"

#include <d3d9_standin.h>

#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <list>
#include <mutex>
#include <new>
#include <string>
#include <system_error>
#include <thread>

namespace {

// The worker starts no picture while the decoded pictures waiting for their
// textures hold this much, which bounds what is held ahead. The show's
// pictures waiting at once take less (its nine 1024 x 768 pictures with
// their chains take 38 MB), and as each becomes a texture of the same size,
// holding them ahead raises no peak.
constexpr std::size_t kMostWaitingBytes = std::size_t(48) << 20;

struct Job {
    enum class State { Queued, Decoding, Done };

    explicit Job(const char* file) : file(file) {}

    std::string file;
    State state = State::Queued;
    HRESULT result = E_FAIL;
    std::exception_ptr failure;
    Image image;
};

HRESULT DecodeWithChain(const char* file, Image* image) {
    const HRESULT result = LoadTextureImage(file, image);
    if (SUCCEEDED(result)) {
        image->chain.resize(MipChainBytes(image->width, image->height));
        MakeMipChain(image->rgba.get(), image->width, image->height, image->chain.data());
    }
    return result;
}

std::size_t HeldBytes(const Image& image) {
    return image.Bytes() + image.chain.size();
}

class DecodeAhead {
public:
    ~DecodeAhead() { End(); }

    void Queue(const char* const* files, std::size_t count) {
        std::lock_guard<std::mutex> lock(mutex_);
        try {
            std::list<Job> added;
            for (std::size_t i = 0; i < count; ++i) {
                added.emplace_back(files[i]);
            }
            if (!worker_.joinable()) {
                stop_ = false;
                worker_ = std::thread(&DecodeAhead::Run, this);
            }
            // These are asked for before any queued earlier.
            jobs_.splice(jobs_.begin(), added);
        } catch (const std::bad_alloc&) {
        } catch (const std::system_error&) {
        }
        wake_.notify_all();
    }

    bool Take(const char* file, HRESULT* result, Image* image) {
        std::unique_lock<std::mutex> lock(mutex_);
        auto job = jobs_.begin();
        while (job != jobs_.end() && job->file != file) {
            ++job;
        }
        if (job == jobs_.end()) {
            return false;
        }
        if (job->state == Job::State::Queued) {
            jobs_.erase(job);
            lock.unlock();
            *result = DecodeWithChain(file, image);
            return true;
        }
        // While the worker decodes it, this thread decodes the next queued
        // picture, so that the two share the work.
        while (job->state != Job::State::Done) {
            Job* next = waitingBytes_ < kMostWaitingBytes ? NextQueued() : nullptr;
            if (next == nullptr) {
                done_.wait(lock, [&] { return job->state == Job::State::Done; });
                break;
            }
            Decode(*next, lock);
        }
        const std::exception_ptr failure = job->failure;
        *result = job->result;
        *image = std::move(job->image);
        waitingBytes_ -= HeldBytes(*image);
        jobs_.erase(job);
        wake_.notify_all();
        if (failure) {
            std::rethrow_exception(failure);
        }
        return true;
    }

    void End() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stop_ = true;
        }
        wake_.notify_all();
        if (worker_.joinable()) {
            worker_.join();
        }
        std::lock_guard<std::mutex> lock(mutex_);
        jobs_.clear();
        waitingBytes_ = 0;
    }

private:
    Job* NextQueued() {
        for (Job& job : jobs_) {
            if (job.state == Job::State::Queued) {
                return &job;
            }
        }
        return nullptr;
    }

    void Run() {
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            wake_.wait(lock, [&] {
                return stop_ || (waitingBytes_ < kMostWaitingBytes && NextQueued() != nullptr);
            });
            if (stop_) {
                return;
            }
            Decode(*NextQueued(), lock);
        }
    }

    // Decodes a queued job with the lock released.
    void Decode(Job& job, std::unique_lock<std::mutex>& lock) {
        job.state = Job::State::Decoding;
        lock.unlock();
        try {
            job.result = DecodeWithChain(job.file.c_str(), &job.image);
        } catch (...) {
            job.failure = std::current_exception();
            job.image = Image{};
        }
        lock.lock();
        job.state = Job::State::Done;
        waitingBytes_ += HeldBytes(job.image);
        done_.notify_all();
    }

    std::mutex mutex_;
    std::condition_variable wake_;  // the worker's: a job, room or the end
    std::condition_variable done_;  // a job has been decoded
    std::list<Job> jobs_;
    std::size_t waitingBytes_ = 0;  // decoded, not yet taken
    bool stop_ = false;
    std::thread worker_;
};

// HUSH_D3D9_DECODE_AHEAD=0 in the environment turns decoding ahead off.
bool DecodingAheadFromEnvironment() {
    const char* setting = std::getenv("HUSH_D3D9_DECODE_AHEAD");
    return setting == nullptr || std::strcmp(setting, "0") != 0;
}

bool g_decodingAhead = DecodingAheadFromEnvironment();
DecodeAhead g_decodeAhead;

}  // namespace

bool TakeDecodedAhead(const char* file, HRESULT* result, Image* image) {
    return g_decodeAhead.Take(file, result, image);
}

namespace d3d9 {

void DecodeAhead(const char* const* files, std::size_t count) {
    if (g_decodingAhead) {
        g_decodeAhead.Queue(files, count);
    }
}

void EndDecodeAhead() {
    g_decodeAhead.End();
}

void DecodeAheadAllowed(bool on) {
    g_decodingAhead = on;
}

}  // namespace d3d9
