#pragma once

#include <juce_core/juce_core.h>

#include <atomic>
#include <cmath>
#include <cstring>

/** A held output level (linear) and the approximate millisecond counter at which it was taken. */
struct PeakHold
{
    float level = 0.0f;
    juce::uint32 time = 0;
};

/** How much a held peak has fallen after elapsedMs: 24 dB per second, in single precision. */
inline float peakDecayFactor (juce::int32 elapsedMs) noexcept
{
    return std::pow (10.0f, 1.2f * (float) elapsedMs * 0.001f);
}

/** The held level as it stands at time now. */
inline float decayedLevel (const PeakHold& peak, juce::uint32 now) noexcept
{
    return peak.level / peakDecayFactor ((juce::int32) (now - peak.time));
}

/** A PeakHold that the audio thread writes and the editor reads: level and time travel
    together in one 64-bit atomic, so a reader never sees the level of one block with
    the time of another. */
class PublishedPeakHold
{
public:
    PublishedPeakHold() noexcept { store ({}); }

    void store (PeakHold peak) noexcept
    {
        juce::uint32 levelBits;
        std::memcpy (&levelBits, &peak.level, sizeof (levelBits));
        packed.store (((juce::uint64) peak.time << 32) | levelBits, std::memory_order_release);
    }

    PeakHold load() const noexcept
    {
        const auto bits = packed.load (std::memory_order_acquire);
        const auto levelBits = (juce::uint32) (bits & 0xffffffffu);

        PeakHold peak;
        std::memcpy (&peak.level, &levelBits, sizeof (levelBits));
        peak.time = (juce::uint32) (bits >> 32);
        return peak;
    }

private:
    std::atomic<juce::uint64> packed { 0 };
};
