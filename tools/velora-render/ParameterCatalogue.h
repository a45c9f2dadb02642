#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <vector>

class VeloraAudioProcessor;

/** The host parameters as a script names them: identifier, switch or continuous, default.
    Taken from a processor, so it follows whatever the processor lists. */
class ParameterCatalogue final
{
public:
    struct Entry
    {
        juce::String id;
        bool isSwitch = false;
        float defaultValue = 0.0f;
    };

    explicit ParameterCatalogue (VeloraAudioProcessor& processor);

    /** The entry with exactly this identifier, or nullptr. */
    const Entry* find (const juce::String& id) const noexcept;

    const std::vector<Entry>& getEntries() const noexcept   { return entries; }

    /** The --list-parameters table: identifier, default, physical range (the compressor
        times at this sample rate). */
    juce::String describe (double sampleRate) const;

private:
    std::vector<Entry> entries;
};
