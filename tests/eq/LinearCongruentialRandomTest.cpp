#include "eq/LinearCongruentialRandom.h"
#include "eq/OrvelEqAudioProcessor.h"

#include <gtest/gtest.h>

class ReplicaSeed : public ::testing::TestWithParam<juce::int64> {};

TEST_P (ReplicaSeed, DrawsAndStateMatchJuceRandom)
{
    juce::Random juceRandom (GetParam());
    LinearCongruentialRandom replica (GetParam());

    for (int i = 0; i < 5000; ++i)
    {
        ASSERT_EQ (replica.nextDouble(), juceRandom.nextDouble()) << "draw " << i;
        ASSERT_EQ (replica.getSeed(), juceRandom.getSeed()) << "draw " << i;
    }
}

TEST_P (ReplicaSeed, JumpingAheadEqualsSingleSteps)
{
    for (std::uint64_t n : { 1ULL, 2ULL, 3ULL, 7ULL, 1536ULL, 3ULL * 8192ULL, 6ULL * 8191ULL })
    {
        juce::Random stepped (GetParam());

        for (std::uint64_t i = 0; i < n; ++i)
            stepped.nextInt();

        LinearCongruentialRandom jumped (GetParam());
        jumped.skip (n);
        EXPECT_EQ (jumped.getSeed(), stepped.getSeed()) << n;
        EXPECT_EQ (jumped.nextDouble(), stepped.nextDouble()) << n;
    }
}

INSTANTIATE_TEST_SUITE_P (Seeds, ReplicaSeed, ::testing::Values (0, 1, 42, -1, 0x7fffffffffffffffLL, -0x123456789abcLL));

//==============================================================================
struct DrawCountCase
{
    int channels;
    int numSamples;
    int channelsThatDraw;
};

class EngineDraws : public ::testing::TestWithParam<DrawCountCase> {};

TEST_P (EngineDraws, BlockMovesTheGeneratorByThreeDrawsPerSampleAndChannel)
{
    const auto tc = GetParam();
    OrvelEqAudioProcessor eq;
    eq.prepareToPlay (48000.0, 512);
    eq.setRandomSeed (1234);

    juce::AudioBuffer<float> buffer (tc.channels, tc.numSamples);
    buffer.clear();
    juce::MidiBuffer midi;
    eq.processBlock (buffer, midi);

    juce::Random expected (1234);

    for (int i = 0; i < 3 * tc.numSamples * tc.channelsThatDraw; ++i)
        expected.nextDouble();

    EXPECT_EQ (eq.getRandomState(), expected.getSeed());
}

INSTANTIATE_TEST_SUITE_P (Layouts, EngineDraws, ::testing::Values (
    DrawCountCase { 1, 1, 1 }, DrawCountCase { 1, 512, 1 }, DrawCountCase { 2, 7, 2 },
    DrawCountCase { 2, 4096, 2 }, DrawCountCase { 4, 300, 2 }));
