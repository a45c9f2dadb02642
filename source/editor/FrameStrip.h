#pragma once

#include <juce_graphics/juce_graphics.h>

/** The frame-sequence images the look-and-feel draws knobs and meters from, and which
    frame of which image a rotary slider shows. Plain functions, so the choice can be
    checked without painting. */
namespace FrameStrip
{
    enum class Kind
    {
        none,
        vuNeedle,       // 100 frames of 162 x 85, top to bottom
        displayGrid,    // 13 frames of 15 x 120, side by side
        meterColumn,    // 7 frames of 14 x 104, top to bottom, drawn in reverse
        knobGrey,       // 101 frames of 60 x 60, top to bottom
        knobRed,
        knobBlack,
        knobTeal
    };

    /** The strip a rotary slider is drawn from, chosen by its "type" property (the three
        meters) or else by its "colour" property; none when neither names an image. */
    Kind kindFor (const juce::NamedValueSet& properties);

    /** The strip's embedded image, decoded once through the image cache. */
    juce::Image load (Kind kind);

    /** The frame shown at slider proportion p for a strip image of the given size:
        trunc (frames * p) in single precision, where p = 1 counts as 0.999 so the top end
        stays on the last frame. The meter column runs the other way (1 - p). */
    int frameIndex (Kind kind, int imageWidth, int imageHeight, float proportion) noexcept;

    /** The area of the strip image that is drawn into a slider's area at proportion p.
        Meter frames are scaled to the area; knob frames are copied 1:1, so the source is
        the slider's own size. */
    juce::Rectangle<int> sourceArea (Kind kind, int imageWidth, int imageHeight, float proportion,
                                     juce::Rectangle<int> sliderArea) noexcept;
} // namespace FrameStrip
