#pragma once

#include "ArtworkFonts.h"

/** The editor's background: the front plate with every legend, scale, frame and window,
    lined up with the control positions of the editor layout. */
namespace PanelArtwork
{
    /** 358 x 692, opaque. An invalid image if the layout has a knob without a scale. */
    juce::Image render (const ArtworkFonts& fonts);
}
