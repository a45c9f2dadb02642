#include "ProcessorTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace testing_support;

TEST (Concurrency, ParameterChangesAndReprepareOnAnotherThreadWhileAudioRuns)
{
    // One thread plays the host's automation and the user's clicks (the oversampling switch
    // re-prepares both engines); the audio thread keeps processing.
    auto p = makeProcessor (2, 48000.0, 256, true);
    setHostValue (*p, "gateOn", 1.0f);
    setHostValue (*p, "compOn", 1.0f);

    std::atomic<bool> running { true };
    std::atomic<int> blocks { 0 };
    std::atomic<bool> bad { false };

    std::thread audio ([&]
    {
        juce::AudioBuffer<float> buffer (2, 256);
        juce::MidiBuffer midi;

        for (int b = 0; running.load(); ++b)
        {
            fillSine (buffer, 997.0, 48000.0, 0.7f, b * 256);
            p->processBlock (buffer, midi);

            if (! isFiniteAndBounded (buffer, 100.0f))
                bad = true;

            ++blocks;
        }
    });

    const juce::StringArray ids { "oversampling", "LowGain", "HighFreq", "MidQ", "compThreshold", "compRatio",
                                  "compAttack", "LowpassFreq", "HighpassFreq", "Bypass", "LF_In", "compBeforeEq" };
    juce::Random random (7);

    // Until the audio thread has seen plenty of blocks while the changes kept coming.
    for (int i = 0; i < 3000 || blocks.load() < 200; ++i)
        setHostValue (*p, ids[i % ids.size()], random.nextFloat());

    running = false;
    audio.join();

    EXPECT_FALSE (bad.load());
    EXPECT_GE (blocks.load(), 200);
}

TEST (Concurrency, EditorSideReadsSeeConsistentMeterValues)
{
    auto p = makeProcessor (2, 48000.0, 64, false, true);
    std::atomic<bool> running { true };

    std::thread audio ([&]
    {
        juce::AudioBuffer<float> buffer (2, 64);
        juce::MidiBuffer midi;

        for (int b = 0; running.load(); ++b)
        {
            buffer.clear();
            buffer.setSample (0, 0, (float) (b % 7) * 0.25f);
            p->processBlock (buffer, midi);
        }
    });

    // Every held level the editor can read is one that a block actually produced.
    for (int i = 0; i < 20000; ++i)
    {
        const auto peak = p->getOutputPeakLeft();
        const float steps = peak.level / 0.25f;
        ASSERT_TRUE (steps == std::floor (steps) || peak.level < 1.0e-9f) << peak.level; // or the anti-denormal offset
        ASSERT_LE (peak.level, 1.5f);
    }

    running = false;
    audio.join();
}
