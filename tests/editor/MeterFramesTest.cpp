#include "EditorImages.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
    bool isLit (juce::Colour c) { return c.getPerceivedBrightness() > 0.75f; }
    bool isDark (juce::Colour c) { return c.getPerceivedBrightness() < 0.45f; }

    class MeterColumnFrames : public ::testing::TestWithParam<int>
    {
    };

    class DisplayGridFrames : public ::testing::TestWithParam<int>
    {
    };
} // namespace

TEST_P (MeterColumnFrames, FrameKHasTheTopKLedsDarkAndTheRestLitYellow)
{
    const auto k = GetParam();
    const auto frames = meterColumnFrames.load();
    constexpr int frameHeight = 104;

    for (int led = 0; led < 6; ++led)
    {
        const auto y = k * frameHeight + (int) (frameHeight * (led + 0.5) / 6.0);
        const auto c = frames.getPixelAt (7, y);

        if (led < k)
        {
            EXPECT_TRUE (isDark (c)) << "LED " << led << " " << c.toString();
        }
        else
        {
            EXPECT_TRUE (isLit (c)) << "LED " << led << " " << c.toString();
            EXPECT_GT (c.getFloatRed(), 0.8f) << led;
            EXPECT_GT (c.getFloatGreen(), 0.6f) << led;
            EXPECT_LT (c.getFloatBlue(), c.getFloatGreen()) << led;
        }
    }
}

INSTANTIATE_TEST_SUITE_P (Editor, MeterColumnFrames, ::testing::Range (0, 7));

TEST_P (DisplayGridFrames, FrameKLightsTheBottomKBarsGreenYellowRed)
{
    const auto k = GetParam();
    const auto grid = displayGridImage.load();
    constexpr int frameWidth = 15;
    constexpr int barPitch = 10;

    for (int bar = 1; bar <= 12; ++bar)
    {
        const auto y = 120 - barPitch * bar + barPitch / 2;
        const auto c = grid.getPixelAt (k * frameWidth + frameWidth / 2, y);
        const auto r = c.getFloatRed(), g = c.getFloatGreen(), b = c.getFloatBlue();

        if (bar > k)
        {
            EXPECT_LT (juce::jmax (r, g, b), 0.35f) << "bar " << bar << " " << c.toString();
        }
        else if (bar <= 7)
        {
            EXPECT_GT (g, 0.7f) << "bar " << bar << " " << c.toString();
            EXPECT_GT (g, r * 1.3f) << "bar " << bar << " " << c.toString();
        }
        else if (bar <= 11)
        {
            EXPECT_GT (juce::jmin (r, g), 0.7f) << "bar " << bar << " " << c.toString();
            EXPECT_LT (b, 0.6f * g) << "bar " << bar << " " << c.toString();
        }
        else
        {
            EXPECT_GT (r, 0.7f) << c.toString();
            EXPECT_GT (r, g * 1.5f) << c.toString();
        }
    }
}

INSTANTIATE_TEST_SUITE_P (Editor, DisplayGridFrames, ::testing::Range (0, 13));

namespace
{
    /** The needle's lean from vertical in degrees (positive to the right): a line fitted
        through the pixels where this frame is darker than a frame with the needle far away,
        each weighted by how much darker it is, so the fit resolves fractions of a pixel. */
    double needleLean (const juce::Image& frames, int frame)
    {
        constexpr int frameHeight = 85;
        const auto other = frame < 50 ? 99 : 0;
        double sumW = 0.0, sumY = 0.0, sumX = 0.0, sumYY = 0.0, sumXY = 0.0;

        for (int y = 20; y < 70; ++y)
        {
            for (int x = 0; x < 162; ++x)
            {
                const auto here = frames.getPixelAt (x, frame * frameHeight + y).getPerceivedBrightness();
                const auto there = frames.getPixelAt (x, other * frameHeight + y).getPerceivedBrightness();
                const auto w = (double) (there - here);

                if (w > 0.05)
                {
                    sumW += w;
                    sumY += w * y;
                    sumX += w * x;
                    sumYY += w * y * y;
                    sumXY += w * x * y;
                }
            }
        }

        if (sumW < 5.0)
            return std::nan ("");

        // x = a + b y; the needle leans right when x grows as y falls.
        const auto b = (sumW * sumXY - sumX * sumY) / (sumW * sumYY - sumY * sumY);
        return std::atan (-b) * 180.0 / 3.14159265358979323846;
    }
} // namespace

TEST (VuNeedleFrames, NeedleMovesSteadilyFromTheLeftStopToTheRightStop)
{
    const auto frames = vuNeedleFrames.load();
    ASSERT_EQ (frames.getHeight(), 85 * 100);

    auto previous = -90.0;

    for (int frame = 0; frame < 100; ++frame)
    {
        const auto lean = needleLean (frames, frame);
        ASSERT_FALSE (std::isnan (lean)) << "no needle found in frame " << frame;
        EXPECT_GT (lean, previous) << "frame " << frame;
        previous = lean;
    }

    const auto left = needleLean (frames, 0);
    const auto right = needleLean (frames, 99);
    EXPECT_LT (left, -30.0);
    EXPECT_GT (right, 30.0);
    EXPECT_NEAR (left, -right, 2.0);
}
