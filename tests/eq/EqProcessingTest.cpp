#include "common/BiquadResponse.h"
#include "eq/OrvelEqAudioProcessor.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")

using P = EqParameterTable::Index;

namespace
{
    constexpr float allpassGain = 0.7995827f;

    struct Engine
    {
        explicit Engine (double sampleRate = 48000.0, juce::int64 seed = 7)
        {
            eq.prepareToPlay (sampleRate, 512);
            eq.setRandomSeed (seed);
        }

        void set (const std::map<int, float>& values)
        {
            for (const auto& [index, value] : values)
                eq.setParameter (index, value);
        }

        /** Runs a buffer through in blocks of blockSize. */
        void process (juce::AudioBuffer<float>& buffer, int blockSize = 512)
        {
            for (int start = 0; start < buffer.getNumSamples(); start += blockSize)
            {
                const int n = std::min (blockSize, buffer.getNumSamples() - start);
                juce::AudioBuffer<float> block (buffer.getArrayOfWritePointers(), buffer.getNumChannels(), start, n);
                eq.processBlock (block, midi);
            }
        }

        OrvelEqAudioProcessor eq;
        juce::MidiBuffer midi;
    };

    juce::AudioBuffer<float> noise (int channels, int numSamples, float level, int seed)
    {
        juce::Random random (seed);
        juce::AudioBuffer<float> buffer (channels, numSamples);

        for (int ch = 0; ch < channels; ++ch)
            for (int i = 0; i < numSamples; ++i)
                buffer.setSample (ch, i, level * (2.0f * random.nextFloat() - 1.0f));

        return buffer;
    }

    bool identical (const juce::AudioBuffer<float>& a, int channelA, const juce::AudioBuffer<float>& b, int channelB)
    {
        return std::memcmp (a.getReadPointer (channelA), b.getReadPointer (channelB), sizeof (float) * (size_t) a.getNumSamples()) == 0;
    }
}

//==============================================================================
TEST (EqProcessing, BypassLeavesTheAllpassImpulseResponse)
{
    Engine e;
    e.set ({ { P::bypass, 1.0f }, { P::lowGain, 1.0f }, { P::midGain, 0.0f } });

    juce::AudioBuffer<float> buffer (2, 64);
    buffer.clear();
    buffer.setSample (0, 0, 1.0f);
    buffer.setSample (1, 0, 1.0f);
    e.process (buffer);

    for (int ch = 0; ch < 2; ++ch)
    {
        const float* y = buffer.getReadPointer (ch);

        // Apart from the colouring (at most 5.08e-5 on the impulse itself).
        EXPECT_GE (y[0], allpassGain);
        EXPECT_LE (y[0], allpassGain * (1.0f + 5.1e-5f));
        EXPECT_NEAR (y[1], 1.0 - (double) allpassGain * allpassGain, 1e-4);

        for (int i = 2; i < 64; ++i)
            ASSERT_EQ (y[i], -allpassGain * y[i - 1]) << "channel " << ch << ", sample " << i;
    }
}

TEST (EqProcessing, SilenceStaysExactlySilent)
{
    Engine e (96000.0, 3);
    e.set ({ { P::lphpIn, 1.0f }, { P::lowGain, 1.0f }, { P::lowMidGain, 0.1f }, { P::midGain, 0.8f },
             { P::highMidGain, 0.0f }, { P::highGain, 0.9f }, { P::outgain, 1.0f } });

    juce::AudioBuffer<float> buffer (2, 2000);
    buffer.clear();
    e.process (buffer, 333);

    for (int ch = 0; ch < 2; ++ch)
        for (int i = 0; i < buffer.getNumSamples(); ++i)
            ASSERT_EQ (buffer.getSample (ch, i), 0.0f);
}

//==============================================================================
class ColouringBounds : public ::testing::TestWithParam<float> {};

TEST_P (ColouringBounds, AddsLittleAndNeverTakesAway)
{
    // An impulse of height a through the bypassed engine comes out as the allpass gain
    // times a plus its colouring; spaced impulses give one colouring sample each.
    const float a = GetParam();
    Engine e (48000.0, 11);
    e.set ({ { P::bypass, 1.0f } });

    constexpr int spacing = 128, count = 400;
    juce::AudioBuffer<float> buffer (1, spacing * count);
    buffer.clear();

    for (int k = 0; k < count; ++k)
        buffer.setSample (0, k * spacing, a);

    e.process (buffer);

    const double x = a;
    const double largest = 2.869e-5 * x * x + 2.629e-6 * x * x * x + 1.952e-5 * std::pow (x, 5.0);
    const double tolerance = 3e-7 * x; // float rounding of the coloured sample and of the allpass
    double sum = 0.0, maxAdded = 0.0;

    for (int k = 0; k < count; ++k)
    {
        const double added = buffer.getSample (0, k * spacing) / (double) allpassGain - x;
        EXPECT_GE (added, -tolerance) << "impulse " << k;
        EXPECT_LE (added, largest + tolerance) << "impulse " << k;
        sum += added;
        maxAdded = std::max (maxAdded, added);
    }

    // The three draws are uniform: on average half the largest amount is added.
    if (largest > 100.0 * tolerance)
    {
        EXPECT_NEAR (sum / count, largest / 2.0, 0.1 * largest);
        EXPECT_GT (maxAdded, 0.7 * largest);
    }
}

INSTANTIATE_TEST_SUITE_P (ImpulseHeights, ColouringBounds, ::testing::Values (0.25f, 0.5f, 1.0f, 1.5f, 3.0f));

//==============================================================================
TEST (EqProcessing, ChannelsAreProcessedIndependently)
{
    const auto input = noise (4, 1500, 0.5f, 5);
    const std::map<int, float> settings { { P::lphpIn, 1.0f }, { P::lowGain, 0.8f }, { P::highMidGain, 0.2f } };

    // Channel 0 of a stereo block sees exactly what a mono block sees: its draws come first.
    // (From the second block on they differ: a stereo block moves the generator twice as far.)
    juce::AudioBuffer<float> stereo (2, 1500), mono (1, 1500);
    stereo.copyFrom (0, 0, input, 0, 0, 1500);
    stereo.clear (1, 0, 1500);
    mono.copyFrom (0, 0, input, 0, 0, 1500);

    Engine a, b;
    a.set (settings);
    b.set (settings);
    a.process (stereo, 1500);
    b.process (mono, 1500);

    EXPECT_TRUE (identical (stereo, 0, mono, 0));

    for (int i = 0; i < 1500; ++i)
        ASSERT_EQ (stereo.getSample (1, i), 0.0f) << i;

    // Beyond two channels nothing is touched.
    juce::AudioBuffer<float> four (input);
    Engine c;
    c.set (settings);
    c.process (four);
    EXPECT_TRUE (identical (four, 2, input, 2));
    EXPECT_TRUE (identical (four, 3, input, 3));

    // The same input on both channels differs only by the colouring draws.
    juce::AudioBuffer<float> same (2, 1500);
    same.copyFrom (0, 0, input, 0, 0, 1500);
    same.copyFrom (1, 0, input, 0, 0, 1500);
    Engine d;
    d.set (settings);
    d.process (same);

    float largestDifference = 0.0f;

    for (int i = 0; i < 1500; ++i)
        largestDifference = std::max (largestDifference, std::abs (same.getSample (0, i) - same.getSample (1, i)));

    EXPECT_GT (largestDifference, 0.0f);
    EXPECT_LT (largestDifference, 1e-4f);
}

TEST (EqProcessing, EmptyBlocksAndSeeds)
{
    const auto input = noise (2, 900, 0.7f, 8);

    // A block without samples changes nothing, the generator included.
    juce::AudioBuffer<float> withEmpty (input), without (input);
    Engine a, b;
    juce::AudioBuffer<float> empty (2, 0);

    a.eq.processBlock (empty, a.midi);
    a.process (withEmpty, 450);
    a.eq.processBlock (empty, a.midi);
    b.process (without, 450);

    EXPECT_TRUE (identical (withEmpty, 0, without, 0));
    EXPECT_TRUE (identical (withEmpty, 1, without, 1));
    EXPECT_EQ (a.eq.getRandomState(), b.eq.getRandomState());

    // Another seed colours differently; the default seeds differ between engines.
    juce::AudioBuffer<float> otherSeed (input), random1 (input), random2 (input);
    Engine c (48000.0, 8);
    c.process (otherSeed);
    EXPECT_FALSE (identical (otherSeed, 0, without, 0));

    OrvelEqAudioProcessor r1, r2;
    juce::MidiBuffer midi;
    r1.prepareToPlay (48000.0, 900);
    r2.prepareToPlay (48000.0, 900);
    r1.processBlock (random1, midi);
    r2.processBlock (random2, midi);
    EXPECT_FALSE (identical (random1, 0, random2, 0));
}

TEST (EqProcessing, SectionStateSurvivesSwitchesRedesignsAndPrepare)
{
    Engine e;
    e.set ({ { P::lowGain, 0.9f }, { P::lowFreq, 0.3f } });

    auto input = noise (2, 512, 0.5f, 1);
    e.process (input);

    const auto& path = e.eq.getSignalPath();
    const auto shelfState = path.getSectionState (1, EqDesign::lfShelf);
    ASSERT_NE (shelfState[2], 0.0);

    // Switched off, the LF sections keep their state; the others run on.
    e.set ({ { P::lfIn, 0.0f } });
    const auto mfState = path.getSectionState (1, EqDesign::mfPeak);
    input = noise (2, 512, 0.5f, 2);
    e.process (input);
    EXPECT_EQ (path.getSectionState (1, EqDesign::lfShelf), shelfState);
    EXPECT_NE (path.getSectionState (1, EqDesign::mfPeak), mfState);

    // A redesign or a prepareToPlay leaves the section state alone.
    ASSERT_NE (path.getAllpassState (0)[1], 0.0f);
    e.set ({ { P::highGain, 0.1f } });
    e.eq.prepareToPlay (44100.0, 256);
    EXPECT_EQ (path.getSectionState (1, EqDesign::lfShelf), shelfState);

    // prepareToPlay clears the allpass memory (as the next block starts): bypassed, with
    // silence in, nothing comes out, where the old allpass memory would still ring.
    e.set ({ { P::lfIn, 1.0f }, { P::bypass, 1.0f } });
    juce::AudioBuffer<float> silence (2, 16);
    silence.clear();
    e.process (silence);

    for (int ch = 0; ch < 2; ++ch)
        for (int i = 0; i < 16; ++i)
            EXPECT_EQ (silence.getSample (ch, i), 0.0f);

    // Switched on again, the LF shelf resumes from where it stopped.
    e.set ({ { P::bypass, 0.0f } });
    input = noise (2, 1, 0.0f, 3);
    e.process (input);
    const auto resumed = path.getSectionState (1, EqDesign::lfShelf);
    EXPECT_EQ (resumed[0], 0.0);
    EXPECT_EQ (resumed[1], shelfState[0]);
    EXPECT_EQ (resumed[3], shelfState[2]);
}

//==============================================================================
struct SineCase
{
    const char* name;
    std::map<int, float> settings;
    double frequency;
    double expectedDb;
    double toleranceDb;
};

void PrintTo (const SineCase& c, std::ostream* os) { *os << c.name; }

class SineGain : public ::testing::TestWithParam<SineCase> {};

TEST_P (SineGain, MeasuredGainMatches)
{
    const auto& tc = GetParam();
    constexpr double rate = 48000.0;
    constexpr int length = 16384, settle = 8192;

    Engine e (rate);
    e.set (tc.settings);

    juce::AudioBuffer<float> buffer (2, length);

    for (int i = 0; i < length; ++i)
        for (int ch = 0; ch < 2; ++ch)
            buffer.setSample (ch, i, 0.25f * (float) std::sin (2.0 * juce::MathConstants<double>::pi * tc.frequency * i / rate));

    e.process (buffer);

    // Measure over whole periods only.
    const auto periods = std::floor ((length - settle) * tc.frequency / rate);
    const auto window = (int) std::lround (periods * rate / tc.frequency);

    for (int ch = 0; ch < 2; ++ch)
    {
        double energy = 0.0;

        for (int i = length - window; i < length; ++i)
            energy += (double) buffer.getSample (ch, i) * buffer.getSample (ch, i);

        const double rms = std::sqrt (energy / window);
        EXPECT_NEAR (testing_support::toDecibels (rms / (0.25 / std::sqrt (2.0))), tc.expectedDb, tc.toleranceDb) << "channel " << ch;
    }
}

INSTANTIATE_TEST_SUITE_P (Settings, SineGain, ::testing::Values (
    SineCase { "flat",                  {},                                                          1000.0,  0.0,   0.01 },
    SineCase { "outgainTop",            { { P::outgain, 1.0f } },                                    1000.0,  12.0,  0.01 },
    SineCase { "outgainBottom",         { { P::outgain, 0.0f } },                                    1000.0,  -12.0, 0.01 },
    SineCase { "midBoostAtItsCentre",   { { P::midGain, 1.0f } },                                    1415.0,  12.0,  0.02 },
    SineCase { "midCutAtItsCentre",     { { P::midGain, 0.0f } },                                    1415.0,  -12.0, 0.02 },
    SineCase { "midBandOff",            { { P::midGain, 1.0f }, { P::mfIn, 0.0f } },                 1415.0,  0.0,   0.01 },
    SineCase { "bypassIgnoresBands",    { { P::midGain, 1.0f }, { P::lowGain, 1.0f }, { P::bypass, 1.0f } }, 1415.0, 0.0, 0.01 },
    SineCase { "lowPassNeedsTheMaster", { { P::lowpassFreq, 0.0f } },                                 5000.0,  0.0,   0.01 },
    SineCase { "lowPassAtItsCorner",    { { P::lowpassFreq, 0.0f }, { P::lphpIn, 1.0f } },           5000.0,  -6.02, 0.03 },
    SineCase { "lowPassOwnSwitch",      { { P::lowpassFreq, 0.0f }, { P::lphpIn, 1.0f }, { P::highcutIn, 0.0f } }, 5000.0, 0.0, 0.01 },
    SineCase { "highPassAtItsCorner",   { { P::highpassFreq, 1.0f }, { P::lphpIn, 1.0f } },          200.0,   -2.14, 0.03 },
    SineCase { "highPassOwnSwitch",     { { P::highpassFreq, 1.0f }, { P::lphpIn, 1.0f }, { P::lowcutIn, 0.0f } }, 200.0, 0.0, 0.01 }),
    [] (const ::testing::TestParamInfo<SineCase>& p) { return std::string (p.param.name); });

//==============================================================================
class ExtremeSettings : public ::testing::TestWithParam<double> {};

TEST_P (ExtremeSettings, OutputStaysFiniteAndDecays)
{
    // Every band, filter and the output gain at the ends of their ranges, in random
    // combinations: a burst of full-scale noise, then silence, must ring out, not grow.
    const double rate = GetParam();
    juce::Random choice (17);
    const int continuous[] = { P::lowFreq, P::lowGain, P::lowMidFreq, P::lowMidGain, P::lowMidQ, P::midFreq, P::midGain,
                               P::midQ, P::highMidFreq, P::highMidGain, P::highMidQ, P::highFreq, P::highGain,
                               P::highpassFreq, P::lowpassFreq };

    for (int trial = 0; trial < 150; ++trial)
    {
        Engine e (rate, trial);
        e.set ({ { P::lphpIn, 1.0f }, { P::outgain, 1.0f } });

        for (int index : continuous)
            e.eq.setParameter (index, choice.nextBool() ? 1.0f : 0.0f);

        auto buffer = noise (2, 4096, 1.0f, trial);
        buffer.clear (0, 1024, 3072);
        buffer.clear (1, 1024, 3072);
        e.process (buffer, 1024);

        float burstPeak = 0.0f, tailPeak = 0.0f;

        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < 4096; ++i)
            {
                const float y = buffer.getSample (ch, i);
                ASSERT_TRUE (std::isfinite (y)) << "trial " << trial << ", sample " << i;
                (i < 2048 ? burstPeak : tailPeak) = std::max (i < 2048 ? burstPeak : tailPeak, std::abs (y));
            }

        EXPECT_LT (burstPeak, 1.0e4f) << "trial " << trial;
        EXPECT_LT (tailPeak, burstPeak) << "trial " << trial;
    }
}

INSTANTIATE_TEST_SUITE_P (Rates, ExtremeSettings, ::testing::Values (8000.0, 22050.0, 32000.0, 44100.0, 192000.0));

JUCE_END_IGNORE_WARNINGS_GCC_LIKE
