#pragma once

#include <cmath>

/** The physical meaning of the processor's own parameter values: one home for the
    formulas that the audio path, the editor's labels and the tools share. */
namespace ParameterUnits
{
    /** "inputGain": -100 dB at 0, 0 dB at 0.5, +24 dB at 1. */
    inline float inputGainDecibels (float v) noexcept
    {
        return v < 0.5f ? 200.0f * v - 100.0f : 48.0f * (v - 0.5f);
    }

    /** "outputGain": -100 dB at 0, 0 dB at 0.75, +12 dB at 1 (the factor is 133.333, not 400/3). */
    inline float outputGainDecibels (float v) noexcept
    {
        return v < 0.75f ? 133.333f * v - 100.0f : 48.0f * (v - 0.75f);
    }

    /** 10^(dB * 0.05) in single precision. */
    inline float decibelsToGain (float decibels) noexcept
    {
        return std::pow (10.0f, decibels * 0.05f);
    }
}
