#pragma once

#include "processor/PeakHold.h"

/** What the editor's meters show, computed from the values the processor publishes.
    Plain functions of their inputs, so each reading can be checked without a window. */
namespace MeterValues
{
    /** The output column (0..1, one twelfth per 5 dB, full at 0 dB, empty below -55 dB)
        for a held peak as it stands at time now, falling 24 dB per second from the moment
        it was taken. now is the approximate millisecond counter. */
    double outputColumn (PeakHold peak, juce::uint32 now) noexcept;

    /** The gate column: the gate's attenuation over 0..50 dB, 0 while the gate is off. */
    float gateColumn (bool gateEnabled, float gateGain) noexcept;

    /** The compressor needle's target position for a gain change in dB, through the
        needle calibration table; 0 below its first point and for a non-number. */
    float needlePositionForDecibels (float decibels) noexcept;

    /** The needle's target from the compressor's current gain against its resting gain
        (make-up times mix); the 0 dB position while the compressor is off. */
    float needleTarget (bool compEnabled, float currentGain, float wetGain) noexcept;

    /** One tick of needle ballistics: falls to a lower target at once, climbs by at most
        0.05 per tick. */
    float needleStep (double current, float target) noexcept;
} // namespace MeterValues
