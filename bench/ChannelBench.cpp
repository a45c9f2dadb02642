#include "processor/VeloraAudioProcessor.h"

#include <benchmark/benchmark.h>

namespace
{
    void fillWithNoise (juce::AudioBuffer<float>& buffer, float level)
    {
        juce::Random random (42);
        for (int ch = 0; ch < buffer.getNumChannels(); ++ch)
            for (int i = 0; i < buffer.getNumSamples(); ++i)
                buffer.setSample (ch, i, level * (random.nextFloat() * 2.0f - 1.0f));
    }

    /** The channel at its defaults: 48 kHz stereo, 512-sample blocks. */
    void channelAtDefaults (benchmark::State& state)
    {
        constexpr int blockSize = 512;
        VeloraAudioProcessor processor;
        processor.setPlayConfigDetails (2, 2, 48000.0, blockSize);
        processor.prepareToPlay (48000.0, blockSize);

        juce::AudioBuffer<float> source (2, blockSize), buffer (2, blockSize);
        fillWithNoise (source, 0.3f);
        juce::MidiBuffer midi;

        for (auto _ : state)
        {
            buffer.makeCopyOf (source, true);
            processor.processBlock (buffer, midi);
            benchmark::DoNotOptimize (buffer.getReadPointer (0));
        }

        state.SetItemsProcessed (state.iterations() * blockSize);
        state.counters["ns_per_frame"] = benchmark::Counter ((double) state.iterations() * blockSize,
                                                             benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    }
}

BENCHMARK (channelAtDefaults);
