// The equaliser engine is handed a stored block; it keeps its settings whatever the
// block holds.

#include "FuzzSupport.h"
#include "eq/OrvelEqAudioProcessor.h"

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, std::size_t size)
{
    auto& r = fuzzing::sharedRig<fuzzing::PlayingRig<OrvelEqAudioProcessor>>();

    const auto block = fuzzing::stateBlock (data, size);
    r.engine.setStateInformation (block.getData(), (int) block.getSize());

    juce::MemoryBlock after;
    r.engine.getStateInformation (after);
    fuzzing::require (after == r.initialState, "a stored block changes no setting");
    fuzzing::require (r.playsFinite(), "the equaliser still plays finite audio");
    return 0;
}
