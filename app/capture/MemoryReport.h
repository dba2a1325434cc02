// The capture's memory report (HUSH_MEMORY_REPORT=1 in the environment):
// after the first and after the last frame one line on standard error with
// the resident size and the bytes the heap holds, so long runs can show that
// nothing grows from frame to frame.
#pragma once

#include <cstddef>
#include <cstdint>

struct MemoryUse {
    long residentKb = -1;       // VmRSS of /proc/self/status; -1 where unreadable
    std::size_t heapBytes = 0;  // bytes handed out by malloc and not freed
};

// Reads both without allocating (fit for the frame path).
MemoryUse MeasureMemory();

// Whether the environment asks for the report; read once at start.
bool MemoryReportWanted();

// "hush: memory after frame N: R kB resident, H bytes of heap in use".
void WriteMemoryLine(int fd, std::int64_t frame, const MemoryUse& use);
