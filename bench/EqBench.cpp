// The equaliser alone, at the oversampled rate it runs at inside the channel.

#include "eq/OrvelEqAudioProcessor.h"
#include "eq/EqReferencePath.h"

#include <benchmark/benchmark.h>

namespace
{
    constexpr int blockSize = 512;
    constexpr double sampleRate = 96000.0;

    JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")

    /** Every section running, each band away from 0 dB so none is the identity. */
    void setAllBandsOn (OrvelEqAudioProcessor& eq)
    {
        using P = EqParameterTable::Index;
        eq.setParameter (P::lphpIn, 1.0f);
        eq.setParameter (P::lowGain, 0.75f);
        eq.setParameter (P::lowMidGain, 0.3f);
        eq.setParameter (P::midGain, 0.65f);
        eq.setParameter (P::highMidGain, 0.4f);
        eq.setParameter (P::highGain, 0.7f);
        eq.setParameter (P::highpassFreq, 0.2f);
        eq.setParameter (P::lowpassFreq, 0.6f);
    }

    JUCE_END_IGNORE_WARNINGS_GCC_LIKE

    void fillWithNoise (juce::AudioBuffer<float>& buffer)
    {
        juce::Random random (42);
        for (int ch = 0; ch < buffer.getNumChannels(); ++ch)
            for (int i = 0; i < buffer.getNumSamples(); ++i)
                buffer.setSample (ch, i, 0.3f * (random.nextFloat() * 2.0f - 1.0f));
    }

    void reportPerFrame (benchmark::State& state)
    {
        state.SetItemsProcessed (state.iterations() * blockSize);
        state.counters["ns_per_frame"] = benchmark::Counter ((double) state.iterations() * blockSize,
                                                             benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    }

    /** The engine's processBlock, all nine sections on, 512-sample blocks at 96 kHz, on the
        SSE2 kernels (kernel 0), with AVX sections (1), with AVX2 colouring too (2) or with
        AVX-512's 64-bit products in the colouring (3). */
    void eqAllBands (benchmark::State& state)
    {
        const int channels = (int) state.range (0);
        const auto requested = (EqSignalPath::Kernel) state.range (1);

        if (EqSignalPath::useKernel (requested) != requested)
        {
            state.SkipWithError ("this processor lacks the instruction set");
            return;
        }

        OrvelEqAudioProcessor eq;
        eq.setRandomSeed (1);
        eq.prepareToPlay (sampleRate, blockSize);
        setAllBandsOn (eq);

        juce::AudioBuffer<float> source (channels, blockSize), buffer (channels, blockSize);
        fillWithNoise (source);
        juce::MidiBuffer midi;

        for (auto _ : state)
        {
            buffer.makeCopyOf (source, true);
            eq.processBlock (buffer, midi);
            benchmark::DoNotOptimize (buffer.getReadPointer (0));
        }

        EqSignalPath::useKernel (EqSignalPath::Kernel::avx512);
        reportPerFrame (state);
    }

    /** The same work as a plain per-sample, per-channel loop (the tests' reference), for comparison. */
    void eqAllBandsPlainLoop (benchmark::State& state)
    {
        const int channels = (int) state.range (0);
        OrvelEqAudioProcessor eq;
        eq.prepareToPlay (sampleRate, blockSize);
        setAllBandsOn (eq);

        EqReferencePath plain;
        juce::AudioBuffer<float> source (channels, blockSize), buffer (channels, blockSize);
        fillWithNoise (source);

        for (auto _ : state)
        {
            buffer.makeCopyOf (source, true);
            plain.process (buffer, eq.getCurrentDesign());
            benchmark::DoNotOptimize (buffer.getReadPointer (0));
        }

        reportPerFrame (state);
    }
}

BENCHMARK (eqAllBands)->ArgNames ({ "channels", "kernel" })->ArgsProduct ({ { 2, 1 }, { 0, 1, 2, 3 } });
BENCHMARK (eqAllBandsPlainLoop)->ArgName ("channels")->Arg (2)->Arg (1);
