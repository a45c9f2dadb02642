// Detector state across blocks: bypass, the block-end flush, the resets of a filter-type
// write and of prepareToPlay, recovery from a non-finite block, and bounded output for
// extreme settings at the ends of the sample-rate and block-size ranges.

#include "CompressorTestRig.h"

#include <gtest/gtest.h>

#include <tuple>

using testing_support::CompressorRig;
using testing_support::sameBits;
using testing_support::sineSignal;

namespace
{
    juce::AudioBuffer<float> noise (int numChannels, int numSamples, float level, int seed)
    {
        juce::AudioBuffer<float> buffer (numChannels, numSamples);
        juce::Random random (seed);

        for (int ch = 0; ch < numChannels; ++ch)
            for (int i = 0; i < numSamples; ++i)
                buffer.setSample (ch, i, level * (random.nextFloat() * 2.0f - 1.0f));

        return buffer;
    }

    // A low-pass side chain with memory, a low threshold and a fast attack.
    const std::initializer_list<std::pair<int, float>> busySettings {
        { 0, 0.3f }, { 1, 0.8f }, { 3, 0.1f }, { 4, 0.4f }, { 6, 0.25f }, { 7, 0.3f }, { 15, 1.0f }
    };
}

TEST (CompressorBypass, LeavesTheBufferAndTheDetectorAsTheyAre)
{
    CompressorRig rig (44100.0, busySettings), twin (44100.0, busySettings);

    auto first = noise (2, 1000, 0.8f, 1);
    auto firstTwin = first;
    rig.process (first);
    twin.process (firstTwin);

    const float envelope = rig.compressor.getEnvelope();
    const float gain = rig.compressor.getCurrentGain();
    const float level = rig.compressor.getParameter (10);
    ASSERT_GT (envelope, 0.0f);

    rig.set (13, 1.0f);
    const auto loud = noise (2, 777, 1.0f, 2);
    auto bypassed = loud;
    rig.process (bypassed);

    EXPECT_TRUE (sameBits (bypassed, loud));
    EXPECT_EQ (rig.compressor.getEnvelope(), envelope);
    EXPECT_EQ (rig.compressor.getCurrentGain(), gain);
    EXPECT_EQ (rig.compressor.getParameter (10), level);

    // Back on, it carries on exactly where it stopped, side-chain memory included.
    rig.set (13, 0.0f);
    auto next = noise (2, 1000, 0.5f, 3);
    auto nextTwin = next;
    rig.process (next);
    twin.process (nextTwin);

    EXPECT_TRUE (sameBits (next, nextTwin));
}

TEST (CompressorFlush, AnEnvelopeBelowTheFlushLevelIsExactlyZeroAtBlockEnd)
{
    // Fast release: silence pulls the envelope through 1e-10 within a few hundred samples.
    CompressorRig rig (44100.0, { { 4, 0.0f } });

    auto loud = sineSignal (2, 2048, 0.9f, 0.01);
    rig.process (loud);
    ASSERT_GT (rig.compressor.getEnvelope(), 0.1f);

    bool reachedZero = false;

    for (int block = 0; block < 40; ++block)
    {
        juce::AudioBuffer<float> silence (2, 97);
        silence.clear();
        rig.process (silence);

        const float envelope = rig.compressor.getEnvelope();
        const float level = rig.compressor.getParameter (10);

        ASSERT_TRUE (envelope == 0.0f || envelope >= 1e-10f) << "block " << block << ": " << envelope;
        ASSERT_TRUE (level == 0.0f || level >= 1e-10f) << "block " << block << ": " << level;
        reachedZero = envelope == 0.0f && level == 0.0f;
    }

    EXPECT_TRUE (reachedZero);
}

TEST (CompressorFlush, AnEmptyBlockOnlyRunsTheBlockEnd)
{
    CompressorRig rig;
    auto loud = sineSignal (1, 512, 0.9f, 0.01);
    rig.process (loud);

    const float envelope = rig.compressor.getEnvelope();
    const float gain = rig.compressor.getCurrentGain();

    juce::AudioBuffer<float> empty (1, 0);
    rig.process (empty);

    EXPECT_EQ (rig.compressor.getEnvelope(), envelope);
    EXPECT_EQ (rig.compressor.getCurrentGain(), gain);
}

//==============================================================================
TEST (CompressorResets, AFilterTypeWriteStartsDetectorAndFilterFromZero)
{
    CompressorRig used (44100.0, busySettings), fresh (44100.0, busySettings);

    auto history = noise (2, 3000, 0.9f, 4);
    used.process (history);
    used.set (6, 0.25f); // the same type again still resets

    const auto next = noise (2, 1500, 0.6f, 5);
    auto a = next, b = next;
    used.process (a);
    fresh.process (b);

    EXPECT_TRUE (sameBits (a, b));
}

TEST (CompressorResets, OtherFilterSettingsKeepTheFilterMemory)
{
    CompressorRig used (44100.0, busySettings), fresh (44100.0, busySettings);

    auto history = noise (2, 3000, 0.9f, 4);
    used.process (history);
    used.set (7, 0.3f);
    fresh.set (7, 0.3f);

    const auto next = noise (2, 1500, 0.6f, 5);
    auto a = next, b = next;
    used.process (a);
    fresh.process (b);

    EXPECT_FALSE (sameBits (a, b));
}

TEST (CompressorResets, PrepareToPlayRestsTheMeterAndTheEnvelope)
{
    CompressorRig rig (44100.0, busySettings);
    auto loud = noise (2, 2000, 0.9f, 6);
    rig.process (loud);
    ASSERT_LT (rig.compressor.getCurrentGain(), 0.9f);

    rig.compressor.prepareToPlay (96000.0, 256);
    EXPECT_EQ (rig.compressor.getCurrentGain(), 1.0f);

    juce::AudioBuffer<float> empty (2, 0);
    rig.process (empty);
    EXPECT_EQ (rig.compressor.getEnvelope(), 0.0f);
    EXPECT_EQ (rig.compressor.getCurrentGain(), 1.0f);
}

TEST (CompressorResets, ANonFiniteBlockDoesNotSilenceTheBlocksAfterIt)
{
    CompressorRig used (44100.0, busySettings), fresh (44100.0, busySettings);

    for (float bad : { std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity() })
    {
        auto poisoned = noise (2, 512, 0.5f, 7);
        poisoned.setSample (0, 100, bad);
        used.process (poisoned);
    }

    const auto next = noise (2, 1024, 0.5f, 8);
    auto a = next, b = next;
    used.process (a);
    fresh.process (b);

    EXPECT_TRUE (sameBits (a, b));
}

//==============================================================================
namespace
{
    struct ExtremeSettings
    {
        const char* name;
        float values[9]; // indices 0 to 8
        bool solo;
    };

    const ExtremeSettings extremes[] = {
        { "allZero",             { 0, 0, 0, 0, 0, 0, 0, 0, 0 },           false },
        { "allOne",              { 1, 1, 1, 1, 1, 1, 1, 1, 1 },           false },
        { "deepFastFullMakeUp",  { 0, 1, 1, 0, 0, 1, 0, 0.5f, 0.5f },     false },
        { "highPassOnDc",        { 0, 1, 1, 0, 0, 1, 0.5f, 1, 0 },        false },
        { "narrowLowBand",       { 0, 1, 1, 0, 0, 1, 0.75f, 0, 1 },       false },
        { "skirtSolo",           { 0.5f, 1, 0, 0, 0, 1, 1, 0.2f, 1 },     true },
    };

    using BoundedCase = std::tuple<ExtremeSettings, double, int, bool, bool>; // settings, rate, block, soft, key
}

class CompressorBounded : public ::testing::TestWithParam<BoundedCase> {};

TEST_P (CompressorBounded, OutputStaysFiniteAndBounded)
{
    const auto& [settings, rate, blockSize, soft, key] = GetParam();
    CompressorRig rig (rate);

    for (int i = 0; i < 9; ++i)
        rig.set (i, settings.values[i]);

    rig.set (9, settings.solo ? 1.0f : 0.0f);
    rig.set (12, key ? 1.0f : 0.0f);
    rig.set (15, soft ? 1.0f : 0.0f);

    // Full-scale noise with a DC offset, then the key falls silent while the audio goes on,
    // then everything is silent.
    constexpr int length = 3 * 8192;
    auto signal = noise (2, length, 0.7f, 9);

    for (int i = 0; i < length; ++i)
    {
        signal.setSample (0, i, i < 2 * 8192 ? signal.getSample (0, i) + 0.3f : 0.0f);
        signal.setSample (1, i, i < 8192 ? signal.getSample (1, i) + 0.3f : 0.0f);
    }

    // Make-up up to 100 times the soft knee's largest lift, plus the dry part; the solo
    // output is the band-pass key, whose skirt peaks at the largest q of 6.5.
    const float bound = 150.0f;

    for (int start = 0; start < length; start += blockSize)
    {
        juce::AudioBuffer<float> block (2, blockSize);
        for (int ch = 0; ch < 2; ++ch)
            block.copyFrom (ch, 0, signal, ch, start, blockSize);

        rig.process (block);

        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < blockSize; ++i)
            {
                const float y = block.getSample (ch, i);
                ASSERT_TRUE (std::isfinite (y) && std::abs (y) <= bound)
                    << y << " at channel " << ch << ", sample " << start + i;
            }

        ASSERT_TRUE (std::isfinite (rig.compressor.getCurrentGain()));
    }
}

INSTANTIATE_TEST_SUITE_P (RatesAndBlockSizes, CompressorBounded,
    ::testing::Combine (::testing::ValuesIn (extremes),
                        ::testing::Values (8000.0, 192000.0),
                        ::testing::Values (1, 8192),
                        ::testing::Bool(),
                        ::testing::Bool()),
    [] (const ::testing::TestParamInfo<BoundedCase>& caseInfo)
    {
        return std::string (std::get<0> (caseInfo.param).name)
             + "_" + std::to_string ((int) std::get<1> (caseInfo.param))
             + "_block" + std::to_string (std::get<2> (caseInfo.param))
             + (std::get<3> (caseInfo.param) ? "_soft" : "_hard")
             + (std::get<4> (caseInfo.param) ? "_key" : "");
    });
