#pragma once

#include "ArtworkFonts.h"

/** The compressor's gain-change meter: a backlit cream VU face with its needle. */
namespace VuMeterArtwork
{
    /** The face alone, 162 x 85. */
    juce::Image renderFace (const ArtworkFonts& fonts);

    /** 100 frames of 162 x 85 stacked: the needle from the left stop to the right stop. */
    juce::Image renderNeedleFrames (const ArtworkFonts& fonts);
} // namespace VuMeterArtwork
