// The peer chain users would otherwise build (gate, compressor, 16-band parametric
// equaliser from Debian's lsp-plugins-lv2), hosted in this process at 48 kHz, 512-sample
// blocks, no oversampling; and each of its plug-ins alone.

#include "BenchmarkNames.h"
#include "FrameCounters.h"
#include "PeerChain.h"
#include "ProgrammeMaterial.h"

#include <benchmark/benchmark.h>

#include <optional>

namespace
{
    /** The whole chain, or one stage of it when stage is set. */
    void runPeer (benchmark::State& state, std::optional<PeerChain::Stage> stage)
    {
        juce::String error;
        auto* chain = PeerChain::getShared (error);

        if (chain == nullptr)
        {
            state.SkipWithError (error.toRawUTF8());
            return;
        }

        ProgrammeMaterial programme (PeerChain::sampleRate, 2.0);
        juce::AudioBuffer<float> block (2, PeerChain::blockSize);
        juce::MidiBuffer midi;
        juce::ScopedNoDenormals noDenormals;

        for (auto _ : state)
        {
            programme.copyNextBlock (block);

            if (stage.has_value())
                chain->process (*stage, block, midi);
            else
                chain->process (block, midi);

            midi.clear();
            benchmark::DoNotOptimize (block.getReadPointer (0));
            benchmark::ClobberMemory();
        }

        FrameCounters::report (state, PeerChain::blockSize, PeerChain::sampleRate);
    }
}

BENCHMARK_CAPTURE (runPeer, chain, std::nullopt)->Name (BenchmarkNames::peerChain)->MeasureProcessCPUTime();
BENCHMARK_CAPTURE (runPeer, gate, PeerChain::gate)->Name (BenchmarkNames::peerGate)->MeasureProcessCPUTime();
BENCHMARK_CAPTURE (runPeer, compressor, PeerChain::compressor)->Name (BenchmarkNames::peerCompressor)->MeasureProcessCPUTime();
BENCHMARK_CAPTURE (runPeer, equaliser, PeerChain::equaliser)->Name (BenchmarkNames::peerEqualiser)->MeasureProcessCPUTime();
