#pragma once

#include <juce_core/juce_core.h>

/** A held output level and the approximate millisecond counter at which it was taken. */
struct PeakHold
{
    float level = 0.0f;
    juce::uint32 time = 0;
};
