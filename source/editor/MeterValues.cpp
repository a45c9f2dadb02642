#include "MeterValues.h"

#include "EditorLayout.h"

#include <cmath>

namespace MeterValues
{
    double outputColumn (PeakHold peak, juce::uint32 now) noexcept
    {
        // Unsigned: a peak stamped after this tick's clock reading counts as long gone.
        const auto elapsedSeconds = (float) (juce::uint32) (now - peak.time) * 0.001f;
        const auto decayed = peak.level / std::pow (10.0f, 1.2f * elapsedSeconds);
        const auto decibels = decayed > 0.0f ? 20.0f * std::log10 (decayed) : -100.0f;

        if (decibels < -55.0f)
            return 0.0;

        return (((double) decibels + 55.0) * 0.2) / 12.0 + 1.0 / 12.0;
    }

    float gateColumn (bool gateEnabled, float gateGain) noexcept
    {
        auto attenuation = 0.0f;

        if (gateEnabled)
            attenuation = gateGain > 0.0f ? -20.0f * std::log10 (gateGain) : 50.0f;

        return std::fmin (1.0f, attenuation / 50.0f);
    }

    float needlePositionForDecibels (float decibels) noexcept
    {
        return EditorLayout::needlePosition ((double) decibels);
    }

    float needleTarget (bool compEnabled, float currentGain, float wetGain) noexcept
    {
        // The small offset keeps a silent (zero) make-up from dividing by zero.
        const auto ratio = compEnabled ? (float) ((double) currentGain / ((double) wetGain + 0.0001)) : 1.0f;
        return needlePositionForDecibels (20.0f * std::log10 (ratio));
    }

    float needleStep (double current, float target) noexcept
    {
        if (current > (double) target)
            return target;

        return std::fmin (target, (float) current + 0.05f);
    }
} // namespace MeterValues
