#include "ProcessorTestSupport.h"
#include "common/AudioThreadGuard.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <vector>
#include <thread>

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
        EXPECT_EQ (guard.deallocations(), 0u) << "round " << round;
        EXPECT_EQ (guard.locks(), 0u) << "round " << round;
    }
}

INSTANTIATE_TEST_SUITE_P (Configurations, AudioThread, ::testing::Values (
    RealtimeCase { 2, 512, 512, true, false },
    RealtimeCase { 2, 512, 512, false, true },
    RealtimeCase { 1, 256, 256, true, true },
    RealtimeCase { 2, 256, 1000, true, false },   // longer than announced: chunks
    RealtimeCase { 2, 64, 1, true, false }));

TEST (AudioThread, StaysCleanWhileAnotherThreadChangesEverything)
{
    // What a host and a user do while the transport runs: automation of every parameter,
    // program changes, the oversampling switch (which re-prepares both engines), and
    // project saves and loads. Only the audio thread is watched.
    for (const int channels : { 1, 2 })
    {
        auto p = makeProcessor (channels, 48000.0, 512, true);
        auto& parameters = p->getParameters();

        std::atomic<bool> running { true };
        std::atomic<int> blocks { 0 };
        std::size_t allocations = 0, deallocations = 0, locks = 0;

        std::thread audio ([&]
        {
            // Room to spare: AudioBuffer::setSize counts its channel list a little larger
            // than the constructor does, and would reallocate at exactly the full size.
            juce::AudioBuffer<float> buffer (channels, 2048);
            juce::MidiBuffer midi;
            juce::Random sizes (3);

            AudioThreadGuard guard;

            while (running.load())
            {
                // Mostly within the announced size, sometimes past it (processed in pieces).
                const int size = 1 + sizes.nextInt (blocks.load() % 8 == 7 ? 1024 : 512);
                buffer.setSize (channels, size, false, false, true);
                fillSine (buffer, 220.0, 48000.0, 0.9f, blocks.load() * 97);
                p->processBlock (buffer, midi);
                ++blocks;
            }

            allocations = guard.allocations();
            deallocations = guard.deallocations();
            locks = guard.locks();
        });

        juce::Random random (11);
        juce::MemoryBlock state;

        for (int i = 0; i < 4000 || blocks.load() < 2000; ++i)
        {
            parameters[random.nextInt (parameters.size())]->setValueNotifyingHost (random.nextFloat());

            switch (i % 10)
            {
                case 3:  p->setCurrentProgram (random.nextInt (VeloraAudioProcessor::numPrograms)); break;
                case 5:  setHostValue (*p, "oversampling", hostValue (*p, "oversampling") > 0.5f ? 0.0f : 1.0f); break;
                case 7:  p->getStateInformation (state); break;
                case 9:  p->setStateInformation (state.getData(), (int) state.getSize()); break;
                default: break;
            }
        }

        running = false;
        audio.join();

        EXPECT_EQ (allocations, 0u) << channels << " channels, " << blocks.load() << " blocks";
        EXPECT_EQ (deallocations, 0u) << channels << " channels";

        if (AudioThreadGuard::countsLocks())
        {
            EXPECT_EQ (locks, 0u) << channels << " channels";
        }
    }
}

TEST (AudioThreadGuard, SeesEveryKindOfAllocationAndALock)
{
    // The counter must not be blind to any way code can reach the heap.
    struct alignas (64) Wide { float lanes[16]; };

    // Each pointer escapes through a volatile, so the compiler cannot elide the pair.
    static void* volatile escaped = nullptr;
    juce::ignoreUnused (escaped);

    const std::function<void()> allocators[] = {
        [] { auto* p = new int (1); escaped = p; delete p; },
        [] { auto* p = new float[32]; escaped = p; delete[] p; },
        [] { auto* p = new Wide(); escaped = p; delete p; },
        [] { auto* p = new (std::nothrow) int (2); escaped = p; delete p; },
        [] { std::vector<double> v; v.push_back (1.0); escaped = v.data(); },
        [] { juce::HeapBlock<float> block (64); escaped = block.get(); },
        [] { auto* p = std::malloc (16); escaped = p; std::free (p); },
        [] { auto* p = std::realloc (nullptr, 16); escaped = p; std::free (p); },
        [] { juce::String text ("long enough to need the heap, not a small buffer"); text << 1; escaped = (void*) text.toRawUTF8(); }
    };

    for (size_t i = 0; i < std::size (allocators); ++i)
    {
        AudioThreadGuard guard;
        allocators[i]();
        EXPECT_GE (guard.allocations(), 1u) << "allocator " << i;
        EXPECT_GE (guard.deallocations(), 1u) << "allocator " << i;
    }

    if (AudioThreadGuard::countsLocks())
    {
        AudioThreadGuard guard;
        std::mutex m;
        m.lock();
        m.unlock();
        EXPECT_EQ (guard.locks(), 1u);
    }
}
