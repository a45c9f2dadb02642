#pragma once

#include <juce_core/juce_core.h>

#include <array>

/** The equaliser's 25 parameters: index order, names and construction values. */
namespace EqParameterTable
{
    enum Index
    {
        lowFreq,
        lowGain,
        lowMidFreq,
        lowMidGain,
        lowMidQ,
        midFreq,
        midGain,
        midQ,
        highMidFreq,
        highMidGain,
        highMidQ,
        highFreq,
        highGain,
        outgain,
        bypass,
        lmfIn,
        mfIn,
        hmfIn,
        lphpIn,
        lowcutIn,
        lfIn,
        highcutIn,
        hfIn,
        highpassFreq,
        lowpassFreq,
        numParameters
    };

    struct Entry
    {
        const char* name;
        double defaultValue;
    };

    extern const std::array<Entry, numParameters> entries;

    /** The index of the entry with this exact name, or -1. */
    int indexOf (const juce::String& name) noexcept;

    /** The display text of a value (one decimal, physical units for gains, Qs and frequencies). */
    juce::String textFor (int index, float value);
}
