#include "SoakChanges.h"

namespace
{
    juce::RangedAudioParameter* parameterWithId (juce::AudioProcessor& processor, const juce::String& id)
    {
        for (auto* parameter : processor.getParameters())
            if (auto* ranged = dynamic_cast<juce::RangedAudioParameter*> (parameter))
                if (ranged->getParameterID() == id)
                    return ranged;

        return nullptr;
    }
}

SoakChanges::SoakChanges (juce::int64 seed)
    : random (seed)
{
}

juce::int64 SoakChanges::nextInterval (double sampleRate)
{
    return (juce::int64) ((0.1 + 0.5 * random.nextDouble()) * sampleRate);
}

float SoakChanges::randomValue()
{
    // The ends of every range come up far more often than chance would have them: that is
    // where the gains are largest and the times shortest.
    const auto choice = random.nextInt (10);

    if (choice < 2)
        return choice == 0 ? 0.0f : 1.0f;

    return random.nextFloat();
}

void SoakChanges::apply (juce::AudioProcessor& processor)
{
    const auto& parameters = processor.getParameters();
    const auto choice = random.nextInt (100);

    if (choice < 75)
    {
        for (int n = 1 + random.nextInt (4); --n >= 0;)
        {
            parameters[random.nextInt (parameters.size())]->setValueNotifyingHost (randomValue());
            ++counts.values;
        }
    }
    else if (choice < 79)
    {
        // Half the time one of the three default programs; the empty ones set every value
        // to 0 (the channel all but silent until the next changes bring it back).
        processor.setCurrentProgram (random.nextBool() ? random.nextInt (3) : random.nextInt (processor.getNumPrograms()));
        ++counts.programs;
    }
    else if (choice < 90)
    {
        if (auto* oversampling = parameterWithId (processor, "oversampling"))
            oversampling->setValueNotifyingHost (oversampling->getValue() < 0.5f ? 1.0f : 0.0f);

        ++counts.oversamplingToggles;
    }
    else if (storedState.isEmpty() || random.nextBool())
    {
        // Saved now, loaded at once: the round trip must change nothing that matters.
        storedState.reset();
        processor.getStateInformation (storedState);
        processor.setStateInformation (storedState.getData(), (int) storedState.getSize());
        ++counts.stateRoundTrips;
    }
    else
    {
        // Back to a state saved earlier, as when the user recalls a session.
        processor.setStateInformation (storedState.getData(), (int) storedState.getSize());
        ++counts.stateRecalls;
    }
}

juce::String SoakChanges::describe (juce::AudioProcessor& processor)
{
    juce::StringArray values;

    for (auto* parameter : processor.getParameters())
        if (auto* ranged = dynamic_cast<juce::RangedAudioParameter*> (parameter))
            values.add (ranged->getParameterID() + "=" + juce::String (ranged->getValue(), 6));

    return "program " + juce::String (processor.getCurrentProgram()) + ", " + values.joinIntoString (" ");
}
