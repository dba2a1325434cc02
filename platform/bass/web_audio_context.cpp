// The JavaScript side of the web's audio. State lives in
// Module.hushAudioState; window.hushAudio() reports it to the page's tests.
#include "platform/bass/web_audio_context.h"

#include "platform/bass/PlayClock.h"

#include <emscripten/emscripten.h>

#include <cmath>

namespace {

// The formatter would take the JavaScript for C++.
// clang-format off
EM_JS(void, hush_audio_install, (), {
    const s = {
        ctx: null,
        gain: null,
        buffers: new Map(),
        sources: new Map(),
        decoded: false,
        seconds: 0,
        sumAt: 0,
        shift: 0,
        pending: null,
        stopped: false
    };
    Module.hushAudioState = s;
    window.hushAudio = () => ({
        state: s.ctx ? s.ctx.state : 'none',
        decoded: s.decoded,
        seconds: s.seconds,
        spectrumSum: s.sumAt ? HEAPF32[s.sumAt >> 2] : 0
    });
});

// A source held back by the browser's autoplay rule starts where the show
// is by the time it may play, and until then the clock runs on the page's
// own, so the music values follow the pictures throughout.
EM_JS(int, hush_audio_open, (int rate), {
    const s = Module.hushAudioState;
    const Context = window.AudioContext || window.webkitAudioContext;
    if (!Context) {
        return 0;
    }
    let ctx;
    try {
        ctx = new Context({sampleRate: rate, latencyHint: 'interactive'});
    } catch (e) {
        try {
            ctx = new Context({latencyHint: 'interactive'});
        } catch (e2) {
            return 0;
        }
    }
    s.ctx = ctx;
    s.gain = ctx.createGain();
    s.gain.connect(ctx.destination);
    s.shift = 0;
    s.pending = null;
    s.stopped = false;
    const gesture = () => {
        if (s.ctx === ctx && !s.stopped && ctx.state === 'suspended') {
            ctx.resume();
        }
    };
    for (const name of ['pointerdown', 'keydown', 'click', 'touchend']) {
        window.addEventListener(name, gesture, {capture: true});
    }
    ctx.addEventListener('statechange', () => {
        const p = s.pending;
        if (s.ctx !== ctx || ctx.state !== 'running' || !p) {
            return;
        }
        s.pending = null;
        const waited = (performance.now() - p.since) / 1000;
        s.shift += waited;
        const source = s.sources.get(p.key);
        if (source) {
            source.start(ctx.currentTime, p.offset + waited + (ctx.currentTime - p.when));
        }
    });
    return ctx.sampleRate;
});

EM_JS(void, hush_audio_close, (), {
    const s = Module.hushAudioState;
    for (const source of s.sources.values()) {
        source.disconnect();
    }
    s.sources.clear();
    s.buffers.clear();
    if (s.ctx) {
        s.ctx.close();
    }
    s.ctx = null;
    s.gain = null;
    s.pending = null;
});

EM_JS(void, hush_audio_resume, (), {
    const s = Module.hushAudioState;
    s.stopped = false;
    if (s.ctx && s.ctx.state === 'suspended') {
        s.ctx.resume();
    }
});

EM_JS(void, hush_audio_suspend, (), {
    const s = Module.hushAudioState;
    s.stopped = true;
    if (s.ctx && s.ctx.state === 'running') {
        s.ctx.suspend();
    }
});

EM_JS(void, hush_audio_gain, (float gain), {
    const s = Module.hushAudioState;
    if (s.gain) {
        s.gain.gain.value = gain;
    }
});

EM_ASYNC_JS(int, hush_audio_decode, (int key, const unsigned char* bytes, int length, int rate), {
    const s = Module.hushAudioState;
    const copy = HEAPU8.slice(bytes, bytes + length).buffer;
    try {
        const ctx = s.ctx && s.ctx.sampleRate === rate ? s.ctx : new OfflineAudioContext(1, 1, rate);
        const buffer = await ctx.decodeAudioData(copy);
        s.buffers.set(key, buffer);
        return buffer.length;
    } catch (e) {
        return -1;
    }
});

EM_JS(int, hush_audio_channels, (int key), {
    const buffer = Module.hushAudioState.buffers.get(key);
    return buffer ? buffer.numberOfChannels : 0;
});

EM_JS(void, hush_audio_copy, (int key, int first, int count, float* left, float* right), {
    const buffer = Module.hushAudioState.buffers.get(key);
    const last = buffer.numberOfChannels - 1;
    HEAPF32.set(buffer.getChannelData(0).subarray(first, first + count), left >> 2);
    HEAPF32.set(buffer.getChannelData(last > 0 ? 1 : 0).subarray(first, first + count), right >> 2);
});

EM_JS(void, hush_audio_forget, (int key), {
    const s = Module.hushAudioState;
    const source = s.sources.get(key);
    if (source) {
        source.disconnect();
        s.sources.delete(key);
    }
    if (s.pending && s.pending.key === key) {
        s.pending = null;
    }
    s.buffers.delete(key);
});

EM_JS(double, hush_audio_play, (int key, double offset), {
    const s = Module.hushAudioState;
    const ctx = s.ctx;
    const old = s.sources.get(key);
    if (old) {
        old.disconnect();
    }
    const source = ctx.createBufferSource();
    source.buffer = s.buffers.get(key);
    source.connect(s.gain);
    s.sources.set(key, source);
    if (ctx.state === 'running') {
        source.start(ctx.currentTime, offset);
        s.pending = null;
    } else {
        s.pending = {key: key, offset: offset, when: ctx.currentTime, since: performance.now()};
    }
    return ctx.currentTime;
});

// The context time of the sample heard now: the output's timestamp carried
// on to this moment where the browser gives one, else the context's time
// less the latency it reports; plus the time the autoplay rule held playback.
EM_JS(double, hush_audio_heard_time, (), {
    const s = Module.hushAudioState;
    const ctx = s ? s.ctx : null;
    if (!ctx) {
        return performance.now() / 1000;
    }
    let heard = ctx.currentTime - (ctx.outputLatency || ctx.baseLatency || 0);
    if (ctx.state === 'running' && ctx.getOutputTimestamp) {
        const stamp = ctx.getOutputTimestamp();
        if (stamp.performanceTime > 0) {
            heard = Math.min(stamp.contextTime + (performance.now() - stamp.performanceTime) / 1000,
                             ctx.currentTime);
        }
    }
    if (s.pending) {
        heard += (performance.now() - s.pending.since) / 1000;
    }
    return heard + s.shift;
});

EM_JS(void, hush_audio_show_decoded, (const float* sum, double seconds), {
    const s = Module.hushAudioState;
    s.decoded = true;
    s.seconds = seconds;
    s.sumAt = sum;
});

// clang-format on

// window.hushAudio() is there before the music is opened.
const bool g_installed = (hush_audio_install(), true);

}  // namespace

namespace bass {

std::int64_t MonotonicNanos() {
    return std::llround(hush_audio_heard_time() * 1e9);
}

}  // namespace bass

namespace bass::web {

int OpenContext(int rate) {
    return hush_audio_open(rate);
}

void CloseContext() {
    hush_audio_close();
}

void ResumeContext() {
    hush_audio_resume();
}

void SuspendContext() {
    hush_audio_suspend();
}

void SetGain(float gain) {
    hush_audio_gain(gain);
}

int Decode(int key, const unsigned char* bytes, std::size_t length, int rate) {
    return hush_audio_decode(key, bytes, static_cast<int>(length), rate);
}

int DecodedChannels(int key) {
    return hush_audio_channels(key);
}

void CopyPlanes(int key, std::int64_t first, int count, float* left, float* right) {
    hush_audio_copy(key, static_cast<int>(first), count, left, right);
}

void Forget(int key) {
    hush_audio_forget(key);
}

double Play(int key, double offsetSeconds) {
    return hush_audio_play(key, offsetSeconds);
}

void ShowDecoded(const float* spectrumSum, double seconds) {
    hush_audio_show_decoded(spectrumSum, seconds);
}

}  // namespace bass::web
