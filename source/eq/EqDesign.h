#pragma once

#include <array>

/** Coefficients of a second-order section, already divided by a0. */
struct BiquadCoefficients
{
    double b0 = 0.0, b1 = 0.0, b2 = 0.0, a1 = 0.0, a2 = 0.0;

    static constexpr BiquadCoefficients identity() noexcept { return { 1.0, 0.0, 0.0, 0.0, 0.0 }; }
};

/** Everything the audio path reads from one redesign: both channels use the same set. */
struct EqDesign
{
    enum Section
    {
        highPass,
        lfShelf,
        lfBell,
        lowPass,
        hfShelf,
        hfBell,
        lmfPeak,
        mfPeak,
        hmfPeak,
        numSections
    };

    std::array<BiquadCoefficients, numSections> sections {};

    float allpassCoefficient = 0.0f;
    float outgainFactor = 1.0f;

    bool bypassed = false;
    bool lmfEnabled = false;
    bool mfEnabled = false;
    bool hmfEnabled = false;
    bool filtersEnabled = false;
    bool lfEnabled = false;
    bool hfEnabled = false;
    bool lowCutEnabled = false;
    bool highCutEnabled = false;

    /** Bumped by every prepareToPlay: the block that first sees a new value clears the
        allpass state, so the reset travels with the design that follows it. */
    unsigned int allpassResetGeneration = 0;
};
