#include "ProcessorTestSupport.h"
#include "compressor/CompressorFilter.h"
#include "eq/OrvelEqAudioProcessor.h"

#include <gtest/gtest.h>

using namespace testing_support;

TEST (ProcessorChain, GateRunsJustBeforeTheCompressorsPlace)
{
    // The equaliser's output factor at +12 dB lifts a signal 6 dB under the gate's
    // threshold above it: the gate opens only when it comes after the equaliser.
    for (bool compBeforeEq : { true, false })
    {
        auto p = makeProcessor (1, 48000.0, 480, false);
        setHostValue (*p, "gateOn", 1.0f);
        setHostValue (*p, "gateThreshold", 0.9f);      // -10 dB
        setHostValue (*p, "Outgain", 1.0f);            // +12 dB
        setHostValue (*p, "compBeforeEq", compBeforeEq ? 1.0f : 0.0f);

        juce::AudioBuffer<float> b (1, 480);
        for (int i = 0; i < 10; ++i)
        {
            fillSine (b, 1000.0, 48000.0, 0.158f, i * 480); // -16 dB
            process (*p, b);
        }

        if (compBeforeEq)
            EXPECT_EQ (p->getGateGain(), 0.0f);
        else
            EXPECT_GT (p->getGateGain(), 0.5f); // opening on the peaks of the sine
    }
}

TEST (ProcessorChain, DefaultsPassTheSignalAtUnityGain)
{
    // Equaliser at 0 dB everywhere, twice the rate, both half-band filters: a mid-band
    // sine keeps its level.
    auto p = makeProcessor (2, 48000.0, 512, true);
    juce::AudioBuffer<float> b (2, 512);
    double in = 0.0, out = 0.0;

    for (int block = 0; block < 20; ++block)
    {
        fillSine (b, 997.0, 48000.0, 0.5f, block * 512);
        if (block >= 4)
            in += b.getRMSLevel (0, 0, 512);
        process (*p, b);
        if (block >= 4)
            out += b.getRMSLevel (0, 0, 512);
    }

    EXPECT_NEAR (20.0 * std::log10 (out / in), 0.0, 0.05);
}

TEST (ProcessorChain, MonoRunsOnlyTheLeftHalfBandFilters)
{
    auto p = makeProcessor (1, 48000.0, 256, true);
    const auto right = p->getUpsampler (1).getState();
    const auto rightDown = p->getDownsampler (1).getState();

    juce::AudioBuffer<float> b (1, 256);
    fillSine (b, 440.0, 48000.0, 0.5f);
    process (*p, b);

    EXPECT_FALSE (p->getUpsampler (0).getState() == HalfBandFilter::State {});
    EXPECT_EQ (p->getUpsampler (1).getState(), right);
    EXPECT_EQ (p->getDownsampler (1).getState(), rightDown);
    EXPECT_EQ (p->getUpsampler (0).getNumSamples(), 256);
    EXPECT_EQ (p->getDownsampler (1).getNumSamples(), 256);
}

TEST (ProcessorChain, ZeroSampleBlockChangesNoFilterOrGateState)
{
    auto p = makeProcessor (2, 48000.0, 256, true);
    setHostValue (*p, "gateOn", 1.0f);

    juce::AudioBuffer<float> b (2, 256);
    fillSine (b, 440.0, 48000.0, 0.5f);
    process (*p, b);

    const auto up = p->getUpsampler (0).getState();
    const auto down = p->getDownsampler (1).getState();
    const float gate = p->getGateGain();

    juce::AudioBuffer<float> empty (2, 0);
    process (*p, empty);

    EXPECT_EQ (p->getUpsampler (0).getState(), up);
    EXPECT_EQ (p->getDownsampler (1).getState(), down);
    EXPECT_EQ (p->getGateGain(), gate);
}

TEST (ProcessorChain, BlockLongerThanAnnouncedEqualsOnePass)
{
    // Two identical processors; one prepared for the long block, one for a quarter of it.
    auto makeBusy = [] (int preparedBlock)
    {
        auto p = makeProcessor (2, 48000.0, preparedBlock, true);
        setHostValue (*p, "gateOn", 1.0f);
        setHostValue (*p, "compOn", 1.0f);
        setHostValue (*p, "compThreshold", 0.2f);
        setHostValue (*p, "LowGain", 0.8f);
        setHostValue (*p, "MidGain", 0.3f);
        p->prepareToPlay (48000.0, preparedBlock);
        return p;
    };

    for (bool compBeforeEq : { false, true })
    {
        auto onePass = makeBusy (2000);
        auto chunked = makeBusy (500);
        setHostValue (*onePass, "compBeforeEq", compBeforeEq ? 1.0f : 0.0f);
        setHostValue (*chunked, "compBeforeEq", compBeforeEq ? 1.0f : 0.0f);

        for (int block = 0; block < 3; ++block)
        {
            juce::AudioBuffer<float> a (2, 1999), b;
            fillSine (a, 220.0, 48000.0, 0.7f, block * 1999);
            b.makeCopyOf (a);

            process (*onePass, a);
            process (*chunked, b);

            ASSERT_TRUE (bitIdentical (a, b)) << "block " << block << " compBeforeEq " << compBeforeEq;
        }
    }
}

struct RateCase
{
    double sampleRate;
    int blockSize;
};

class ProcessorAtAnyRate : public ::testing::TestWithParam<RateCase> {};

TEST_P (ProcessorAtAnyRate, EveryStageOnGivesFiniteBoundedOutput)
{
    const auto rc = GetParam();

    for (bool oversampling : { false, true })
    {
        auto p = makeProcessor (2, rc.sampleRate, rc.blockSize, oversampling);
        for (auto* param : p->getParameters())
            param->setValueNotifyingHost (1.0f); // every stage on, every gain and frequency at its top

        juce::AudioBuffer<float> b (2, rc.blockSize);
        const int blocks = juce::jmax (1, 16384 / rc.blockSize);

        for (int i = 0; i < blocks; ++i)
        {
            fillSine (b, 0.2 * rc.sampleRate, rc.sampleRate, 1.0f, i * rc.blockSize);
            process (*p, b);
            // Every gain at its top drives the colouring's fifth-order term hard (a full-scale
            // input reaches the polynomial at about 63): large, but it must stay finite.
            ASSERT_TRUE (isFiniteAndBounded (b, 1.0e6f)) << rc.sampleRate << " Hz, block " << i << " oversampling " << oversampling
                                                         << " peak " << b.getMagnitude (0, 0, b.getNumSamples());
        }
    }
}

INSTANTIATE_TEST_SUITE_P (RatesAndBlocks, ProcessorAtAnyRate, ::testing::Values (
    RateCase { 8000.0, 1 },
    RateCase { 22050.0, 37 },
    RateCase { 32000.0, 512 },
    RateCase { 44100.0, 8192 },
    RateCase { 96000.0, 64 },
    RateCase { 192000.0, 4096 }));

TEST (ProcessorChain, RecoversFromABlockOfNonNumbers)
{
    // One bad block from a host must not silence the channel for the rest of the session.
    for (bool oversampling : { true, false })
    {
        auto p = makeProcessor (2, 48000.0, 256, oversampling);
        setHostValue (*p, "gateOn", 1.0f);
        setHostValue (*p, "compOn", 1.0f);

        juce::AudioBuffer<float> b (2, 256);
        fillSine (b, 440.0, 48000.0, 0.5f);
        b.setSample (0, 100, std::numeric_limits<float>::quiet_NaN());
        b.setSample (1, 7, std::numeric_limits<float>::infinity());
        process (*p, b);

        for (int block = 1; block < 40; ++block)
        {
            fillSine (b, 440.0, 48000.0, 0.5f, block * 256);
            process (*p, b);
        }

        EXPECT_TRUE (isFiniteAndBounded (b, 10.0f)) << "oversampling " << oversampling;
        EXPECT_GT (b.getRMSLevel (0, 0, 256), 0.1f) << "oversampling " << oversampling;
        EXPECT_GT (b.getRMSLevel (1, 0, 256), 0.1f) << "oversampling " << oversampling;
    }
}

TEST (ProcessorChain, NonNumberParameterValuesFromAHostStayHarmless)
{
    // A host's automation can carry a NaN or an infinity; the chain must neither play it
    // nor index anything with it, and takes the next real value as usual.
    for (const float bad : { std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                             -std::numeric_limits<float>::infinity() })
    {
        auto p = makeProcessor (2, 48000.0, 256, true);
        juce::AudioBuffer<float> b (2, 256);

        for (auto* parameter : p->getParameters())
            parameter->setValueNotifyingHost (bad);

        for (int block = 0; block < 4; ++block)
        {
            fillSine (b, 440.0, 48000.0, 0.5f, block * 256);
            process (*p, b);
            ASSERT_TRUE (isFiniteAndBounded (b, 1.0e6f)) << bad;
        }

        for (auto* parameter : p->getParameters())
            parameter->setValueNotifyingHost (parameter->getDefaultValue());

        for (int block = 0; block < 40; ++block)
        {
            fillSine (b, 440.0, 48000.0, 0.5f, block * 256);
            process (*p, b);
        }

        EXPECT_TRUE (isFiniteAndBounded (b, 10.0f)) << bad;
        EXPECT_GT (b.getRMSLevel (0, 0, 256), 0.1f) << bad;
    }
}
