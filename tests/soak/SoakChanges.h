#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

/** What a host and its user do to the plug-in between blocks during the soak run: random
    values for random parameters, now and then a whole program, the oversampling switch, or
    a stored state saved and loaded again. Deterministic for a seed.
*/
class SoakChanges final
{
public:
    explicit SoakChanges (juce::int64 seed);

    /** Audio until the next change: 100 to 600 ms. */
    juce::int64 nextInterval (double sampleRate);

    /** Makes one change. */
    void apply (juce::AudioProcessor& processor);

    /** The current program and every parameter's value, on one line. */
    static juce::String describe (juce::AudioProcessor& processor);

    struct Counts
    {
        juce::int64 values = 0, programs = 0, oversamplingToggles = 0, stateRoundTrips = 0, stateRecalls = 0;

        juce::int64 total() const noexcept { return values + programs + oversamplingToggles + stateRoundTrips + stateRecalls; }
    };

    const Counts& getCounts() const noexcept   { return counts; }

private:
    float randomValue();

    juce::Random random;
    juce::MemoryBlock storedState;
    Counts counts;
};
