#include "compressor/CompressorFilter.h"
#include "eq/OrvelEqAudioProcessor.h"
#include "processor/VeloraAudioProcessor.h"

#include <gtest/gtest.h>

namespace
{
    void setHostValue (VeloraAudioProcessor& p, const char* id, float value)
    {
        p.getParameterTree().getParameter (id)->setValueNotifyingHost (value);
    }

    /** A processor with every stage off, prepared for stereo blocks. */
    std::unique_ptr<VeloraAudioProcessor> makeBareChannel (int numChannels = 2)
    {
        auto p = std::make_unique<VeloraAudioProcessor>();
        setHostValue (*p, "eqOn", 0.0f);
        setHostValue (*p, "oversampling", 0.0f);
        p->setPlayConfigDetails (numChannels, numChannels, 48000.0, 64);
        p->prepareToPlay (48000.0, 64);
        return p;
    }
}

TEST (ProcessorBuses, MonoAndStereoWithEqualLayoutsOnly)
{
    VeloraAudioProcessor p;
    using Set = juce::AudioChannelSet;

    auto layout = [] (Set in, Set out)
    {
        juce::AudioProcessor::BusesLayout l;
        l.inputBuses.add (in);
        l.outputBuses.add (out);
        return l;
    };

    EXPECT_TRUE (p.checkBusesLayoutSupported (layout (Set::mono(), Set::mono())));
    EXPECT_TRUE (p.checkBusesLayoutSupported (layout (Set::stereo(), Set::stereo())));
    EXPECT_TRUE (p.checkBusesLayoutSupported (layout (Set::discreteChannels (2), Set::discreteChannels (2))));
    EXPECT_FALSE (p.checkBusesLayoutSupported (layout (Set::mono(), Set::stereo())));
    EXPECT_FALSE (p.checkBusesLayoutSupported (layout (Set::stereo(), Set::mono())));
    EXPECT_FALSE (p.checkBusesLayoutSupported (layout (Set::create5point1(), Set::create5point1())));
    EXPECT_FALSE (p.checkBusesLayoutSupported (layout (Set::disabled(), Set::disabled())));

    EXPECT_EQ (p.getBus (true, 0)->getName(), "In");
    EXPECT_EQ (p.getBus (false, 0)->getName(), "Out");
    EXPECT_EQ (p.getMainBusNumInputChannels(), 2);

    JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")
    EXPECT_EQ (p.getInputChannelName (0), "1");
    EXPECT_EQ (p.getOutputChannelName (1), "2");
    EXPECT_TRUE (p.isInputChannelStereoPair (0));
    JUCE_END_IGNORE_WARNINGS_GCC_LIKE

    EXPECT_EQ (p.getName(), "Velora");
    EXPECT_EQ (p.getTailLengthSeconds(), 0.0);
    EXPECT_FALSE (p.acceptsMidi() || p.producesMidi());
}

struct GainCase
{
    float inputGain, outputGain;
    bool invert;
    float expectedGain; // overall, in single precision
};

class ProcessorGains : public ::testing::TestWithParam<GainCase> {};

TEST_P (ProcessorGains, InputAndOutputGainAndPolarity)
{
    const auto gc = GetParam();
    auto p = makeBareChannel();
    setHostValue (*p, "inputGain", gc.inputGain);
    setHostValue (*p, "outputGain", gc.outputGain);
    setHostValue (*p, "phaseInvert", gc.invert ? 1.0f : 0.0f);

    juce::AudioBuffer<float> buffer (2, 64);
    for (int ch = 0; ch < 2; ++ch)
        for (int i = 0; i < 64; ++i)
            buffer.setSample (ch, i, 0.25f);

    juce::MidiBuffer midi;
    p->processBlock (buffer, midi);

    // Even samples carry no anti-denormal offset, so they show the gain exactly.
    for (int ch = 0; ch < 2; ++ch)
        for (int i = 0; i < 64; i += 2)
            EXPECT_FLOAT_EQ (buffer.getSample (ch, i), 0.25f * gc.expectedGain) << ch << ":" << i;
}

INSTANTIATE_TEST_SUITE_P (Table, ProcessorGains, ::testing::Values (
    GainCase { 0.5f,  0.75f, false, 1.0f },
    GainCase { 0.5f,  0.75f, true,  -1.0f },
    GainCase { 0.0f,  0.75f, false, 1.0e-5f },        // -100 dB, not silence
    GainCase { 1.0f,  0.75f, false, 15.848932f },     // +24 dB
    GainCase { 0.25f, 0.75f, false, 0.0031622776f },  // -50 dB
    GainCase { 0.5f,  0.0f,  false, 1.0e-5f },
    GainCase { 0.5f,  1.0f,  true,  -3.9810717f },    // +12 dB inverted
    GainCase { 0.5f,  0.375f, false, 0.0031622308f })); // 133.333 * 0.375 - 100 = -50.000125 dB, not -50

TEST (ProcessorSignal, OddSamplesOfTheFirstTwoChannelsGetTheBias)
{
    auto p = makeBareChannel();
    juce::AudioBuffer<float> buffer (2, 8);
    buffer.clear();
    juce::MidiBuffer midi;
    p->processBlock (buffer, midi);

    for (int ch = 0; ch < 2; ++ch)
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ (buffer.getSample (ch, i), i % 2 == 1 ? 1.0e-10f : 0.0f) << ch << ":" << i;
}

TEST (ProcessorSignal, MonoBlocksTouchOnlyChannelZero)
{
    auto p = makeBareChannel (1);
    juce::AudioBuffer<float> buffer (1, 8);
    buffer.clear();
    juce::MidiBuffer midi;
    p->processBlock (buffer, midi);

    EXPECT_EQ (buffer.getSample (0, 1), 1.0e-10f);
    EXPECT_EQ (buffer.getSample (0, 0), 0.0f);
}

TEST (ProcessorPreparation, EnginesRunAtTwiceTheRateWithOversampling)
{
    VeloraAudioProcessor p;
    p.prepareToPlay (48000.0, 512);

    EXPECT_EQ (p.getEqEngine().getDesignSampleRate(), 96000.0f);
    EXPECT_EQ (p.getCompressorEngine().getSampleRateForCoefficients(), 96000.0f);
}
