#include "common/BiquadResponse.h"
#include "compressor/SideChainBiquad.h"

#include <gtest/gtest.h>

#include <limits>

using namespace compressor;
using testing_support::magnitudeAt;

TEST (SideChainBiquad, DefaultLowPassCoefficientsToTheLastDigit)
{
    SideChainBiquad section;
    designBiquad (section, lowPass, 707.1068115234375, 44100.0, 0.5);

    EXPECT_EQ (section.b0, 0.002303591570895762);
    EXPECT_EQ (section.b1, 0.004607183141791524);
    EXPECT_EQ (section.b2, 0.002303591570895762);
    EXPECT_EQ (section.a1, -1.808017018633599);
    EXPECT_EQ (section.a2, 0.8172313849171821);
}

TEST (SideChainBiquad, DesignLeavesTheFilterMemoryAlone)
{
    SideChainBiquad section;
    section.x1 = 0.25; section.x2 = -0.5; section.y1 = 0.125; section.y2 = 1.0;

    designBiquad (section, highPass, 1000.0, 48000.0, 0.7);

    EXPECT_EQ (section.x1, 0.25);
    EXPECT_EQ (section.x2, -0.5);
    EXPECT_EQ (section.y1, 0.125);
    EXPECT_EQ (section.y2, 1.0);
}

struct SelectionCase
{
    float filterType;
    int expectedType; // -1: the flat design of a filter that is off
};

class SideChainSelection : public ::testing::TestWithParam<SelectionCase> {};

TEST_P (SideChainSelection, FilterTypeSelectsTheDesign)
{
    const auto c = GetParam();
    const float freq = 0.5f, width = 0.5f, rate = 44100.0f;

    SideChainBiquad selected, expected;
    selectSideChainDesign (selected, c.filterType, freq, width, rate);

    if (c.expectedType < 0)
        designIdentity (expected, rate);
    else
        designBiquad (expected, c.expectedType, (double) (std::pow (200.0f, freq) * 50.0f), rate, 0.5);

    EXPECT_EQ (selected.b0, expected.b0);
    EXPECT_EQ (selected.b1, expected.b1);
    EXPECT_EQ (selected.b2, expected.b2);
    EXPECT_EQ (selected.a1, expected.a1);
    EXPECT_EQ (selected.a2, expected.a2);
}

INSTANTIATE_TEST_SUITE_P (FiveSelectorPositions, SideChainSelection, ::testing::Values (
    SelectionCase { 0.0f,   -1 },
    SelectionCase { -0.5f,  -1 },
    SelectionCase { std::numeric_limits<float>::quiet_NaN(), -1 },
    SelectionCase { 0.1f,   lowPass },  // 4 * 0.1 - 1 truncates to 0
    SelectionCase { 0.25f,  lowPass },
    SelectionCase { 0.5f,   highPass },
    SelectionCase { 0.75f,  bandPass },
    SelectionCase { 0.99f,  bandPass },
    SelectionCase { 1.0f,   bandPassSkirt },
    // Only a stored state reaches these: past the nine designs, the filter is flat.
    SelectionCase { 2.5f,   -1 },
    SelectionCase { 9.6e8f, -1 },
    SelectionCase { std::numeric_limits<float>::infinity(), -1 }));

TEST (SideChainBiquad, FrequencyAndWidthMapToHertzAndQ)
{
    // freq 1 is 10 kHz; width 1 is q 6.5, and the skirt band-pass peaks at q.
    SideChainBiquad section;
    selectSideChainDesign (section, 1.0f, 1.0f, 1.0f, 48000.0f);

    EXPECT_NEAR (magnitudeAt (section, 10000.0, 48000.0), 6.5, 1e-9);
}

TEST (SideChainBiquad, FlatDesignPassesEveryFrequency)
{
    SideChainBiquad section;
    selectSideChainDesign (section, 0.0f, 0.3f, 0.9f, 96000.0f);

    for (double f : { 20.0, 100.0, 1000.0, 10000.0, 40000.0 })
        EXPECT_NEAR (magnitudeAt (section, f, 96000.0), 1.0, 1e-12) << f << " Hz";

    // A sine through the section comes out as it went in, up to double rounding.
    double maxError = 0.0;
    for (int i = 0; i < 4800; ++i)
    {
        const double x = std::sin (2.0 * 3.141592653589793 * 997.0 * i / 96000.0);
        maxError = std::max (maxError, std::abs (section.process (x) - x));
    }
    EXPECT_LT (maxError, 1e-12);
}

TEST (SideChainBiquad, BandPassPeakGains)
{
    const double fc = 1000.0, fs = 44100.0, q = 3.0;
    SideChainBiquad constantPeak, constantSkirt;
    designBiquad (constantPeak, bandPass, fc, fs, q);
    designBiquad (constantSkirt, bandPassSkirt, fc, fs, q);

    EXPECT_NEAR (magnitudeAt (constantPeak, fc, fs), 1.0, 1e-9);
    EXPECT_NEAR (magnitudeAt (constantSkirt, fc, fs), q, 1e-9);
}

TEST (SideChainBiquad, ZeroDecibelShapesNormaliseToUnity)
{
    for (int type : { peak, lowShelf, highShelf })
    {
        SideChainBiquad section;
        designBiquad (section, type, 2500.0, 48000.0, 0.8);

        EXPECT_EQ (section.b0, 1.0) << type;
        EXPECT_EQ (section.b1, section.a1) << type;
        EXPECT_EQ (section.b2, section.a2) << type;
    }
}

TEST (SideChainBiquad, TypeWithoutADesignActsAsOff)
{
    SideChainBiquad section, flat;
    designBiquad (section, 9, 1000.0, 44100.0, 0.5);
    designIdentity (flat, 44100.0);

    EXPECT_EQ (section.b0, flat.b0);
    EXPECT_EQ (section.a1, flat.a1);
    EXPECT_EQ (section.a2, flat.a2);
}

TEST (SideChainBiquad, ResetGivesAnIdentitySectionWithoutMemory)
{
    SideChainBiquad section;
    designBiquad (section, lowPass, 1000.0, 44100.0, 0.5);
    section.process (0.75);
    section.reset();

    EXPECT_EQ (section.b0, 1.0);
    EXPECT_EQ (section.b1 + section.b2 + section.a1 + section.a2, 0.0);
    EXPECT_EQ (section.process (0.5), 0.5);
}
