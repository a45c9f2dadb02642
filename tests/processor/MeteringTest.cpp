#include "ProcessorTestSupport.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace
{
    juce::uint32 fakeNow = 0;
    juce::uint32 fakeClock() { return fakeNow; }

    struct MeteringFixture : public ::testing::Test
    {
        void SetUp() override
        {
            fakeNow = 100000;
            p = makeProcessor (2, 48000.0, 64, false, true);
            p->setMillisecondClock (fakeClock);
            p->prepareToPlay (48000.0, 64);
        }

        void TearDown() override { p->setMillisecondClock (nullptr); }

        /** One block whose first sample on each channel is the given value (0 elsewhere). */
        void playPeaks (float left, float right, int numChannels = 2)
        {
            juce::AudioBuffer<float> b (numChannels, 64);
            b.clear();
            b.setSample (0, 0, left);
            if (numChannels > 1)
                b.setSample (1, 0, right);
            process (*p, b);
        }

        std::unique_ptr<VeloraAudioProcessor> p;
    };
}

TEST_F (MeteringFixture, InputOverloadIsStrictlyAboveFullScale)
{
    playPeaks (1.0f, -1.0f);
    EXPECT_FALSE (p->isInputOverloaded());

    playPeaks (0.5f, -1.0001f);
    EXPECT_TRUE (p->isInputOverloaded());

    // Measured after the input gain: +6 dB makes 0.6 an overload.
    setHostValue (*p, "inputGain", 0.5f + 6.0f / 48.0f);
    playPeaks (0.6f, 0.0f);
    EXPECT_TRUE (p->isInputOverloaded());
}

TEST_F (MeteringFixture, OutputOverloadOnEitherChannel)
{
    playPeaks (1.2f, 0.5f);
    EXPECT_TRUE (p->isOutputOverloaded());

    playPeaks (0.5f, 1.0f);
    EXPECT_FALSE (p->isOutputOverloaded());

    // Measured after the output gain.
    setHostValue (*p, "outputGain", 1.0f);
    playPeaks (0.5f, 0.0f);
    EXPECT_TRUE (p->isOutputOverloaded());
}

TEST_F (MeteringFixture, HeldPeakFallsTwentyFourDecibelsPerSecond)
{
    playPeaks (1.0f, 0.25f);

    auto left = p->getOutputPeakLeft();
    EXPECT_EQ (left.level, 1.0f);
    EXPECT_EQ (left.time, 100000u);
    EXPECT_EQ (p->getOutputPeakRight().level, 0.25f);

    EXPECT_NEAR (decayedLevel (left, 101000), 0.063, 0.0005);
    EXPECT_NEAR (decayedLevel (left, 102000), 0.004, 0.00005);

    // Smaller than what is left of the held peak: the record, time included, stays.
    fakeNow = 100500;
    playPeaks (0.2f, 0.0f);
    EXPECT_EQ (p->getOutputPeakLeft().level, 1.0f);
    EXPECT_EQ (p->getOutputPeakLeft().time, 100000u);

    // Larger than what is left: replaced, with the new time.
    playPeaks (0.3f, 0.0f);
    EXPECT_EQ (p->getOutputPeakLeft().level, 0.3f);
    EXPECT_EQ (p->getOutputPeakLeft().time, 100500u);
}

TEST_F (MeteringFixture, PrepareResetsThePeaksButNotTheFlags)
{
    playPeaks (1.5f, 1.5f);
    fakeNow = 200000;
    p->prepareToPlay (48000.0, 64);

    EXPECT_EQ (p->getOutputPeakLeft().level, 0.0f);
    EXPECT_EQ (p->getOutputPeakLeft().time, 200000u);
    EXPECT_TRUE (p->isInputOverloaded());
    EXPECT_TRUE (p->isOutputOverloaded());
}

TEST_F (MeteringFixture, MonoKeepsTheRightRecord)
{
    playPeaks (0.5f, 0.7f);
    const auto right = p->getOutputPeakRight();

    p->setPlayConfigDetails (1, 1, 48000.0, 64);
    fakeNow += 10;
    playPeaks (0.9f, 0.0f, 1);

    EXPECT_EQ (p->getOutputPeakLeft().level, 0.9f);
    EXPECT_EQ (p->getOutputPeakRight().level, right.level);
    EXPECT_EQ (p->getOutputPeakRight().time, right.time);
}

TEST_F (MeteringFixture, StageSwitchesAreCopiedAtTheStartOfEachBlock)
{
    setHostValue (*p, "gateOn", 1.0f);
    setHostValue (*p, "compOn", 1.0f);
    EXPECT_FALSE (p->isGateEnabled());

    playPeaks (0.0f, 0.0f);
    EXPECT_TRUE (p->isGateEnabled());
    EXPECT_TRUE (p->isCompEnabled());
    EXPECT_FALSE (p->isEqEnabled());
}

TEST (PublishedPeakHold, KeepsLevelAndTimeTogether)
{
    PublishedPeakHold hold;
    hold.store ({ 0.123f, 0xfffffff0u });
    const auto peak = hold.load();
    EXPECT_EQ (peak.level, 0.123f);
    EXPECT_EQ (peak.time, 0xfffffff0u);

    // The counter wraps: the elapsed time is a signed difference.
    EXPECT_NEAR (decayedLevel (peak, 0x000003d8u), 0.123f / std::pow (10.0f, 1.2f), 1e-6);
}
