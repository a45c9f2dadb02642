#include "NoiseGate.h"

#include <algorithm>
#include <cmath>

#if defined (__SSE2__) || defined (_M_X64)
 #define VELORA_GATE_SSE2 1
 #include <emmintrin.h>
#else
 #define VELORA_GATE_SSE2 0
#endif

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

        const auto step = [&] (int i)
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
        };

        int i = 0;

       #if VELORA_GATE_SSE2
        // Mostly the gain cannot move: the gate is open (or has settled where opening gives
        // the same gain again) and nothing falls below the threshold, or it is closed (or
        // settled) and nothing rises above it. Four samples at a time are checked for that
        // and only multiplied; the others take the serial steps.
        const __m128 threshold = _mm_set1_ps (s.threshold);
        const __m128 magnitude = _mm_castsi128_ps (_mm_set1_epi32 (0x7fffffff));

        for (; i + 4 <= numSamples; i += 4)
        {
            __m128 d = _mm_and_ps (_mm_loadu_ps (left + i), magnitude);

            if constexpr (linked)
                d = _mm_max_ps (_mm_and_ps (_mm_loadu_ps (right + i), magnitude), d); // std::max (d, |right|)

            const bool noneBelow = _mm_movemask_ps (_mm_cmplt_ps (d, threshold)) == 0;
            const bool noneAbove = _mm_movemask_ps (_mm_cmpgt_ps (d, threshold)) == 0;
            const bool cannotOpen = ! (g < 1.0f) || g * b + a == g;
            const bool cannotClose = ! (g > s.floor) || g - (g - s.floor) * closing * dt == g;

            if ((noneBelow && cannotOpen) || (noneAbove && cannotClose))
            {
                const __m128 gains = _mm_set1_ps (g);
                _mm_storeu_ps (left + i, _mm_mul_ps (_mm_loadu_ps (left + i), gains));

                if constexpr (linked)
                    _mm_storeu_ps (right + i, _mm_mul_ps (_mm_loadu_ps (right + i), gains));

                continue;
            }

            for (int k = 0; k < 4; ++k)
                step (i + k);
        }
       #endif

        for (; i < numSamples; ++i)
            step (i);

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
