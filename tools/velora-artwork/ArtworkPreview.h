#pragma once

#include "ArtworkFonts.h"

#include <map>

/** The panel with every control composited at its layout bounds, the way the editor shows
    it (knobs centred, meters part-way, some LEDs lit), to check alignment and legibility. */
namespace ArtworkPreview
{
    /** images: the rendered artwork by file name. */
    juce::Image render (const std::map<juce::String, juce::Image>& images, const ArtworkFonts& fonts);

    /** A contact sheet of the control images on a panel-coloured ground: every knob at five
        positions, all column and grid frames, the LEDs and the fader cap. */
    juce::Image renderSheet (const std::map<juce::String, juce::Image>& images);

    /** The same picture enlarged by an integer factor, pixel for pixel. */
    juce::Image enlarge (const juce::Image& image, int factor);
} // namespace ArtworkPreview
