#pragma once

#include <juce_graphics/juce_graphics.h>

/** The rotary knobs: a knurled skirt and a domed cap, lit from the upper left, with a
    pointer line. The skirt's ridges turn with the knob, the light and shadow do not. */
namespace KnobArtwork
{
    struct Style
    {
        juce::Colour skirt;     // the knurled outer ring
        juce::Colour capLight;  // the cap where the light falls
        juce::Colour capDark;   // the cap away from the light
        juce::Colour pointer;
    };

    Style black();
    Style teal();
    Style red();
    Style lightGrey();

    /** One knob drawn into a 60 x 60 area at the given angle (radians from straight up). */
    void drawKnob (juce::Graphics& g, const Style& style, double angle);

    /** The 101 frames stacked top to bottom, 60 x 6060, transparent around the knob. */
    juce::Image renderFrames (const Style& style);
} // namespace KnobArtwork
