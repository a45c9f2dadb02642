#include "ProcessorTestSupport.h"
#include "compressor/CompressorFilter.h"
#include "eq/OrvelEqAudioProcessor.h"

#include <gtest/gtest.h>

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")

using namespace testing_support;

namespace
{
    struct EngineValues
    {
        std::vector<float> compressor, equaliser;

        explicit EngineValues (VeloraAudioProcessor& p)
        {
            for (int i = 0; i < p.getCompressorEngine().getNumParameters(); ++i)
                compressor.push_back (p.getCompressorEngine().getParameter (i));
            for (int i = 0; i < p.getEqEngine().getNumParameters(); ++i)
                equaliser.push_back (p.getEqEngine().getParameter (i));
        }
    };

    /** Which engine value moved (engine, index), or none. */
    std::vector<std::pair<char, int>> changes (const EngineValues& before, const EngineValues& after)
    {
        std::vector<std::pair<char, int>> moved;
        for (size_t i = 0; i < before.compressor.size(); ++i)
            if (before.compressor[i] != after.compressor[i])
                moved.emplace_back ('c', (int) i);
        for (size_t i = 0; i < before.equaliser.size(); ++i)
            if (before.equaliser[i] != after.equaliser[i])
                moved.emplace_back ('e', (int) i);
        return moved;
    }
}

TEST (Propagation, EveryHostParameterReachesExactlyItsEngineValue)
{
    VeloraAudioProcessor p;
    const auto& params = p.getParameters();

    for (int hostIndex = 0; hostIndex < params.size(); ++hostIndex)
    {
        auto* parameter = dynamic_cast<juce::RangedAudioParameter*> (params[hostIndex]);
        const auto id = parameter->getParameterID();

        if (id == "oversampling")
            continue; // re-prepares instead, below

        // A value no parameter has by default, unchanged on the way (a switch takes 0 or 1).
        const float value = dynamic_cast<juce::AudioParameterBool*> (parameter) != nullptr
                              ? 1.0f - parameter->getValue() : 0.3137f;

        const EngineValues before (p);
        parameter->setValueNotifyingHost (value);
        const auto moved = changes (before, EngineValues (p));

        std::vector<std::pair<char, int>> expected;
        if (hostIndex < 4)
            expected.emplace_back ('c', std::array<int, 4> { 0, 1, 3, 4 }[(size_t) hostIndex]);
        else if (hostIndex < 29)
            expected.emplace_back ('e', hostIndex - 4);

        EXPECT_EQ (moved, expected) << id;

        if (! expected.empty())
        {
            const float received = expected[0].first == 'c' ? p.getCompressorEngine().getParameter (expected[0].second)
                                                            : p.getEqEngine().getParameter (expected[0].second);
            EXPECT_EQ (received, value) << id;
        }
    }

    // The compressor's "Output" (index 2) has no host parameter.
    EXPECT_EQ (p.getCompressorEngine().getParameter (2), 0.0f);
}

TEST (Propagation, OversamplingRepreparesBothEnginesAtOnce)
{
    VeloraAudioProcessor p;
    auto rates = [&p] { return std::pair { p.getEqEngine().getDesignSampleRate(), p.getCompressorEngine().getSampleRateForCoefficients() }; };

    // Before the host prepares: 44100 Hz.
    setHostValue (p, "oversampling", 0.0f);
    EXPECT_EQ (rates(), std::pair (44100.0f, 44100.0f));
    setHostValue (p, "oversampling", 1.0f);
    EXPECT_EQ (rates(), std::pair (88200.0f, 88200.0f));

    p.prepareToPlay (48000.0, 512);
    EXPECT_EQ (rates(), std::pair (96000.0f, 96000.0f));
    setHostValue (p, "oversampling", 0.0f);
    EXPECT_EQ (rates(), std::pair (48000.0f, 48000.0f));

    p.prepareToPlay (44100.0, 256);
    EXPECT_EQ (rates(), std::pair (44100.0f, 44100.0f));
}

TEST (Propagation, ChangesPostOneAsynchronousMessage)
{
    struct Counter : juce::ChangeListener
    {
        int count = 0;
        void changeListenerCallback (juce::ChangeBroadcaster*) override { ++count; }
    } counter;

    VeloraAudioProcessor p;
    p.addChangeListener (&counter);

    setHostValue (p, "gateOn", 1.0f);
    setHostValue (p, "inputGain", 0.2f);
    setHostValue (p, "LowGain", 0.7f);
    EXPECT_EQ (counter.count, 0);

    juce::MessageManager::getInstance()->runDispatchLoopUntil (50);
    EXPECT_EQ (counter.count, 1);

    p.removeChangeListener (&counter);
}

JUCE_END_IGNORE_WARNINGS_GCC_LIKE
