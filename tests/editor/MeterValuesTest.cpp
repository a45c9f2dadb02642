#include "EditorTestSupport.h"
#include "editor/MeterValues.h"

#include "../../tools/velora-artwork/ArtworkGeometry.h"

#include <cmath>
#include <limits>

using namespace testing_support;

namespace
{
    struct ColumnCase
    {
        const char* name;
        float level;
        juce::uint32 takenAt;
        juce::uint32 now;
        double expected;
        double tolerance;
    };

    void PrintTo (const ColumnCase& c, std::ostream* os) { *os << c.name; }

    class OutputColumn : public ::testing::TestWithParam<ColumnCase>
    {
    };

    const auto minus55 = std::pow (10.0f, -55.0f / 20.0f);
} // namespace

TEST_P (OutputColumn, FallsFromTheHeldPeakAt24DecibelsPerSecond)
{
    const auto& c = GetParam();
    EXPECT_NEAR (MeterValues::outputColumn ({ c.level, c.takenAt }, c.now), c.expected, c.tolerance);
}

INSTANTIATE_TEST_SUITE_P (Editor, OutputColumn,
                          ::testing::Values (ColumnCase { "FullScaleNow", 1.0f, 5000, 5000, 1.0, 1e-12 },
                                             ColumnCase { "FullScaleHalfASecondLater", 1.0f, 5000, 5500, 0.8, 1e-6 },
                                             ColumnCase { "FullScaleOneSecondLater", 1.0f, 5000, 6000, 0.6, 1e-6 },
                                             ColumnCase { "HalfScaleNow", 0.5f, 5000, 5000, (60.0 - 6.0206) / 60.0, 1e-6 },
                                             ColumnCase { "AtMinus55", minus55, 5000, 5000, 1.0 / 12.0, 1e-6 },
                                             ColumnCase { "JustBelowMinus55", minus55 * 0.999f, 5000, 5000, 0.0, 0.0 },
                                             ColumnCase { "Silence", 0.0f, 5000, 5000, 0.0, 0.0 },
                                             // The counter wrapped between the peak and the tick: 512 ms later.
                                             ColumnCase { "AcrossCounterWrap", 1.0f, 0xffffff00u, 0x100u, (60.0 - 12.288) / 60.0, 1e-5 },
                                             // A peak stamped after the tick's clock reading reads as long gone.
                                             ColumnCase { "StampedAfterTheTick", 1.0f, 5010, 5000, 0.0, 0.0 }),
                          [] (const auto& testCase) { return std::string (testCase.param.name); });

TEST (GateColumn, ShowsTheAttenuationOverFiftyDecibelsWhileTheGateIsOn)
{
    EXPECT_NEAR (MeterValues::gateColumn (true, 0.1f), 0.4f, 1e-6f);
    EXPECT_NEAR (MeterValues::gateColumn (true, 0.5f), 6.0206f / 50.0f, 1e-5f);
    EXPECT_EQ (MeterValues::gateColumn (true, 1.0f), 0.0f);
    EXPECT_EQ (MeterValues::gateColumn (false, 0.1f), 0.0f);
    EXPECT_EQ (MeterValues::gateColumn (false, 0.0f), 0.0f);

    // Fully closed, or beyond the scale: a full column.
    EXPECT_EQ (MeterValues::gateColumn (true, 0.0f), 1.0f);
    EXPECT_EQ (MeterValues::gateColumn (true, 1e-4f), 1.0f);

    // A gain above unity reads below the scale; the slider clamps it to empty.
    EXPECT_LT (MeterValues::gateColumn (true, 2.0f), 0.0f);
}

TEST (CompressorNeedle, TargetFollowsTheCalibrationPointsAndInterpolatesBetweenThem)
{
    EXPECT_FLOAT_EQ (MeterValues::needlePositionForDecibels (-6.0f), 0.38f);
    EXPECT_FLOAT_EQ (MeterValues::needlePositionForDecibels (-30.0f), 0.07f);
    EXPECT_FLOAT_EQ (MeterValues::needlePositionForDecibels (4.0f), 0.84f);

    const float points[][2] = { { -40.0f, 0.0f }, { -20.0f, 0.14f }, { -10.0f, 0.26f }, { -7.0f, 0.34f }, { -5.0f, 0.42f }, { -3.0f, 0.51f },
                                { -1.0f, 0.60f }, { 0.0f, 0.66f }, { 3.0f, 0.79f }, { 5.0f, 0.89f }, { 8.0f, 1.0f } };

    for (const auto& p : points)
        EXPECT_FLOAT_EQ (MeterValues::needlePositionForDecibels (p[0]), p[1]) << p[0] << " dB";

    EXPECT_EQ (MeterValues::needlePositionForDecibels (-40.01f), 0.0f);
    EXPECT_EQ (MeterValues::needlePositionForDecibels (20.0f), 1.0f);
    EXPECT_EQ (MeterValues::needlePositionForDecibels (std::numeric_limits<float>::infinity()), 1.0f);
    EXPECT_EQ (MeterValues::needlePositionForDecibels (-std::numeric_limits<float>::infinity()), 0.0f);
    EXPECT_EQ (MeterValues::needlePositionForDecibels (std::numeric_limits<float>::quiet_NaN()), 0.0f);
}

TEST (CompressorNeedle, LandsOnTheMarksPrintedOnTheMeterFace)
{
    // The face's marks are drawn where the artwork's needle points for each gain change;
    // the meter must compute the same position, bit for bit, or needle and scale drift.
    for (auto decibels = -45.0f; decibels <= 10.0f; decibels += 0.125f)
        EXPECT_EQ (MeterValues::needlePositionForDecibels (decibels), ArtworkGeometry::needlePosition ((double) decibels)) << decibels;
}

TEST (CompressorNeedle, TargetFromTheCompressorGains)
{
    // Off: the 0 dB rest position, whatever the compressor reports.
    EXPECT_FLOAT_EQ (MeterValues::needleTarget (false, 0.1f, 1.0f), 0.66f);

    // A steady 6 dB reduction at unity make-up.
    const auto minus6 = std::pow (10.0f, -6.0f / 20.0f);
    EXPECT_NEAR (MeterValues::needleTarget (true, minus6 * 2.0f, 2.0f), 0.38f, 1e-4f);

    // Idle at unity: the offset in the divisor leaves the needle a hair below 0 dB.
    const auto idle = MeterValues::needleTarget (true, 1.0f, 1.0f);
    EXPECT_LT (idle, 0.66f);
    EXPECT_GT (idle, 0.6599f);

    // No gain at all, or nonsense from the engine: the needle rests at the left stop.
    EXPECT_EQ (MeterValues::needleTarget (true, 0.0f, 1.0f), 0.0f);
    EXPECT_EQ (MeterValues::needleTarget (true, -1.0f, 1.0f), 0.0f);
    EXPECT_EQ (MeterValues::needleTarget (true, std::numeric_limits<float>::quiet_NaN(), 1.0f), 0.0f);
}

TEST (CompressorNeedle, ClimbsFiveHundredthsPerTickAndDropsAtOnce)
{
    // From the left stop to 0 dB: 0.05 per tick, the last step clipped to the target.
    juce::Slider needle;
    needle.setRange (0.0, 1.0, 0.0);
    needle.setValue (0.0, juce::dontSendNotification);

    int ticks = 0;

    while (needle.getValue() < (double) 0.66f && ticks < 100)
    {
        needle.setValue (MeterValues::needleStep (needle.getValue(), 0.66f), juce::dontSendNotification);
        ++ticks;

        if (ticks == 13)
        {
            EXPECT_NEAR (needle.getValue(), 0.65, 1e-5);
        }
    }

    EXPECT_EQ (ticks, 14);
    EXPECT_EQ (needle.getValue(), (double) 0.66f);

    // It stays on target, and falls to a lower one in a single tick.
    EXPECT_EQ (MeterValues::needleStep (needle.getValue(), 0.66f), 0.66f);
    EXPECT_EQ (MeterValues::needleStep (needle.getValue(), 0.1f), 0.1f);
}

//==============================================================================
namespace
{
    struct MeterTick : public EditorFixture
    {
        void SetUp() override
        {
            EditorFixture::SetUp();
            setHostValue (*processor, "eqOn", 0.0f);
        }

        /** One block with the given first samples, silence elsewhere. */
        void play (float left, float right)
        {
            juce::AudioBuffer<float> b (2, 512);
            b.clear();
            b.setSample (0, 0, left);
            b.setSample (1, 0, right);
            process (*processor, b);
        }

        bool ledOn (int i) const { return editor->getOverloadLed (i).getToggleState(); }
    };
} // namespace

TEST_F (MeterTick, LedsShowTheOverloadFlagsAsTheTickFindsThem)
{
    editor->timerCallback();
    EXPECT_FALSE (ledOn (0));
    EXPECT_FALSE (ledOn (1));

    play (1.5f, 0.2f);
    editor->timerCallback();
    EXPECT_TRUE (ledOn (0));
    EXPECT_TRUE (ledOn (1));

    // Only the output: the input is clean but the output gain pushes it over.
    setHostValue (*processor, "outputGain", 1.0f);
    play (0.9f, 0.0f);
    editor->timerCallback();
    EXPECT_FALSE (ledOn (0));
    EXPECT_TRUE (ledOn (1));

    // An overload followed by a clean block before the tick leaves both dark.
    setHostValue (*processor, "outputGain", 0.75f);
    play (2.0f, 2.0f);
    play (0.1f, 0.1f);
    editor->timerCallback();
    EXPECT_FALSE (ledOn (0));
    EXPECT_FALSE (ledOn (1));
}

TEST_F (MeterTick, OutputColumnsShowTheBlockPeaksAndTheNeedleRestsWithTheCompressorOff)
{
    play (1.0f, 0.5f);
    editor->timerCallback();

    // Read within milliseconds of the peak: at most a few hundredths of a dB of fall.
    EXPECT_NEAR (editor->getMeter (2).getValue(), 1.0, 0.002);
    EXPECT_NEAR (editor->getMeter (3).getValue(), (60.0 - 6.0206) / 60.0, 0.002);
    EXPECT_EQ (editor->getMeter (0).getValue(), (double) 0.66f);
    EXPECT_EQ (editor->getMeter (1).getValue(), 0.0);

    // A hand-moved meter is overwritten by the next tick.
    editor->getMeter (0).setValue (0.1, juce::sendNotificationSync);
    editor->timerCallback();
    EXPECT_NEAR (editor->getMeter (0).getValue(), 0.15, 1e-6);
}
