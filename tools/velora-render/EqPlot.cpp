#include "EqPlot.h"

#include "EqResponse.h"

#include <cmath>

namespace
{
    const juce::Colour background (0xff15171b);
    const juce::Colour gridLine (0xff2c3038);
    const juce::Colour zeroLine (0xff555b66);
    const juce::Colour labelText (0xff9aa1ad);

    juce::Colour sectionColour (EqDesign::Section section)
    {
        switch (section)
        {
            case EqDesign::highPass:
            case EqDesign::lowPass:     return juce::Colour (0xff8c96a8);
            case EqDesign::lfShelf:
            case EqDesign::lfBell:      return juce::Colour (0xff5fa8ff);
            case EqDesign::lmfPeak:     return juce::Colour (0xff62d2a2);
            case EqDesign::mfPeak:      return juce::Colour (0xffd9d65a);
            case EqDesign::hmfPeak:     return juce::Colour (0xffe07ad8);
            case EqDesign::hfShelf:
            case EqDesign::hfBell:      return juce::Colour (0xffff6f6f);
            case EqDesign::numSections: break;
        }

        return juce::Colours::white;
    }

    juce::String frequencyLabel (double f)
    {
        return f >= 1000.0 ? juce::String (juce::roundToInt (f / 1000.0)) + "k" : juce::String (juce::roundToInt (f));
    }
}

EqPlot::EqPlot (int w, int h)
    : width (juce::jmax (200, w)), height (juce::jmax (120, h))
{
    plotArea = juce::Rectangle<float> (48.0f, 30.0f, (float) width - 48.0f - 16.0f, (float) height - 30.0f - 30.0f);
}

float EqPlot::xForFrequency (double frequency) const noexcept
{
    const double position = std::log (frequency / minimumFrequency) / std::log (maximumFrequency / minimumFrequency);
    return plotArea.getX() + (float) position * plotArea.getWidth();
}

double EqPlot::frequencyForX (float x) const noexcept
{
    const double position = (double) ((x - plotArea.getX()) / plotArea.getWidth());
    return minimumFrequency * std::pow (maximumFrequency / minimumFrequency, position);
}

float EqPlot::yForDecibels (double decibels) const noexcept
{
    const double position = (decibelRange - decibels) / (2.0 * decibelRange);
    return plotArea.getY() + (float) position * plotArea.getHeight();
}

template <typename Response>
juce::Path EqPlot::curve (Response&& decibelsAt, double sampleRate) const
{
    // Past the grid the curve only needs to leave the clipped area.
    const double limit = decibelRange + decibelStep;
    const double highest = juce::jmin (maximumFrequency, 0.499 * sampleRate);
    juce::Path path;

    for (float x = plotArea.getX(); x <= plotArea.getRight(); x += 1.0f)
    {
        const double f = juce::jmin (frequencyForX (x), highest);
        double db = decibelsAt (f);

        if (std::isnan (db))
            db = -limit;

        const float y = yForDecibels (juce::jlimit (-limit, limit, db));
        const float px = xForFrequency (f);

        if (x == plotArea.getX())
            path.startNewSubPath (px, y);
        else
            path.lineTo (px, y);

        if (f >= highest)
            break;
    }

    return path;
}

void EqPlot::drawGrid (juce::Graphics& g) const
{
    g.setFont (12.0f);

    for (double db = -decibelRange; db <= decibelRange + 0.001; db += decibelStep)
    {
        const float y = yForDecibels (db);
        g.setColour (db == 0.0 ? zeroLine : gridLine);
        g.drawHorizontalLine (juce::roundToInt (y), plotArea.getX(), plotArea.getRight());

        g.setColour (labelText);
        const auto text = db > 0.0 ? "+" + juce::String (juce::roundToInt (db)) : juce::String (juce::roundToInt (db));
        g.drawText (text, juce::Rectangle<float> (0.0f, y - 8.0f, plotArea.getX() - 6.0f, 16.0f), juce::Justification::centredRight);
    }

    for (double decade = 10.0; decade < maximumFrequency; decade *= 10.0)
    {
        for (int m = 1; m < 10; ++m)
        {
            const double f = decade * m;

            if (f < minimumFrequency || f > maximumFrequency)
                continue;

            const float x = xForFrequency (f);
            const bool labelled = m == 1 || m == 2 || m == 5;
            g.setColour (labelled ? gridLine.brighter (0.25f) : gridLine);
            g.drawVerticalLine (juce::roundToInt (x), plotArea.getY(), plotArea.getBottom());

            if (labelled)
            {
                g.setColour (labelText);
                g.drawText (frequencyLabel (f), juce::Rectangle<float> (x - 20.0f, plotArea.getBottom() + 4.0f, 40.0f, 16.0f),
                            juce::Justification::centredTop);
            }
        }
    }

    g.setColour (labelText);
    g.drawText ("dB", juce::Rectangle<float> (0.0f, 6.0f, plotArea.getX() - 6.0f, 16.0f), juce::Justification::centredRight);
    g.drawText ("Hz", juce::Rectangle<float> (0.0f, plotArea.getBottom() + 8.0f, plotArea.getX() - 6.0f, 16.0f),
                juce::Justification::topRight);
}

juce::Image EqPlot::draw (const EqDesign& design, double sampleRate, const juce::String& caption) const
{
    juce::Image image (juce::Image::RGB, width, height, true);
    juce::Graphics g (image);

    g.fillAll (background);
    drawGrid (g);

    g.setColour (juce::Colours::white.withAlpha (0.85f));
    g.setFont (14.0f);
    g.drawText (caption, juce::Rectangle<float> (plotArea.getX(), 6.0f, plotArea.getWidth(), 18.0f), juce::Justification::centredLeft);

    if (! (sampleRate > 0.0))
        return image;

    g.reduceClipRegion (plotArea.toNearestInt());

    for (auto section : EqResponse::activeSections (design))
    {
        const auto& coefficients = design.sections[(size_t) section];
        g.setColour (sectionColour (section).withAlpha (0.45f));
        g.strokePath (curve ([&] (double f) { return EqResponse::sectionDecibels (coefficients, f, sampleRate); }, sampleRate),
                      juce::PathStrokeType (1.25f));
    }

    g.setColour (totalCurveColour());
    g.strokePath (curve ([&] (double f) { return EqResponse::totalDecibels (design, f, sampleRate); }, sampleRate),
                  juce::PathStrokeType (2.5f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));

    return image;
}
