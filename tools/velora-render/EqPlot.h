#pragma once

#include "eq/EqDesign.h"

#include <juce_graphics/juce_graphics.h>

/** A picture of an equaliser design's magnitude response: 20 Hz to 20 kHz on a log axis,
    a dB grid, each active section faintly and the whole equaliser on top. */
class EqPlot final
{
public:
    static constexpr double minimumFrequency = 20.0;
    static constexpr double maximumFrequency = 20000.0;
    static constexpr double decibelRange = 18.0;   ///< the grid spans -18..+18 dB
    static constexpr double decibelStep = 6.0;

    EqPlot (int width = 900, int height = 450);

    juce::Rectangle<float> getPlotArea() const noexcept     { return plotArea; }
    float xForFrequency (double frequency) const noexcept;
    double frequencyForX (float x) const noexcept;
    float yForDecibels (double decibels) const noexcept;

    /** Draws the design as the audio path runs it at this sample rate; the curves stop
        below half the sample rate when that lies under 20 kHz. */
    juce::Image draw (const EqDesign& design, double sampleRate, const juce::String& caption) const;

    static juce::Colour totalCurveColour() noexcept         { return juce::Colour (0xffffa53a); }

private:
    template <typename Response>
    juce::Path curve (Response&& decibelsAt, double sampleRate) const;

    void drawGrid (juce::Graphics& g) const;

    int width, height;
    juce::Rectangle<float> plotArea;
};
