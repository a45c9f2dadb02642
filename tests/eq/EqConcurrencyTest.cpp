#include "EqReferencePath.h"
#include "eq/OrvelEqAudioProcessor.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")

using P = EqParameterTable::Index;

namespace
{
    juce::AudioBuffer<float> noiseBlock (juce::Random& random, int numSamples)
    {
        juce::AudioBuffer<float> buffer (2, numSamples);

        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < numSamples; ++i)
                buffer.setSample (ch, i, 0.3f * (2.0f * random.nextFloat() - 1.0f));

        return buffer;
    }

    bool sameBits (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b)
    {
        for (int ch = 0; ch < a.getNumChannels(); ++ch)
            if (std::memcmp (a.getReadPointer (ch), b.getReadPointer (ch), sizeof (float) * (size_t) a.getNumSamples()) != 0)
                return false;

        return true;
    }

    /** Runs audio blocks while another thread changes parameters, until enough blocks ran
        and the other thread had time to interfere. */
    template <typename Writer, typename Block>
    void raceFor (int minimumBlocks, Writer&& writer, Block&& block)
    {
        std::atomic<bool> stop { false };
        std::thread other ([&]
        {
            juce::Random random (5);
            while (! stop.load())
                writer (random);
        });

        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds (1);

        for (int b = 0; b < minimumBlocks || std::chrono::steady_clock::now() < deadline; ++b)
            if (! block (b) && b >= minimumBlocks)
                break;

        stop.store (true);
        other.join();
    }
}

TEST (EqConcurrency, RandomParameterChangesDuringProcessingStayFiniteAndBounded)
{
    OrvelEqAudioProcessor eq;
    eq.prepareToPlay (96000.0, 256);
    juce::MidiBuffer midi;
    juce::Random input (1);
    bool ok = true;

    raceFor (400,
             [&eq] (juce::Random& random)
             {
                 const int index = random.nextInt (25);
                 const bool isSwitch = index >= P::bypass && index <= P::hfIn;
                 eq.setParameter (index, isSwitch ? (random.nextBool() ? 1.0f : 0.0f) : random.nextFloat());
             },
             [&] (int)
             {
                 auto buffer = noiseBlock (input, 256);
                 eq.processBlock (buffer, midi);

                 for (int ch = 0; ch < 2; ++ch)
                     for (int i = 0; i < 256; ++i)
                         ok = ok && std::isfinite (buffer.getSample (ch, i)) && std::abs (buffer.getSample (ch, i)) < 1000.0f;

                 return ok;
             });

    EXPECT_TRUE (ok);
}

TEST (EqConcurrency, EveryBlockUsesOneCompleteDesign)
{
    // Four parameters flip between two values each, so sixteen designs can be published.
    // Each block's output must be, to the bit, the block one of them gives: a design torn
    // between two updates (coefficients or flags from different ones) would match none.
    struct Toggle
    {
        int index;
        float a, b;
    };

    const Toggle toggles[] = { { P::midGain, 0.2f, 0.9f }, { P::lowFreq, 0.1f, 0.7f },
                               { P::hfIn, 0.0f, 1.0f }, { P::highMidQ, 0.0f, 0.6f } };
    constexpr int numDesigns = 16;

    const auto settle = [&] (OrvelEqAudioProcessor& e, int combination)
    {
        for (int t = 0; t < 4; ++t)
            e.setParameter (toggles[t].index, (combination >> t) & 1 ? toggles[t].b : toggles[t].a);
    };

    OrvelEqAudioProcessor eq;
    eq.prepareToPlay (48000.0, 256);
    eq.setRandomSeed (77);
    eq.setParameter (P::lphpIn, 1.0f);
    eq.setParameter (P::lowGain, 0.85f);
    eq.setParameter (P::highGain, 0.3f);
    settle (eq, 0);

    std::vector<EqDesign> candidates;

    for (int c = 0; c < numDesigns; ++c)
    {
        settle (eq, c);
        candidates.push_back (eq.getCurrentDesign());
    }

    settle (eq, 0);

    EqReferencePath reference;
    reference.random.setSeed (77);
    juce::MidiBuffer midi;
    juce::Random input (2);
    int mismatches = 0;
    std::array<int, numDesigns> used {};

    raceFor (300,
             [&] (juce::Random& random)
             {
                 const auto& t = toggles[random.nextInt (4)];
                 eq.setParameter (t.index, random.nextBool() ? t.b : t.a);
             },
             [&] (int)
             {
                 const auto block = noiseBlock (input, 256);
                 juce::AudioBuffer<float> actual (block);
                 eq.processBlock (actual, midi);

                 for (int c = 0; c < numDesigns; ++c)
                 {
                     auto candidate = reference;
                     juce::AudioBuffer<float> expected (block);
                     candidate.process (expected, candidates[(size_t) c]);

                     if (sameBits (actual, expected))
                     {
                         reference = candidate;
                         ++used[(size_t) c];
                         return true;
                     }
                 }

                 ++mismatches;
                 return false;
             });

    EXPECT_EQ (mismatches, 0);

    // The race did happen: blocks ran with several different designs.
    EXPECT_GE (std::count_if (used.begin(), used.end(), [] (int n) { return n > 0; }), 3);
}

JUCE_END_IGNORE_WARNINGS_GCC_LIKE
