// The whole channel through the processor, as a host drives it: 48 kHz stereo,
// 512-sample blocks.

#include "BenchmarkNames.h"
#include "ChannelSettings.h"
#include "FrameCounters.h"
#include "ProgrammeMaterial.h"
#include "compressor/CompressorFilter.h"
#include "processor/VeloraAudioProcessor.h"

#include <benchmark/benchmark.h>

namespace
{
    constexpr double hostRate = 48000.0;
    constexpr int blockSize = 512;
    constexpr juce::int64 colouringSeed = 20240611;

    enum class Setup { wholeOversampled, wholeHostRate, defaults };

    void runChannel (benchmark::State& state, Setup setup)
    {
        VeloraAudioProcessor processor;
        processor.setRandomSeed (colouringSeed);
        processor.setPlayConfigDetails (2, 2, hostRate, blockSize);

        if (setup != Setup::defaults)
            ChannelSettings::applyWholeChannel (processor, setup == Setup::wholeOversampled);

        processor.prepareToPlay (hostRate, blockSize);

        ProgrammeMaterial programme (hostRate, 2.0);
        juce::AudioBuffer<float> block (2, blockSize);
        juce::MidiBuffer midi;

        // One second before timing: the detectors settle, and the checks below see the
        // stages at work on the programme.
        for (int i = 0; i < (int) hostRate / blockSize; ++i)
        {
            programme.copyNextBlock (block);
            processor.processBlock (block, midi);
        }

        if (setup != Setup::defaults)
        {
            // A stage that is not working would make the figure look better than it is.
            const auto& compressor = processor.getCompressorEngine();
            const float reduction = compressor.getCurrentGain() / compressor.getWetGain();

            if (! (reduction < 0.9f))
            {
                const auto message = "the compressor does not reduce the -12 dBFS programme (gain "
                                     + juce::String (juce::Decibels::gainToDecibels (reduction), 1)
                                     + " dB): its settings do not reach it or it does not process";
                state.SkipWithError (message.toRawUTF8());
                return;
            }

            if (! (processor.getGateGain() > 0.9f))
            {
                state.SkipWithError ("the gate does not open on the programme: check the whole-channel settings");
                return;
            }
        }

        for (auto _ : state)
        {
            programme.copyNextBlock (block);
            processor.processBlock (block, midi);
            benchmark::DoNotOptimize (block.getReadPointer (0));
            benchmark::ClobberMemory();
        }

        FrameCounters::report (state, blockSize, hostRate);
    }
}

BENCHMARK_CAPTURE (runChannel, oversampled, Setup::wholeOversampled)->Name (BenchmarkNames::channelOversampled)->MeasureProcessCPUTime();
BENCHMARK_CAPTURE (runChannel, hostRate, Setup::wholeHostRate)->Name (BenchmarkNames::channelHostRate)->MeasureProcessCPUTime();
BENCHMARK_CAPTURE (runChannel, defaults, Setup::defaults)->Name (BenchmarkNames::channelDefaults)->MeasureProcessCPUTime();
