#include "CompressorWorkingValues.h"

#include <cmath>

namespace compressor
{

CompressorWorkingValues computeWorkingValues (const CompressorSettings& s)
{
    CompressorWorkingValues w;

    w.thresholdGain = std::pow (10.0f, 2.0f * s.threshold - 2.0f);

    // Outside the normal range the slope is bent rather than clamped.
    float slope = (float) ((double) s.ratio * 0.9);

    if (slope > 1.0f)
        slope = 16.0f * (slope - 1.0f) * (slope - 1.0f) + 1.0f;

    if (slope < 0.0f)
        slope = 0.6f * slope;

    const float makeUp = std::pow (10.0f, 2.0f * s.level);

    w.attackCoeff  = std::pow (10.0f, s.attack * -3.9f + -0.002f) * 44100.0f / s.sampleRate;
    w.releaseCoeff = std::pow (10.0f, s.release * -2.9f + -2.0f) * 44100.0f / s.sampleRate;

    if (w.thresholdGain < 0.1f && slope < 0.0f)
        slope = w.thresholdGain * 15.0f * slope;

    w.slope = slope;
    w.dryGain = 1.0f - s.mix;
    w.wetGain = makeUp * s.mix;

    selectSideChainDesign (w.sideChain, s.filterType, s.freq, s.width, s.sampleRate);

    return w;
}

} // namespace compressor
