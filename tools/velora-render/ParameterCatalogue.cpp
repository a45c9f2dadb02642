#include "ParameterCatalogue.h"

#include "ParameterValue.h"
#include "common/ParameterUnits.h"
#include "eq/EqParameterTable.h"
#include "processor/VeloraAudioProcessor.h"

namespace
{
    // The equaliser's on/off values are floats on the host side; it counts only 1.0 as on.
    bool isEqualiserSwitch (const juce::String& id)
    {
        const int index = EqParameterTable::indexOf (id);
        return index >= EqParameterTable::bypass && index <= EqParameterTable::hfIn;
    }
}

ParameterCatalogue::ParameterCatalogue (VeloraAudioProcessor& processor)
{
    for (auto* parameter : processor.getParameters())
    {
        if (auto* ranged = dynamic_cast<juce::RangedAudioParameter*> (parameter))
        {
            const auto id = ranged->getParameterID();
            const bool isSwitch = dynamic_cast<juce::AudioParameterBool*> (ranged) != nullptr || isEqualiserSwitch (id);
            entries.push_back ({ id, isSwitch, ranged->getDefaultValue() });
        }
    }
}

const ParameterCatalogue::Entry* ParameterCatalogue::find (const juce::String& id) const noexcept
{
    for (const auto& e : entries)
        if (e.id == id)
            return &e;

    return nullptr;
}

juce::String ParameterCatalogue::describe (double sampleRate) const
{
    juce::String text;
    text << juce::String ("identifier").paddedRight (' ', 15) << juce::String ("default").paddedRight (' ', 22) << "range\n";

    for (const auto& e : entries)
    {
        text << e.id.paddedRight (' ', 15);

        if (e.isSwitch)
        {
            text << juce::String (e.defaultValue >= 1.0f ? "on" : "off").paddedRight (' ', 22) << "switch: on/off\n";
            continue;
        }

        const auto* scale = ParameterUnits::findScale (e.id);

        if (scale == nullptr)
        {
            text << juce::String (e.defaultValue).paddedRight (' ', 22) << "0..1\n";
            continue;
        }

        const auto physical = [&] (double v) { return formatPhysicalValue (*ParameterUnits::physicalValue (e.id, v, sampleRate), *scale); };

        text << (juce::String (e.defaultValue) + " = " + physical (e.defaultValue)).paddedRight (' ', 22)
             << physical (0.0) << " .. " << physical (1.0);

        if (scale->needsSampleRate)
            text << " at " << juce::String (juce::roundToInt (sampleRate)) << " Hz";

        if (e.id == "HighpassFreq" || e.id == "LowpassFreq")
            text << " (label scale)";

        text << "\n";
    }

    return text;
}
