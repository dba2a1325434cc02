// Memory figures from /proc and the allocator: ASan's counters when the
// build runs under it (its allocator replaces malloc's), glibc's otherwise.
#include "app/capture/MemoryReport.h"

#include <fcntl.h>
#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#if defined(__SANITIZE_ADDRESS__)
#define HUSH_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define HUSH_UNDER_ASAN 1
#endif
#endif

#if defined(HUSH_UNDER_ASAN)
// From the sanitizer runtime (sanitizer/allocator_interface.h, which not
// every compiler installs).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

long ResidentKb() {
    const int fd = open("/proc/self/status", O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    char text[4096];
    const ssize_t length = read(fd, text, sizeof text - 1);
    close(fd);
    if (length <= 0) {
        return -1;
    }
    text[length] = '\0';
    const char* line = std::strstr(text, "\nVmRSS:");
    return line != nullptr ? std::strtol(line + 7, nullptr, 10) : -1;
}

std::size_t HeapBytes() {
#if defined(HUSH_UNDER_ASAN)
    return __sanitizer_get_current_allocated_bytes();
#else
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
#endif
}

}  // namespace

MemoryUse MeasureMemory() {
    MemoryUse use;
    use.residentKb = ResidentKb();
    use.heapBytes = HeapBytes();
    return use;
}

bool MemoryReportWanted() {
    const char* value = std::getenv("HUSH_MEMORY_REPORT");
    return value != nullptr && std::strcmp(value, "1") == 0;
}

void WriteMemoryLine(int fd, std::int64_t frame, const MemoryUse& use) {
    char line[160];
    const int length =
        std::snprintf(line, sizeof line,
                      "hush: memory after frame %lld: %ld kB resident, %zu bytes of heap in use\n",
                      static_cast<long long>(frame), use.residentKb, use.heapBytes);
    if (length > 0) {
        [[maybe_unused]] const ssize_t written = write(fd, line, static_cast<std::size_t>(length));
    }
}
