#pragma once

#include <juce_graphics/juce_graphics.h>

/** The output fader's cap seen from the front: 18 x 35, transparent round the corners. */
namespace FaderCapArtwork
{
    juce::Image render();
}
