#include "EditorImages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace
{
    constexpr int frameSize = 60;
    constexpr double pi = 3.14159265358979323846;

    struct KnobCase
    {
        EditorImage image;
        bool lightPointer;   // white pointer on a dark cap, or black on a light one
        int frame;
    };

    /** The pointer's direction in degrees clockwise from straight up: walk a ring round the
        cap, keep the angles where it is much brighter (or darker) than usual, and average
        them, so a pointer two pixels wide is found at its middle. */
    double measurePointerAngle (const juce::Image& frames, int frame, bool lightPointer)
    {
        const auto top = frame * frameSize;
        std::vector<float> profile;

        for (int step = 0; step < 720; ++step)
        {
            const auto a = step * 0.5 * pi / 180.0;
            float sum = 0.0f;

            for (const auto radius : { 8.0, 10.0, 12.0 })
            {
                const auto x = (int) std::floor (30.0 + radius * std::sin (a));
                const auto y = (int) std::floor (30.0 - radius * std::cos (a));
                const auto v = frames.getPixelAt (x, top + y).getPerceivedBrightness();
                sum += lightPointer ? v : 1.0f - v;
            }

            profile.push_back (sum);
        }

        auto sorted = profile;
        std::sort (sorted.begin(), sorted.end());
        const auto threshold = (sorted.back() + sorted[sorted.size() / 2]) * 0.5f;

        double sx = 0.0, sy = 0.0;

        for (size_t step = 0; step < profile.size(); ++step)
        {
            if (profile[step] > threshold)
            {
                const auto a = step * 0.5 * pi / 180.0;
                sx += std::sin (a);
                sy += std::cos (a);
            }
        }

        return std::atan2 (sx, sy) * 180.0 / pi;
    }

    class KnobFrames : public ::testing::TestWithParam<KnobCase>
    {
    };

    std::string caseName (const ::testing::TestParamInfo<KnobCase>& info)
    {
        return std::string (info.param.image.name) + "Frame" + std::to_string (info.param.frame);
    }
} // namespace

TEST_P (KnobFrames, PointerSweeps270DegreesLinearlyFromLowerLeftToLowerRight)
{
    const auto& c = GetParam();
    const auto frames = c.image.load();
    ASSERT_EQ (frames.getHeight(), frameSize * 101);

    const auto expected = -135.0 + 270.0 * c.frame / 100.0;
    EXPECT_NEAR (measurePointerAngle (frames, c.frame, c.lightPointer), expected, 3.0);
}

TEST_P (KnobFrames, IsTransparentOutsideTheKnob)
{
    const auto& c = GetParam();
    const auto frames = c.image.load();
    const auto top = c.frame * frameSize;

    for (const auto& corner : { juce::Point<int> (0, 0), { 59, 0 }, { 0, 59 }, { 59, 59 }, { 30, 0 }, { 0, 30 } })
        EXPECT_EQ (frames.getPixelAt (corner.x, top + corner.y).getAlpha(), 0) << corner.toString();

    EXPECT_EQ (frames.getPixelAt (30, top + 30).getAlpha(), 255);
}

INSTANTIATE_TEST_SUITE_P (Editor, KnobFrames,
                          ::testing::Values (KnobCase { knobBlackFrames, true, 0 }, KnobCase { knobBlackFrames, true, 50 },
                                             KnobCase { knobBlackFrames, true, 100 }, KnobCase { knobBlackFrames, true, 25 },
                                             KnobCase { knobTealFrames, true, 0 }, KnobCase { knobTealFrames, true, 50 },
                                             KnobCase { knobTealFrames, true, 100 }, KnobCase { knobTealFrames, true, 75 },
                                             KnobCase { knobRedFrames, true, 0 }, KnobCase { knobRedFrames, true, 50 },
                                             KnobCase { knobRedFrames, true, 100 }, KnobCase { knobRedFrames, true, 33 },
                                             KnobCase { knobGreyFrames, false, 0 }, KnobCase { knobGreyFrames, false, 50 },
                                             KnobCase { knobGreyFrames, false, 100 }, KnobCase { knobGreyFrames, false, 90 }),
                          caseName);
