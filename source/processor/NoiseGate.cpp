#include "NoiseGate.h"

#include <cmath>

namespace NoiseGate
{

Settings convertSettings (float thresholdValue, float attackValue, float releaseValue, float rangeValue) noexcept
{
    Settings s;
    s.threshold = std::pow (10.0f, (100.0f * thresholdValue - 100.0f) * 0.05f);
    s.openingRate = (float) (1.0 / (0.049 * attackValue + 0.001));
    s.closingRate = (float) (1.0 / (0.999 * releaseValue + 0.001));
    s.floor = std::pow (10.0f, (47.0f * rangeValue + 3.0f) * -0.05f);
    return s;
}

float timeStep (double hostSampleRate, bool oversampled) noexcept
{
    // Not prepared yet: fall back to the rate the processor assumes until it is.
    if (! (hostSampleRate > 0.0))
        hostSampleRate = 44100.0;

    return (float) ((oversampled ? 0.5 : 1.0) / hostSampleRate);
}

namespace
{
    template <bool linked>
    void run (float* left, float* right, int numSamples, const Settings& s, float dt, float& gain) noexcept
    {
        const float a = s.openingRate * dt;
        const float b = 1.0f - a;
        const float closing = s.closingRate;
        float g = gain;

        for (int i = 0; i < numSamples; ++i)
        {
            float d = std::abs (left[i]);

            if constexpr (linked)
                d = std::max (d, std::abs (right[i]));

            // Both tests are strict: a detector exactly at the threshold holds the gain.
            if (d > s.threshold && g < 1.0f)
                g = g * b + a;

            // Only a gain above the floor is pulled down; one below it (the initial 0)
            // stays until the signal opens the gate.
            if (d < s.threshold && g > s.floor)
                g = g - (g - s.floor) * closing * dt;

            left[i] *= g;

            if constexpr (linked)
                right[i] *= g;
        }

        gain = g;
    }
}

void process (float* left, float* right, int numSamples, const Settings& settings, float dt, float& gain) noexcept
{
    if (right != nullptr)
        run<true> (left, right, numSamples, settings, dt, gain);
    else
        run<false> (left, nullptr, numSamples, settings, dt, gain);
}

} // namespace NoiseGate
