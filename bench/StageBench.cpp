// Where the whole channel's time goes: each stage alone, on what it gets inside the
// oversampled chain (1024 samples at 96 kHz per 512-sample host block), reported per
// host stereo frame so the figures add up to the whole channel's.

#include "BenchmarkNames.h"
#include "ChannelSettings.h"
#include "FrameCounters.h"
#include "ProgrammeMaterial.h"
#include "compressor/CompressorFilter.h"
#include "eq/OrvelEqAudioProcessor.h"
#include "processor/HalfBandFilter.h"
#include "processor/NoiseGate.h"
#include "processor/VeloraAudioProcessor.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

namespace
{
    constexpr double hostRate = 48000.0;
    constexpr int blockSize = 512;

    /** A processor with the whole channel set up at 2x: its engines are then prepared at
        96 kHz with exactly the settings the whole-channel benchmark uses. */
    std::unique_ptr<VeloraAudioProcessor> makeOversampledChannel()
    {
        auto processor = std::make_unique<VeloraAudioProcessor>();
        processor->setRandomSeed (20240611);
        processor->setPlayConfigDetails (2, 2, hostRate, blockSize);
        ChannelSettings::applyWholeChannel (*processor, true);
        processor->prepareToPlay (hostRate, blockSize);
        return processor;
    }

    /** Runs one stage on oversampled programme, one host block's worth per iteration,
        after a second of warm-up; skips when the stage leaves the programme untouched, as
        an engine that does not process would look faster than it is. */
    template <typename Stage>
    void runOversampledStage (benchmark::State& state, const char* stageName, Stage&& stage)
    {
        auto programme = ProgrammeMaterial (hostRate, 2.0).upsampled();
        juce::AudioBuffer<float> work (2, 2 * blockSize), untouched (2, 2 * blockSize);
        juce::ScopedNoDenormals noDenormals;
        double changed = 0.0;

        for (int i = 0; i < (int) hostRate / blockSize; ++i)
        {
            programme.copyNextBlock (work);
            untouched.makeCopyOf (work, true);
            stage (work);

            for (int ch = 0; ch < 2; ++ch)
                for (int n = 0; n < work.getNumSamples(); ++n)
                    changed = juce::jmax (changed, (double) std::abs (work.getSample (ch, n) - untouched.getSample (ch, n)));
        }

        if (! (changed > 1.0e-3))
        {
            state.SkipWithError ((juce::String ("the ") + stageName + " leaves the programme unchanged: it does not process").toRawUTF8());
            return;
        }

        for (auto _ : state)
        {
            programme.copyNextBlock (work);
            stage (work);
            benchmark::DoNotOptimize (work.getReadPointer (0));
            benchmark::ClobberMemory();
        }

        FrameCounters::report (state, blockSize, hostRate);
    }

    void gateStage (benchmark::State& state)
    {
        auto processor = makeOversampledChannel();
        auto& tree = processor->getParameterTree();
        auto value = [&tree] (const char* id) { return tree.getRawParameterValue (id)->load(); };

        const auto settings = NoiseGate::convertSettings (value ("gateThreshold"), value ("gateAttack"),
                                                          value ("gateRelease"), value ("gateRange"));
        const float dt = NoiseGate::timeStep (hostRate, true);
        float gain = 0.0f;

        runOversampledStage (state, "gate", [&] (juce::AudioBuffer<float>& work)
        {
            NoiseGate::process (work.getWritePointer (0), work.getWritePointer (1), work.getNumSamples(), settings, dt, gain);
        });
    }

    void compressorStage (benchmark::State& state)
    {
        auto processor = makeOversampledChannel();
        auto& compressor = processor->getCompressorEngine();
        juce::MidiBuffer midi;

        runOversampledStage (state, "compressor", [&] (juce::AudioBuffer<float>& work) { compressor.processBlock (work, midi); });
    }

    void equaliserStage (benchmark::State& state)
    {
        auto processor = makeOversampledChannel();
        auto& equaliser = processor->getEqEngine();
        juce::MidiBuffer midi;

        runOversampledStage (state, "equaliser", [&] (juce::AudioBuffer<float>& work) { equaliser.processBlock (work, midi); });
    }

    void halfBandStage (benchmark::State& state)
    {
        // Up and down for both channels, as the oversampled chain runs them per block.
        HalfBandFilter up[2], down[2];
        for (auto* filter : { &up[0], &up[1], &down[0], &down[1] })
            filter->setNumSamples (blockSize);

        ProgrammeMaterial programme (hostRate, 2.0);
        juce::AudioBuffer<float> block (2, blockSize), work (2, 2 * blockSize);
        juce::ScopedNoDenormals noDenormals;

        for (auto _ : state)
        {
            programme.copyNextBlock (block);

            HalfBandFilter::upsampleStereo (up[0], up[1], block.getReadPointer (0), block.getReadPointer (1),
                                            work.getWritePointer (0), work.getWritePointer (1));
            HalfBandFilter::downsampleStereo (down[0], down[1], work.getReadPointer (0), work.getReadPointer (1),
                                              block.getWritePointer (0), block.getWritePointer (1));

            benchmark::DoNotOptimize (block.getReadPointer (0));
            benchmark::ClobberMemory();
        }

        FrameCounters::report (state, blockSize, hostRate);
    }

    void gainsAndMetersStage (benchmark::State& state)
    {
        VeloraAudioProcessor processor;
        processor.setPlayConfigDetails (2, 2, hostRate, blockSize);
        ChannelSettings::applyWholeChannel (processor, false);
        ChannelSettings::applyStagesOff (processor);
        processor.prepareToPlay (hostRate, blockSize);

        ProgrammeMaterial programme (hostRate, 2.0);
        juce::AudioBuffer<float> block (2, blockSize);
        juce::MidiBuffer midi;

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

BENCHMARK (gateStage)->Name (BenchmarkNames::stageGate)->MeasureProcessCPUTime();
BENCHMARK (compressorStage)->Name (BenchmarkNames::stageCompressor)->MeasureProcessCPUTime();
BENCHMARK (equaliserStage)->Name (BenchmarkNames::stageEqualiser)->MeasureProcessCPUTime();
BENCHMARK (halfBandStage)->Name (BenchmarkNames::stageHalfBand)->MeasureProcessCPUTime();
BENCHMARK (gainsAndMetersStage)->Name (BenchmarkNames::stageGainsMeters)->MeasureProcessCPUTime();
