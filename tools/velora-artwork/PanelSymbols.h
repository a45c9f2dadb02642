#pragma once

#include <juce_graphics/juce_graphics.h>

/** Small pictograms printed on the panel: filter shapes and the screws of the front plate. */
namespace PanelSymbols
{
    enum class Shape
    {
        highShelf,
        lowShelf,
        bell,
        highPass,
        lowPass
    };

    /** The response curve of a filter type, stroked into the area. */
    void drawFilterShape (juce::Graphics& g, Shape shape, juce::Rectangle<float> area, juce::Colour colour);

    /** A slotted screw head, centred on c. */
    void drawScrew (juce::Graphics& g, juce::Point<float> c, float slotAngle);
} // namespace PanelSymbols
