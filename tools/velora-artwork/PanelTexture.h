#pragma once

#include <juce_graphics/juce_graphics.h>

/** The bare front plate: dark anodised aluminium with a fine horizontal brush grain. The
    grain comes from a fixed seed, so every run paints the same plate. */
namespace PanelTexture
{
    juce::Image renderBrushedPlate (int width, int height);
}
