#pragma once

#include "compressor/CompressorFilter.h"

#include <cmath>
#include <cstring>
#include <initializer_list>
#include <utility>

namespace testing_support
{

/** A compressor prepared the way the plug-in prepares it, with some settings changed. */
struct CompressorRig
{
    explicit CompressorRig (double sampleRate = 44100.0, std::initializer_list<std::pair<int, float>> settings = {})
    {
        JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")
        compressor.setParameter (14, 1.0f);
        compressor.prepareToPlay (sampleRate, 512);

        for (const auto& [index, value] : settings)
            compressor.setParameter (index, value);
        JUCE_END_IGNORE_WARNINGS_GCC_LIKE
    }

    void set (int index, float value)
    {
        JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")
        compressor.setParameter (index, value);
        JUCE_END_IGNORE_WARNINGS_GCC_LIKE
    }

    void process (juce::AudioBuffer<float>& buffer)
    {
        juce::MidiBuffer midi;
        compressor.processBlock (buffer, midi);
    }

    compressor::CompressorFilter compressor;
};

inline juce::AudioBuffer<float> constantSignal (int numChannels, int numSamples, float value)
{
    juce::AudioBuffer<float> buffer (numChannels, numSamples);

    for (int ch = 0; ch < numChannels; ++ch)
        juce::FloatVectorOperations::fill (buffer.getWritePointer (ch), value, numSamples);

    return buffer;
}

/** A sine of the given amplitude and cycles per sample, the same on every channel. */
inline juce::AudioBuffer<float> sineSignal (int numChannels, int numSamples, float amplitude, double cyclesPerSample)
{
    juce::AudioBuffer<float> buffer (numChannels, numSamples);

    for (int ch = 0; ch < numChannels; ++ch)
        for (int i = 0; i < numSamples; ++i)
            buffer.setSample (ch, i, amplitude * (float) std::sin (6.283185307179586 * cyclesPerSample * i));

    return buffer;
}

inline bool sameBits (const juce::AudioBuffer<float>& a, int channelA, const juce::AudioBuffer<float>& b, int channelB)
{
    return a.getNumSamples() == b.getNumSamples()
        && std::memcmp (a.getReadPointer (channelA), b.getReadPointer (channelB),
                        sizeof (float) * (size_t) a.getNumSamples()) == 0;
}

inline bool sameBits (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b)
{
    if (a.getNumChannels() != b.getNumChannels())
        return false;

    for (int ch = 0; ch < a.getNumChannels(); ++ch)
        if (! sameBits (a, ch, b, ch))
            return false;

    return true;
}

} // namespace testing_support
