// The picture: the total curve is drawn where the response says, and not past Nyquist.

#include "EqPlot.h"
#include "EqResponse.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

namespace
{
    BiquadCoefficients cookbookPeak (double f0, double gainDb, double q, double sampleRate)
    {
        const double a = std::pow (10.0, gainDb / 40.0);
        const double w = 2.0 * 3.141592653589793 * f0 / sampleRate;
        const double alpha = std::sin (w) / (2.0 * q);
        const double a0 = 1.0 + alpha / a;
        return { (1.0 + alpha * a) / a0, -2.0 * std::cos (w) / a0, (1.0 - alpha * a) / a0,
                 -2.0 * std::cos (w) / a0, (1.0 - alpha / a) / a0 };
    }

    bool isCurveColour (juce::Colour c)
    {
        const auto target = EqPlot::totalCurveColour();
        return std::abs (c.getRed() - target.getRed()) < 12 && std::abs (c.getGreen() - target.getGreen()) < 12
            && std::abs (c.getBlue() - target.getBlue()) < 12;
    }

    /** The mean row of the total curve's pixels in one column, if it crosses it. */
    std::optional<double> curveRowAt (const juce::Image& image, int x)
    {
        double sum = 0.0;
        int count = 0;

        for (int y = 0; y < image.getHeight(); ++y)
            if (isCurveColour (image.getPixelAt (x, y)))
            {
                sum += y;
                ++count;
            }

        return count > 0 ? std::optional<double> (sum / count) : std::nullopt;
    }

    EqDesign singlePeak (double sampleRate)
    {
        EqDesign d;
        d.sections.fill (BiquadCoefficients::identity());
        d.mfEnabled = true;
        d.sections[EqDesign::mfPeak] = cookbookPeak (1000.0, 12.0, 2.0, sampleRate);
        return d;
    }
}

TEST (EqPlot, TotalCurveFollowsTheResponse)
{
    const double fs = 48000.0;
    const EqPlot plot (900, 450);
    const auto design = singlePeak (fs);
    const auto image = plot.draw (design, fs, "test");

    for (double f : { 100.0, 700.0, 1000.0, 1500.0, 10000.0 })
    {
        const int x = juce::roundToInt (plot.xForFrequency (f));
        const auto row = curveRowAt (image, x);
        ASSERT_TRUE (row.has_value()) << f;
        EXPECT_NEAR (*row, plot.yForDecibels (EqResponse::totalDecibels (design, plot.frequencyForX ((float) x), fs)), 2.0) << f;
    }

    EXPECT_NEAR (*curveRowAt (image, juce::roundToInt (plot.xForFrequency (1000.0))), plot.yForDecibels (12.0), 2.0);
}

TEST (EqPlot, CurveStopsBelowNyquist)
{
    const double fs = 16000.0;
    const EqPlot plot;
    const auto image = plot.draw (singlePeak (fs), fs, "test");

    EXPECT_TRUE (curveRowAt (image, juce::roundToInt (plot.xForFrequency (5000.0))).has_value());
    EXPECT_FALSE (curveRowAt (image, juce::roundToInt (plot.xForFrequency (12000.0))).has_value());
}

TEST (EqPlot, AxesMapTheGridEnds)
{
    const EqPlot plot (800, 400);
    const auto area = plot.getPlotArea();

    EXPECT_FLOAT_EQ (plot.xForFrequency (20.0), area.getX());
    EXPECT_FLOAT_EQ (plot.xForFrequency (20000.0), area.getRight());
    EXPECT_FLOAT_EQ (plot.yForDecibels (18.0), area.getY());
    EXPECT_FLOAT_EQ (plot.yForDecibels (-18.0), area.getBottom());
    EXPECT_NEAR (plot.frequencyForX (plot.xForFrequency (632.0)), 632.0, 1e-3);
}
