#pragma once

/** A downward gate with one gain for all channels: no hold, no hysteresis, no look-ahead. */
namespace NoiseGate
{
    /** The gate's per-block settings, converted from the four 0..1 parameter values. */
    struct Settings
    {
        float threshold = 0.0f;   // linear
        float openingRate = 0.0f; // per second
        float closingRate = 0.0f; // per second
        float floor = 0.0f;       // linear
    };

    Settings convertSettings (float thresholdValue, float attackValue, float releaseValue, float rangeValue) noexcept;

    /** Seconds per sample of the chain: halved when it runs at twice the host rate, so the
        gate's times do not change with oversampling. */
    float timeStep (double hostSampleRate, bool oversampled) noexcept;

    /** Gates channel 0, or channels 0 and 1 as a linked pair when right is not null, in
        place. gain is the gate's state: it carries from block to block. */
    void process (float* left, float* right, int numSamples, const Settings& settings, float dt, float& gain) noexcept;
}
