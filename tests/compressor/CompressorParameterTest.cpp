#include "compressor/CompressorFilter.h"

#include <gtest/gtest.h>

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")

using compressor::CompressorFilter;

TEST (CompressorParameters, NamesAndDefaults)
{
    CompressorFilter c;
    const char* names[] = { "Thresh", "Ratio", "Output", "Attack", "Release", "Mix",
                            "Filtertype", "freq", "width", "filteredsolo" };
    const float defaults[] = { 0.6f, 0.4f, 0.0f, 0.2f, 0.5f, 1.0f, 0.0f, 0.5f, 0.5f };

    ASSERT_EQ (c.getNumParameters(), 16);

    for (int i = 0; i < 16; ++i)
    {
        EXPECT_EQ (c.getParameterName (i), i < 10 ? juce::String (names[i]) : juce::String()) << i;
        EXPECT_EQ (c.getParameterDefaultValue (i), i < 9 ? defaults[i] : 0.0f) << i;
        EXPECT_EQ (c.getParameter (i), c.getParameterDefaultValue (i)) << i;
    }

    EXPECT_EQ (c.getParameterName (16), juce::String());
    EXPECT_EQ (c.getParameter (-1), 0.0f);
    EXPECT_EQ (c.getName(), "CompressorFilter");
}

TEST (CompressorParameters, TextsAtConstruction)
{
    CompressorFilter c;
    EXPECT_EQ (c.getParameterText (0), "-16.00");
    EXPECT_EQ (c.getParameterText (1), "1.56");
    EXPECT_EQ (c.getParameterText (2), "0.00");
    EXPECT_EQ (c.getParameterText (5), "100.00");
    EXPECT_EQ (c.getParameterText (6), "");
    EXPECT_EQ (c.getParameterText (12), "");
}

struct RatioCase
{
    float ratio;
    float slope;
    const char* text;
};

class CompressorRatio : public ::testing::TestWithParam<RatioCase> {};

TEST_P (CompressorRatio, SlopeAndText)
{
    const auto rc = GetParam();
    CompressorFilter c;
    c.setParameter (1, rc.ratio);

    EXPECT_FLOAT_EQ (c.getWorkingValues().slope, rc.slope);
    EXPECT_EQ (c.getParameterText (1), rc.text);
}

INSTANTIATE_TEST_SUITE_P (Ends, CompressorRatio, ::testing::Values (
    RatioCase { 0.0f, 0.0f, "1.00" },
    RatioCase { 0.4f, 0.36f, "1.56" },
    RatioCase { 1.0f, 0.9f, "10.00" }));

struct TimeCase
{
    int index;
    float value;
    double sampleRate;
    float coefficient;
    const char* text;
};

class CompressorTimes : public ::testing::TestWithParam<TimeCase> {};

TEST_P (CompressorTimes, CoefficientAndHalfStepText)
{
    const auto tc = GetParam();
    CompressorFilter c;
    c.prepareToPlay (tc.sampleRate, 512);
    c.setParameter (tc.index, tc.value);

    const auto& w = c.getWorkingValues();
    const float coefficient = tc.index == 3 ? w.attackCoeff : w.releaseCoeff;

    EXPECT_NEAR (coefficient, tc.coefficient, tc.coefficient * 1e-5f);

    if (tc.text != nullptr)
    {
        EXPECT_EQ (c.getParameterText (tc.index), tc.text);
    }
}

INSTANTIATE_TEST_SUITE_P (AttackAndReleaseEnds, CompressorTimes, ::testing::Values (
    TimeCase { 3, 0.0f, 44100.0, 0.99540544f,   "2.92" },
    TimeCase { 3, 1.0f, 44100.0, 0.00012531407f,   "125418.03" },
    TimeCase { 4, 0.0f, 44100.0, 0.01f,         "1.56" },
    TimeCase { 4, 1.0f, 44100.0, 0.0000125893f, "1248.49" },
    // At twice the rate the coefficients halve.
    TimeCase { 3, 0.0f, 88200.0, 0.99540544f / 2,   nullptr },
    TimeCase { 3, 1.0f, 88200.0, 0.00012531407f / 2, nullptr },
    TimeCase { 4, 0.0f, 88200.0, 0.01f / 2,         nullptr },
    TimeCase { 4, 1.0f, 88200.0, 0.0000125893f / 2, nullptr }));

TEST (CompressorParameters, WorkingValuesAtTheDefaults)
{
    CompressorFilter c;
    c.setParameter (14, 1.0f);

    const auto& w = c.getWorkingValues();
    EXPECT_FLOAT_EQ (w.thresholdGain, 0.15848933f);
    EXPECT_FLOAT_EQ (w.slope, 0.36f);
    EXPECT_EQ (w.wetGain, 1.0f);
    EXPECT_EQ (w.dryGain, 0.0f);
    EXPECT_EQ (c.getWetGain(), 1.0f);
    EXPECT_EQ (c.getParameter (14), 1.0f);
}

TEST (CompressorParameters, AnUnknownIndexStoresNothingButStillRecalculates)
{
    CompressorFilter c;
    ASSERT_EQ (c.getWorkingValues().thresholdGain, 0.0f); // nothing derived yet

    c.setParameter (99, 0.3f);

    for (int i = 0; i < 16; ++i)
        EXPECT_EQ (c.getParameter (i), c.getParameterDefaultValue (i)) << i;

    EXPECT_FLOAT_EQ (c.getWorkingValues().thresholdGain, 0.15848933f);
}

TEST (CompressorParameters, SwitchesStoreTheirValueInTheProgram)
{
    CompressorFilter c;
    c.setParameter (12, 0.25f);
    EXPECT_EQ (c.getParameter (12), 1.0f);

    c.setParameter (12, 0.0f);
    c.setCurrentProgram (0);
    EXPECT_EQ (c.getParameter (12), 0.0f);

    // Bypass and the gain-reduction mode are not program values.
    c.setParameter (13, 1.0f);
    c.setParameter (15, 0.5f);
    c.setCurrentProgram (1);
    EXPECT_EQ (c.getParameter (13), 1.0f);
    EXPECT_EQ (c.getParameter (15), 0.0f);
    c.setCurrentProgram (0);
    EXPECT_EQ (c.getParameter (15), 1.0f);
}

TEST (CompressorParameters, ProgramEditsSurviveAProgramSwitch)
{
    CompressorFilter c;
    c.setCurrentProgram (3);
    c.setParameter (0, 0.9f);
    c.setParameter (8, 0.1f);

    c.setCurrentProgram (0);
    EXPECT_EQ (c.getParameter (0), 0.6f);
    EXPECT_EQ (c.getParameter (8), 0.5f);

    c.setCurrentProgram (3);
    EXPECT_EQ (c.getParameter (0), 0.9f);
    EXPECT_EQ (c.getParameter (8), 0.1f);
    EXPECT_EQ (c.getCurrentProgram(), 3);
}

TEST (CompressorParameters, ProgramNumbersOutsideTheBankAreIgnored)
{
    CompressorFilter c;
    c.setParameter (0, 0.1f);

    for (int index : { 10, -1 })
    {
        c.setCurrentProgram (index);
        c.changeProgramName (index, "nowhere");
        EXPECT_EQ (c.getProgramName (index), juce::String());
    }

    EXPECT_EQ (c.getCurrentProgram(), 0);
    EXPECT_EQ (c.getParameter (0), 0.1f);
    EXPECT_EQ (c.getNumPrograms(), 10);
    EXPECT_EQ (c.getProgramName (9), "Init");

    c.changeProgramName (9, "Vocals");
    EXPECT_EQ (c.getProgramName (9), "Vocals");
}

TEST (CompressorParameters, SideChainFilterFollowsItsSettings)
{
    CompressorFilter c;
    c.setParameter (6, 0.5f); // high-pass

    compressor::SideChainBiquad expected;
    compressor::designBiquad (expected, compressor::highPass, (double) (std::pow (200.0f, 0.5f) * 50.0f), 44100.0, 0.5);
    EXPECT_EQ (c.getWorkingValues().sideChain.b0, expected.b0);
    EXPECT_EQ (c.getWorkingValues().sideChain.a2, expected.a2);

    // Every filter-type write, even of the same value, asks for a fresh detector.
    const auto generation = c.getWorkingValues().detectorResetGeneration;
    c.setParameter (6, 0.5f);
    EXPECT_NE (c.getWorkingValues().detectorResetGeneration, generation);

    c.setParameter (7, 0.25f);
    EXPECT_EQ (c.getWorkingValues().detectorResetGeneration, generation + 1);
}

JUCE_END_IGNORE_WARNINGS_GCC_LIKE
