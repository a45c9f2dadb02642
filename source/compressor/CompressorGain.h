#pragma once

#include <cmath>

namespace compressor
{

/** Below this the detector counts as silent: the block end flushes the envelope and the
    level follower to 0 there. */
constexpr float silenceLevel = 1.0e-10f;

/** Power-law gain computer with a hard knee: K below the threshold T, K*(E/T)^(-S) above.
    The test is strict, so an envelope of exactly T gives K.
*/
inline float hardKneeGain (float envelope, float threshold, float slope, float wetGain) noexcept
{
    if (envelope > threshold)
        return std::pow (envelope / threshold, -slope) * wetGain;

    return wetGain;
}

/** Soft knee: blends K and the compressed gain with the weight r^2/(1 + r^2), r = E/T, where
    1/r^2 is kept finite as (T/(E + 1e-6))^2. The fractions and the sum run in double.

    The 1e-6 floor of the weight stops it falling with E below about 1e-6, while r^(-S)
    keeps rising, so the literal blend turns into a huge or infinite gain as a silent
    detector decays (11*K at E = 1e-12 with S = 0.9 and T = 0.01, overflow in the denormal
    range) and into 0*inf at E = 0. An envelope below the flush level is therefore treated
    as the silence it is about to become: the gain is K, the value the blend approaches from
    above in its useful range. From that level up the blend stays below about 1.18*K.

    softKneeBlend takes powf's r^(-S) from the caller, so a block loop can run all its powf
    calls in one tight loop and the double arithmetic in another.
*/
inline float softKneeBlend (float envelope, float threshold, float compressed, float wetGain) noexcept
{
    const float r = envelope / threshold;
    const double inverseSquare = (double) threshold / ((double) envelope + 0.000001);
    const double rd = (double) r;
    const auto blend = (float) ((double) compressed * wetGain / (1.0 + inverseSquare * inverseSquare)
                                + wetGain / (1.0 + rd * rd));

    return envelope < silenceLevel ? wetGain : blend;
}

inline float softKneeGain (float envelope, float threshold, float slope, float wetGain) noexcept
{
    if (envelope < silenceLevel)
        return wetGain;

    return softKneeBlend (envelope, threshold, std::pow (envelope / threshold, -slope), wetGain);
}

} // namespace compressor
