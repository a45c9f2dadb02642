// The compressor engine reads its own stored element back.

#include "FuzzSupport.h"
#include "compressor/CompressorFilter.h"

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, std::size_t size)
{
    auto& r = fuzzing::sharedRig<fuzzing::PlayingRig<compressor::CompressorFilter>>();
    auto& c = r.engine;

    c.setCurrentProgram (0);
    c.setStateInformation (r.initialState.getData(), (int) r.initialState.getSize());

    const auto block = fuzzing::stateBlock (data, size);
    c.setStateInformation (block.getData(), (int) block.getSize());

    fuzzing::require (juce::isPositiveAndBelow (c.getCurrentProgram(), compressor::CompressorFilter::numPrograms),
                      "the program number is one of the bank's");

    // The element stores whatever numbers it holds; every reading of them must still be
    // well defined, and settings a host can reach must play finite audio.
    bool normalised = true;

    for (int i = 0; i < c.getNumParameters(); ++i)
    {
        const float value = c.getParameter (i);
        normalised = normalised && value >= 0.0f && value <= 1.0f;
        juce::ignoreUnused (c.getParameterText (i), c.getParameterName (i));
    }

    const bool finite = r.playsFinite();

    if (normalised)
        fuzzing::require (finite, "settings within 0..1 play finite audio");

    juce::ignoreUnused (c.getCurrentGain(), c.getWetGain());
    return 0;
}

JUCE_END_IGNORE_WARNINGS_GCC_LIKE
