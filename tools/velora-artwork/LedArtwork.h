#pragma once

#include <juce_graphics/juce_graphics.h>

/** The lamps: the switches' LEDs, the gate's column of six and the output bar graph. */
namespace LedArtwork
{
    enum class Lamp
    {
        off,
        red,
        green
    };

    /** An 18 x 18 LED in its bezel, transparent outside. */
    juce::Image renderLed (Lamp lamp);

    /** 7 frames of 14 x 104 stacked: frame k has the top k LEDs dark, the rest lit. */
    juce::Image renderMeterColumnFrames();

    /** 13 frames of 15 x 120 side by side: frame k lights the bottom k of twelve bars. */
    juce::Image renderDisplayGridFrames();
} // namespace LedArtwork
