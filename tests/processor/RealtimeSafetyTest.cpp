#include "ProcessorTestSupport.h"
#include "common/AudioThreadGuard.h"

#include <gtest/gtest.h>

using namespace testing_support;

struct RealtimeCase
{
    int channels;
    int preparedBlock;
    int block;
    bool oversampling;
    bool compBeforeEq;
};

class AudioThread : public ::testing::TestWithParam<RealtimeCase> {};

TEST_P (AudioThread, ProcessingNeitherAllocatesNorLocks)
{
    const auto c = GetParam();
    auto p = makeProcessor (c.channels, 48000.0, c.preparedBlock, c.oversampling);
    setHostValue (*p, "gateOn", 1.0f);
    setHostValue (*p, "compOn", 1.0f);
    setHostValue (*p, "compThreshold", 0.2f);
    setHostValue (*p, "compBeforeEq", c.compBeforeEq ? 1.0f : 0.0f);
    setHostValue (*p, "LowGain", 0.9f);

    juce::AudioBuffer<float> buffer (c.channels, c.block);
    juce::MidiBuffer midi;

    // Parameter changes between blocks hand new designs over; the next block takes them.
    for (int round = 0; round < 3; ++round)
    {
        setHostValue (*p, "MidGain", 0.2f + 0.3f * (float) round);
        setHostValue (*p, "compRatio", 0.1f * (float) round);
        fillSine (buffer, 440.0, 48000.0, 0.8f, round * c.block);

        AudioThreadGuard guard;
        p->processBlock (buffer, midi);

        EXPECT_EQ (guard.allocations(), 0u) << "round " << round;
        EXPECT_EQ (guard.locks(), 0u) << "round " << round;
    }
}

INSTANTIATE_TEST_SUITE_P (Configurations, AudioThread, ::testing::Values (
    RealtimeCase { 2, 512, 512, true, false },
    RealtimeCase { 2, 512, 512, false, true },
    RealtimeCase { 1, 256, 256, true, true },
    RealtimeCase { 2, 256, 1000, true, false },   // longer than announced: chunks
    RealtimeCase { 2, 64, 1, true, false }));

TEST (AudioThreadGuard, SeesAnAllocationAndALock)
{
    AudioThreadGuard guard;
    juce::HeapBlock<float> block (64);
    void* volatile raw = block.get();
    juce::ignoreUnused (raw);
    std::mutex m;
    m.lock();
    m.unlock();

    EXPECT_GE (guard.allocations(), 1u);
    EXPECT_GE (guard.locks(), 1u);
}
