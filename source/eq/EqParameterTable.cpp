#include "EqParameterTable.h"

namespace EqParameterTable
{

const std::array<Entry, numParameters> entries { {
    { "LowFreq",      0.1852 },
    { "LowGain",      0.5 },
    { "LowMidFreq",   0.5 },
    { "LowMidGain",   0.5 },
    { "LowMidQ",      0.3023 },
    { "MidFreq",      0.5 },
    { "MidGain",      0.5 },
    { "MidQ",         0.3023 },
    { "HighMidFreq",  0.5 },
    { "HighMidGain",  0.5 },
    { "HighMidQ",     0.3023 },
    { "HighFreq",     0.5 },
    { "HighGain",     0.5 },
    { "Outgain",      0.5 },
    { "Bypass",       0.0 },
    { "LMF_In",       1.0 },
    { "MF_In",        1.0 },
    { "HMF_In",       1.0 },
    { "LPHP_In",      0.0 },
    { "Lowcut_In",    1.0 },
    { "LF_In",        1.0 },
    { "Highcut_In",   1.0 },
    { "HF_In",        1.0 },
    { "HighpassFreq", 0.05684210526315789 },
    { "LowpassFreq",  1.0 },
} };

int indexOf (const juce::String& name) noexcept
{
    for (size_t i = 0; i < entries.size(); ++i)
        if (name == entries[i].name)
            return (int) i;

    return -1;
}

juce::String textFor (int index, float value)
{
    if (index < 0 || index >= numParameters)
        return "0.0";

    const juce::String name (entries[(size_t) index].name);

    // The tests run in this order, so "Outgain" (no capital G) falls through to the plain value.
    if (name.contains ("Q"))
        return juce::String (0.7 + 4.3 * value, 1);

    if (name.contains ("Gain"))
        return juce::String (24.0 * value - 12.0, 1) + " dB";

    switch (index)
    {
        case lowFreq:       return juce::String (30.0 + 270.0 * value, 1) + " Hz";
        case lowMidFreq:    return juce::String (50.0 + 350.0 * value, 1) + " Hz";
        case midFreq:       return juce::String (330.0 + 2170.0 * value, 1) + " Hz";
        case highMidFreq:   return juce::String (1.8 + 14.2 * value, 1) + " kHz";
        case highFreq:      return juce::String (2.5 + 22.5 * value, 1) + " kHz";
        case highpassFreq:  return juce::String (10.0 + 190.0 * value, 1) + " Hz";
        case lowpassFreq:   return juce::String (5.0 + 17.0 * value, 1) + " kHz";
        default:            break;
    }

    return juce::String (value, 1);
}

} // namespace EqParameterTable
