#pragma once

#include "processor/VeloraAudioProcessor.h"

#include <cmath>
#include <memory>

namespace testing_support
{
    inline void setHostValue (VeloraAudioProcessor& p, const juce::String& id, float value)
    {
        p.getParameterTree().getParameter (id)->setValueNotifyingHost (value);
    }

    inline float hostValue (VeloraAudioProcessor& p, const juce::String& id)
    {
        return p.getParameterTree().getParameter (id)->getValue();
    }

    /** A prepared processor; with bare = true every stage is off, so the chain is just
        the gains and the anti-denormal offset. */
    inline std::unique_ptr<VeloraAudioProcessor> makeProcessor (int numChannels, double sampleRate, int blockSize,
                                                                bool oversampling, bool bare = false)
    {
        auto p = std::make_unique<VeloraAudioProcessor>();
        setHostValue (*p, "oversampling", oversampling ? 1.0f : 0.0f);

        if (bare)
            setHostValue (*p, "eqOn", 0.0f);

        p->setRandomSeed (1);
        p->setPlayConfigDetails (numChannels, numChannels, sampleRate, blockSize);
        p->prepareToPlay (sampleRate, blockSize);
        return p;
    }

    inline void fillSine (juce::AudioBuffer<float>& buffer, double frequency, double sampleRate, float amplitude,
                          int startSample = 0)
    {
        for (int ch = 0; ch < buffer.getNumChannels(); ++ch)
            for (int i = 0; i < buffer.getNumSamples(); ++i)
                buffer.setSample (ch, i, amplitude * (float) std::sin (2.0 * 3.141592653589793 * frequency * (startSample + i) / sampleRate));
    }

    inline void process (VeloraAudioProcessor& p, juce::AudioBuffer<float>& buffer)
    {
        juce::MidiBuffer midi;
        p.processBlock (buffer, midi);
    }

    inline bool isFiniteAndBounded (const juce::AudioBuffer<float>& buffer, float bound)
    {
        for (int ch = 0; ch < buffer.getNumChannels(); ++ch)
            for (int i = 0; i < buffer.getNumSamples(); ++i)
                if (! (std::abs (buffer.getSample (ch, i)) <= bound))
                    return false;

        return true;
    }

    inline bool bitIdentical (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b)
    {
        if (a.getNumChannels() != b.getNumChannels() || a.getNumSamples() != b.getNumSamples())
            return false;

        for (int ch = 0; ch < a.getNumChannels(); ++ch)
            if (std::memcmp (a.getReadPointer (ch), b.getReadPointer (ch), sizeof (float) * (size_t) a.getNumSamples()) != 0)
                return false;

        return true;
    }
}
