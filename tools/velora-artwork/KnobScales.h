#pragma once

#include "ArtworkFonts.h"

/** The printing around each knob: tick marks over its travel, the values at both ends (and
    at the top where the knob has a centre), its name and unit in the gap below it. */
namespace KnobScales
{
    /** False if a knob of the layout has no scale here. */
    bool drawAll (juce::Graphics& g, const ArtworkFonts& fonts);
}
