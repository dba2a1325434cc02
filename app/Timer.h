// CTimer: the show's clock. Prefers the performance counter, falls back on
// the millisecond tick count, can cap the frame rate by spinning and counts
// frames per second.
#pragma once

#include <windows.h>

#include <cstdint>

// Where the timer reads its counts: the Win32 calls unless a test passes
// its own.
struct CounterSource {
    BOOL(WINAPI* queryFrequency)(LARGE_INTEGER* frequency);
    BOOL(WINAPI* queryCounter)(LARGE_INTEGER* count);
    DWORD(WINAPI* tickCount)();
};

extern const CounterSource kWin32CounterSource;

class CTimer {
public:
    explicit CTimer(const CounterSource& source = kWin32CounterSource);
    virtual ~CTimer() = default;

    // Once per frame, before the getters. A cap above 0 spins until the frame
    // has lasted 1 / cap seconds.
    void Update(float cap);
    float GetFrameTime() const { return m_frameTime; }
    float GetTimeSinceStart() const { return m_timeSinceStart; }
    int GetFramesPerSecond() const { return m_framesPerSecond; }

private:
    std::int64_t ReadCount() const;

    bool m_usesCounter;
    float m_secondsPerCount;
    float m_frameTime = 0.0f;
    std::int64_t m_currentCount = 0;
    std::int64_t m_lastCount = 0;
    std::int64_t m_frequency = 0;
    // The construction count as a 32-bit float: time since start carries its
    // rounding as a constant offset.
    float m_startCount;
    float m_timeSinceStart = 0.0f;
    int m_framesPerSecond;
    int m_framesThisSecond;
    float m_secondsThisSecond;
    CounterSource m_source;
};

// The program's timer, created just before the music starts.
extern CTimer* g_timer;
