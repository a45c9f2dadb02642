// The equaliser engine is handed a stored block; it keeps its settings whatever the
// block holds.

#include "FuzzSupport.h"
#include "eq/OrvelEqAudioProcessor.h"

namespace
{
    struct Rig
    {
        Rig()
        {
            eq.setRandomSeed (1);
            eq.setPlayConfigDetails (2, 2, 48000.0, 64);
            eq.prepareToPlay (48000.0, 64);
            eq.getStateInformation (before);
        }

        OrvelEqAudioProcessor eq;
        juce::MemoryBlock before;
        juce::AudioBuffer<float> buffer { 2, 64 };
        juce::MidiBuffer midi;
    };

    Rig& rig()
    {
        fuzzing::initialiseJuce();
        static auto* instance = new Rig();
        return *instance;
    }
}

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, std::size_t size)
{
    auto& r = rig();

    const auto block = fuzzing::stateBlock (data, size);
    r.eq.setStateInformation (block.getData(), (int) block.getSize());

    juce::MemoryBlock after;
    r.eq.getStateInformation (after);
    fuzzing::require (after == r.before, "a stored block changes no setting");

    fuzzing::fillTestSignal (r.buffer);
    r.eq.processBlock (r.buffer, r.midi);
    fuzzing::require (fuzzing::isFinite (r.buffer), "the equaliser still plays finite audio");
    return 0;
}
