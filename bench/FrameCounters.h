#pragma once

#include <benchmark/benchmark.h>

/** The counters every benchmark here reports, per stereo frame at the host rate, from
    the benchmark's CPU time. Every benchmark measures the CPU time of the whole process,
    so work a hosted plug-in hands to a thread of its own is counted too. */
namespace FrameCounters
{
    /** time_per_frame: CPU time per host stereo frame (printed as e.g. "21.5ns", seconds
        in the JSON output). realtime_factor: seconds of audio processed per CPU second
        (printed with a "/s" suffix). */
    inline void report (benchmark::State& state, int framesPerIteration, double hostSampleRate)
    {
        const double frames = (double) state.iterations() * framesPerIteration;

        state.SetItemsProcessed ((int64_t) frames);
        state.counters["time_per_frame"] = benchmark::Counter (frames, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
        state.counters["realtime_factor"] = benchmark::Counter (frames / hostSampleRate, benchmark::Counter::kIsRate);
    }

    inline constexpr const char* timePerFrame = "time_per_frame";
}
