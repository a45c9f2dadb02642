#include "compressor/CompressorFilter.h"

#include <benchmark/benchmark.h>

namespace
{
    /** The compressor alone at the oversampled rate of a 48 kHz session: 96 kHz stereo,
        512-sample blocks, noise at -6 dBFS against a -32 dB threshold so every sample is
        compressed. range(0): 0 hard knee, 1 soft knee.
    */
    void compressorStereo96k (benchmark::State& state)
    {
        constexpr int blockSize = 512;
        constexpr double sampleRate = 96000.0;

        compressor::CompressorFilter c;

        JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")
        c.setParameter (14, 1.0f);
        c.prepareToPlay (sampleRate, blockSize);
        c.setParameter (0, 0.2f);  // threshold -32 dB
        c.setParameter (1, 0.6f);  // ratio 2.17:1
        c.setParameter (3, 0.1f);
        c.setParameter (4, 0.3f);
        c.setParameter (15, (float) state.range (0));
        JUCE_END_IGNORE_WARNINGS_GCC_LIKE

        juce::AudioBuffer<float> source (2, blockSize), buffer (2, blockSize);
        juce::Random random (7);

        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < blockSize; ++i)
                source.setSample (ch, i, 0.5f * (random.nextFloat() * 2.0f - 1.0f));

        juce::MidiBuffer midi;

        for (auto _ : state)
        {
            buffer.makeCopyOf (source, true);
            c.processBlock (buffer, midi);
            benchmark::DoNotOptimize (buffer.getReadPointer (0));
        }

        state.SetItemsProcessed (state.iterations() * blockSize);
        state.counters["ns_per_frame"] = benchmark::Counter ((double) state.iterations() * blockSize,
                                                             benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    }
}

BENCHMARK (compressorStereo96k)->ArgName ("softKnee")->Arg (0)->Arg (1);
