// The global operator new and delete replaced for tests that watch the show's
// allocations or make them fail. Linked into a test executable as a source,
// so its definitions win over the standard library's. Under AddressSanitizer,
// which replaces the allocator itself, nothing is replaced.
#pragma once

#if !defined(__SANITIZE_ADDRESS__)
#define HUSH_REPLACES_ALLOCATOR 1
#endif

namespace allocation {

// Asked before every operator new; an allocation it refuses fails as an
// exhausted heap would: std::bad_alloc, or null from the nothrow forms.
using Watcher = bool (*)();

// null (the default) lets every allocation through unwatched.
void Watch(Watcher watcher);

}  // namespace allocation
