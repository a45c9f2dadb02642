// A host hands back whatever it stored (or whatever a damaged project file holds) to
// setStateInformation.

#include "FuzzSupport.h"
#include "processor/VeloraAudioProcessor.h"

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, std::size_t size)
{
    auto& r = fuzzing::sharedRig<fuzzing::PlayingRig<VeloraAudioProcessor>>();
    auto& p = r.engine;

    // Every input starts from the defaults, so a finding replays on its own.
    p.setStateInformation (r.initialState.getData(), (int) r.initialState.getSize());

    const auto block = fuzzing::stateBlock (data, size);
    p.setStateInformation (block.getData(), (int) block.getSize());

    for (auto* parameter : p.getParameters())
    {
        const float value = parameter->getValue();
        fuzzing::require (value >= 0.0f && value <= 1.0f, "every parameter holds a normalised value");
    }

    fuzzing::require (juce::isPositiveAndBelow (p.getCurrentProgram(), VeloraAudioProcessor::numPrograms),
                      "the program number is one of the bank's");

    // Whatever was taken in is stored again unchanged.
    juce::MemoryBlock saved, savedAgain;
    p.getStateInformation (saved);
    p.setStateInformation (saved.getData(), (int) saved.getSize());
    p.getStateInformation (savedAgain);
    fuzzing::require (saved == savedAgain, "a loaded state saves and reloads to itself");

    fuzzing::require (r.playsFinite(), "the loaded settings play finite audio");
    return 0;
}
