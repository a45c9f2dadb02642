#pragma once

#include <juce_audio_formats/juce_audio_formats.h>

/** Reading the input and writing the rendered WAV. */
namespace AudioFileIO
{
    inline constexpr double minimumSampleRate = 8000.0;
    inline constexpr double maximumSampleRate = 192000.0;

    struct Audio
    {
        juce::AudioBuffer<float> signal;
        double sampleRate = 0.0;
    };

    /** Reads a whole mono or stereo WAV, AIFF, FLAC or Ogg Vorbis file into memory. */
    juce::Result read (const juce::File& file, Audio& audio);

    /** Writes a WAV file of 16 or 24-bit integers, or 32-bit floats for bitsPerSample 32. */
    juce::Result writeWav (const juce::File& file, const juce::AudioBuffer<float>& signal, double sampleRate, int bitsPerSample);
}
