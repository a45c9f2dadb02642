// A host hands back whatever it stored (or whatever a damaged project file holds) to
// setStateInformation.

#include "FuzzSupport.h"
#include "processor/VeloraAudioProcessor.h"

namespace
{
    struct Rig
    {
        Rig()
        {
            processor.setRandomSeed (1);
            processor.setPlayConfigDetails (2, 2, 48000.0, 64);
            processor.prepareToPlay (48000.0, 64);
            processor.getStateInformation (defaults);
        }

        VeloraAudioProcessor processor;
        juce::MemoryBlock defaults;
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
    auto& p = r.processor;

    // Every input starts from the defaults, so a finding replays on its own.
    p.setStateInformation (r.defaults.getData(), (int) r.defaults.getSize());

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

    fuzzing::fillTestSignal (r.buffer);
    p.processBlock (r.buffer, r.midi);
    fuzzing::require (fuzzing::isFinite (r.buffer), "the loaded settings play finite audio");
    return 0;
}
