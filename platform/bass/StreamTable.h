// The streams by handle, for either output: handles count up from 1 and
// skip 0 (BASS's failure) when they wrap. Not guarded: the output that owns
// the table locks around it where threads share it.
#pragma once

#include "platform/bass/Stream.h"

#include <bass.h>

#include <memory>
#include <utility>
#include <vector>

namespace bass {

class StreamTable {
public:
    using Entry = std::pair<HSTREAM, std::shared_ptr<Stream>>;

    // The handle the next Add gives.
    HSTREAM NextHandle() const { return next_; }

    HSTREAM Add(std::shared_ptr<Stream> stream) {
        const HSTREAM handle = next_;
        next_ = next_ + 1 == 0 ? 1 : next_ + 1;
        entries_.emplace_back(handle, std::move(stream));
        return handle;
    }

    // Null for a handle that is not a stream.
    std::shared_ptr<Stream> Find(HSTREAM handle) const {
        for (const auto& [candidate, stream] : entries_) {
            if (candidate == handle) {
                return stream;
            }
        }
        return nullptr;
    }

    // Every stream, handed over; the table is left empty.
    std::vector<Entry> TakeAll() { return std::exchange(entries_, {}); }

    auto begin() { return entries_.begin(); }
    auto end() { return entries_.end(); }

private:
    std::vector<Entry> entries_;
    HSTREAM next_ = 1;
};

}  // namespace bass
