#pragma once

#include <juce_graphics/juce_graphics.h>

/** The panel's inks: screen-printed legends on dark brushed metal. */
namespace PanelStyle
{
    const juce::Colour legend (0xffeae6dc);
    const juce::Colour dimLegend (0xffc2beb6);
    const juce::Colour tick (0xffc8c5be);
    const juce::Colour frameLine (0x80d8d4cc);
    const juce::Colour warning (0xffe8503a);

    constexpr float numberHeight = 8.0f;
    constexpr float nameHeight = 7.2f;
    constexpr float unitHeight = 7.0f;
    constexpr float titleHeight = 9.5f;
    constexpr float captionHeight = 10.5f;
} // namespace PanelStyle
