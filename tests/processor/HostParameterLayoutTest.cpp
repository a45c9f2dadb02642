#include "eq/OrvelEqAudioProcessor.h"
#include "processor/VeloraAudioProcessor.h"

#include <gtest/gtest.h>

namespace
{
    struct Expected
    {
        const char* id;
        float defaultValue;
        bool isSwitch;
    };

    const Expected hostOrder[] = {
        { "compThreshold", 0.6f, false },  { "compRatio", 0.4f, false },
        { "compAttack", 0.2f, false },     { "compRelease", 0.5f, false },
        { "LowFreq", 0.1852f, false },     { "LowGain", 0.5f, false },
        { "LowMidFreq", 0.5f, false },     { "LowMidGain", 0.5f, false },
        { "LowMidQ", 0.3023f, false },     { "MidFreq", 0.5f, false },
        { "MidGain", 0.5f, false },        { "MidQ", 0.3023f, false },
        { "HighMidFreq", 0.5f, false },    { "HighMidGain", 0.5f, false },
        { "HighMidQ", 0.3023f, false },    { "HighFreq", 0.5f, false },
        { "HighGain", 0.5f, false },       { "Outgain", 0.5f, false },
        { "Bypass", 0.0f, false },         { "LMF_In", 1.0f, false },
        { "MF_In", 1.0f, false },          { "HMF_In", 1.0f, false },
        { "LPHP_In", 1.0f, false },        { "Lowcut_In", 1.0f, false },
        { "LF_In", 1.0f, false },          { "Highcut_In", 1.0f, false },
        { "HF_In", 1.0f, false },          { "HighpassFreq", 0.05684210526315789f, false },
        { "LowpassFreq", 1.0f, false },    { "gateThreshold", 0.5f, false },
        { "gateRange", 0.5f, false },      { "gateAttack", 0.5f, false },
        { "gateRelease", 0.5f, false },    { "inputGain", 0.5f, false },
        { "outputGain", 0.75f, false },    { "eqOn", 1.0f, true },
        { "compOn", 0.0f, true },          { "gateOn", 0.0f, true },
        { "compBeforeEq", 0.0f, true },    { "oversampling", 1.0f, true },
        { "phaseInvert", 0.0f, true },
    };
}

TEST (HostParameters, FortyOneInHostOrderWithTheirDefaults)
{
    VeloraAudioProcessor processor;
    const auto& params = processor.getParameters();
    ASSERT_EQ (params.size(), 41);

    for (int i = 0; i < params.size(); ++i)
    {
        const auto& e = hostOrder[i];
        auto* p = dynamic_cast<juce::RangedAudioParameter*> (params[i]);
        ASSERT_NE (p, nullptr);

        EXPECT_EQ (p->getParameterID(), e.id) << i;
        EXPECT_EQ (p->getName (100), e.id) << i;
        EXPECT_EQ (p->getParameterIndex(), i);
        EXPECT_EQ (p->getDefaultValue(), e.defaultValue) << e.id;
        EXPECT_EQ (p->getValue(), e.defaultValue) << e.id;
        EXPECT_EQ (p->getLabel(), juce::String()) << e.id;
        EXPECT_EQ (p->getCategory(), juce::AudioProcessorParameter::genericParameter) << e.id;
        EXPECT_EQ (dynamic_cast<juce::AudioParameterBool*> (p) != nullptr, e.isSwitch) << e.id;

        // Plain 0..1 values: the normalised value is the stored value.
        if (! e.isSwitch)
        {
            EXPECT_EQ (p->convertFrom0to1 (0.3f), 0.3f) << e.id;
        }
        EXPECT_EQ (processor.getParameterTree().getRawParameterValue (e.id)->load(), p->getValue()) << e.id;
    }
}

TEST (HostParameters, EqualiserBlockFollowsTheEngineFromHostIndexFour)
{
    VeloraAudioProcessor processor;
    auto& eq = processor.getEqEngine();
    const auto& params = processor.getParameters();

    JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")
    for (int i = 0; i < eq.getNumParameters(); ++i)
    {
        auto* p = dynamic_cast<juce::RangedAudioParameter*> (params[4 + i]);
        EXPECT_EQ (p->getParameterID(), eq.getParameterName (i));
        EXPECT_EQ (p->getDefaultValue(), eq.getParameter (i)) << i;
    }
    JUCE_END_IGNORE_WARNINGS_GCC_LIKE
}

TEST (HostParameters, FloatTextsUseSevenDecimals)
{
    VeloraAudioProcessor processor;
    auto* lowGain = processor.getParameterTree().getParameter ("LowGain");
    EXPECT_EQ (lowGain->getText (0.25f, 0), "0.2500000");
    EXPECT_EQ (lowGain->getValueForText ("0.75"), 0.75f);
}
