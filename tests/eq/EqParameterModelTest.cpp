#include "eq/OrvelEqAudioProcessor.h"

#include <gtest/gtest.h>

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")

TEST (EqParameters, IndexOrderNamesAndOutOfRangeAnswers)
{
    OrvelEqAudioProcessor eq;
    ASSERT_EQ (eq.getNumParameters(), 25);
    EXPECT_EQ (eq.getParameterName (0), "LowFreq");
    EXPECT_EQ (eq.getParameterName (13), "Outgain");
    EXPECT_EQ (eq.getParameterName (18), "LPHP_In");
    EXPECT_EQ (eq.getParameterName (23), "HighpassFreq");
    EXPECT_EQ (eq.getParameterName (24), "LowpassFreq");

    EXPECT_EQ (eq.getParameterName (-1), juce::String());
    EXPECT_EQ (eq.getParameterName (25), juce::String());
    EXPECT_EQ (eq.getParameter (25), 0.0f);
    EXPECT_EQ (eq.getParameter (-1), 0.0f);
    EXPECT_EQ (eq.getParameterText (25), "0.0");
    EXPECT_EQ (eq.getParameterDefaultValue (25), 0.0f);
}

struct TextCase
{
    int index;
    float value;
    const char* text;
};

class EqParameterText : public ::testing::TestWithParam<TextCase> {};

TEST_P (EqParameterText, ReadsInPhysicalUnits)
{
    const auto tc = GetParam();
    OrvelEqAudioProcessor eq;

    if (tc.value >= 0.0f)
        eq.setParameter (tc.index, tc.value);

    EXPECT_EQ (eq.getParameterText (tc.index), tc.text);
}

// A negative value means "at the construction value".
INSTANTIATE_TEST_SUITE_P (DefaultsAndEnds, EqParameterText, ::testing::Values (
    TextCase { 0,  -1.0f, "80.0 Hz" },
    TextCase { 1,  -1.0f, "0.0 dB" },
    TextCase { 4,  -1.0f, "2.0" },
    TextCase { 8,  -1.0f, "8.9 kHz" },
    TextCase { 13, -1.0f, "0.5" },   // "Outgain" is not a "Gain": plain value
    TextCase { 15, -1.0f, "1.0" },
    TextCase { 18, -1.0f, "0.0" },
    TextCase { 23, -1.0f, "20.8 Hz" },
    TextCase { 24, -1.0f, "22.0 kHz" },
    TextCase { 1,  1.0f,  "12.0 dB" },
    TextCase { 12, 0.0f,  "-12.0 dB" },
    TextCase { 7,  1.0f,  "5.0" },
    TextCase { 10, 0.0f,  "0.7" },
    TextCase { 2,  1.0f,  "400.0 Hz" },
    TextCase { 5,  0.0f,  "330.0 Hz" },
    TextCase { 11, 1.0f,  "25.0 kHz" },
    TextCase { 23, 0.0f,  "10.0 Hz" },
    TextCase { 24, 0.0f,  "5.0 kHz" }));

TEST (EqParameters, SwitchIsOnOnlyAtExactlyOne)
{
    OrvelEqAudioProcessor eq;

    eq.setParameter (20, 0.999f);
    EXPECT_FALSE (eq.getCurrentDesign().lfEnabled);

    eq.setParameter (20, 1.0f);
    EXPECT_TRUE (eq.getCurrentDesign().lfEnabled);

    eq.setParameter (14, 0.5f);
    EXPECT_FALSE (eq.getCurrentDesign().bypassed);
}

TEST (EqParameters, RecalculateSetsFlagsAndOutputFactor)
{
    OrvelEqAudioProcessor eq;
    eq.recalculateFilters (48000.0f);

    const auto& d = eq.getCurrentDesign();
    EXPECT_EQ (d.outgainFactor, 1.0f);
    EXPECT_EQ (d.allpassCoefficient, -0.7995827f);
    EXPECT_FALSE (d.bypassed);
    EXPECT_FALSE (d.filtersEnabled); // "LPHP_In" is 0 in the engine
    EXPECT_TRUE (d.lmfEnabled && d.mfEnabled && d.hmfEnabled && d.lfEnabled && d.hfEnabled);
    EXPECT_TRUE (d.lowCutEnabled && d.highCutEnabled);
    EXPECT_EQ (eq.getDesignSampleRate(), 48000.0f);

    eq.setParameter (13, 1.0f);
    EXPECT_EQ (eq.getCurrentDesign().outgainFactor, (float) std::pow (10.0, 0.6));
}

TEST (EqParameters, EditsLandInTheCurrentProgram)
{
    OrvelEqAudioProcessor eq;
    eq.setParameter (1, 1.0f);
    EXPECT_EQ (eq.getParameter (1), 1.0f);

    eq.setCurrentProgram (eq.getCurrentProgram());
    EXPECT_EQ (eq.getParameter (1), 1.0f);

    eq.setCurrentProgram (4);
    EXPECT_EQ (eq.getParameter (1), 0.5f);
    eq.setCurrentProgram (0);
    EXPECT_EQ (eq.getParameter (1), 1.0f);
}

TEST (EqParameters, ProgramsHoldTheEnginesOwnDefaults)
{
    // What the processor does: "LPHP_In" on in program 0 only.
    OrvelEqAudioProcessor eq;
    eq.setParameter (18, 1.0f);

    eq.setCurrentProgram (3);
    EXPECT_EQ (eq.getParameter (18), 0.0f);
    EXPECT_FLOAT_EQ (eq.getParameter (0), 0.1852f);
    EXPECT_EQ (eq.getParameterDefaultValue (18), 0.0f);
    EXPECT_EQ (eq.getNumPrograms(), 10);

    // The eleventh record exists, one past that nothing is loaded.
    eq.setCurrentProgram (10);
    EXPECT_EQ (eq.getCurrentProgram(), 10);
    eq.setCurrentProgram (11);
    eq.setCurrentProgram (-1);
    EXPECT_EQ (eq.getCurrentProgram(), 10);
    EXPECT_EQ (eq.getProgramName (11), juce::String());
}

TEST (EqParameters, StateDocumentListsEveryValueThenTheProgram)
{
    OrvelEqAudioProcessor eq;
    eq.setParameter (18, 1.0f);

    juce::MemoryBlock block;
    eq.getStateInformation (block);
    const auto xml = juce::AudioProcessor::getXmlFromBinary (block.getData(), (int) block.getSize());

    ASSERT_NE (xml, nullptr);
    EXPECT_EQ (xml->getTagName(), "MYPLUGINSETTINGS");
    ASSERT_EQ (xml->getNumAttributes(), 26);

    for (int i = 0; i < 25; ++i)
    {
        EXPECT_EQ (xml->getAttributeName (i), eq.getParameterName (i)) << i;
        EXPECT_EQ ((float) xml->getDoubleAttribute (eq.getParameterName (i)), eq.getParameter (i)) << i;
    }

    EXPECT_EQ (xml->getAttributeName (25), "current_program");
    EXPECT_EQ (xml->getIntAttribute ("current_program", -1), 0);
    EXPECT_EQ (xml->getDoubleAttribute ("LPHP_In"), 1.0);

    // Reading a state back is not part of the engine: nothing changes.
    OrvelEqAudioProcessor other;
    other.setStateInformation (block.getData(), (int) block.getSize());
    other.setStateInformation ("junk", 4);
    other.setStateInformation (nullptr, 0);
    EXPECT_EQ (other.getParameter (18), 0.0f);
}

JUCE_END_IGNORE_WARNINGS_GCC_LIKE
