// CTimer: arithmetic in double precision, every stored result rounded to a
// 32-bit float; count differences are exact 64-bit integers.
#include "app/Timer.h"

const CounterSource kWin32CounterSource = {QueryPerformanceFrequency, QueryPerformanceCounter,
                                           GetTickCount};

CTimer* g_timer = nullptr;

namespace {

constexpr float kSecondsPerTick = 0.001f;

}  // namespace

CTimer::CTimer(const CounterSource& source) : m_source(source) {
    LARGE_INTEGER frequency = {};
    if (m_source.queryFrequency(&frequency)) {
        m_usesCounter = true;
        m_frequency = frequency.QuadPart;
        m_secondsPerCount = static_cast<float>(1.0 / static_cast<double>(m_frequency));
    } else {
        m_usesCounter = false;
        m_frequency = frequency.QuadPart;
        m_secondsPerCount = kSecondsPerTick;
    }
    m_lastCount = ReadCount();
    m_framesPerSecond = 0;
    m_framesThisSecond = 0;
    m_secondsThisSecond = 0.0f;
    m_startCount = static_cast<float>(m_lastCount);
}

// A tick count is the 32-bit millisecond value with the high half zero.
std::int64_t CTimer::ReadCount() const {
    if (m_usesCounter) {
        LARGE_INTEGER count = {};
        m_source.queryCounter(&count);
        return count.QuadPart;
    }
    return static_cast<std::int64_t>(m_source.tickCount());
}

void CTimer::Update(float cap) {
    const double secondsPerCount = m_secondsPerCount;
    m_currentCount = ReadCount();
    m_frameTime =
        static_cast<float>(static_cast<double>(m_currentCount - m_lastCount) * secondsPerCount);
    m_timeSinceStart = static_cast<float>(
        (static_cast<double>(m_currentCount) - static_cast<double>(m_startCount)) *
        secondsPerCount);

    // The cap spins without yielding; time since start keeps its value from
    // before the wait.
    if (cap > 0.0f) {
        const double minimumFrameTime = 1.0 / static_cast<double>(cap);
        while (static_cast<double>(m_frameTime) < minimumFrameTime) {
            m_currentCount = ReadCount();
            m_frameTime = static_cast<float>(static_cast<double>(m_currentCount - m_lastCount) *
                                             secondsPerCount);
        }
    }

    m_secondsThisSecond = static_cast<float>(static_cast<double>(m_secondsThisSecond) +
                                             static_cast<double>(m_frameTime));
    ++m_framesThisSecond;
    m_lastCount = m_currentCount;

    // What lies beyond the one-second window is dropped, not carried over.
    if (m_secondsThisSecond > 1.0f) {
        m_framesPerSecond = m_framesThisSecond;
        m_secondsThisSecond = 0.0f;
        m_framesThisSecond = 0;
    }
}
