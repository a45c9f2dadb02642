#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

/** A few seconds of stereo programme, computed once and then played in a loop block by
    block, so that a benchmark's timed loop only copies audio and the compressor and gate
    see a moving level rather than one repeated block. */
class ProgrammeMaterial final
{
public:
    /** Sines and noise at about -12 dBFS RMS, the channels decorrelated, with a slow
        level swing of a few dB. */
    ProgrammeMaterial (double sampleRate, double seconds);

    /** The same programme at twice the rate, through the channel's own half-band
        upsampler: what the stages see inside the oversampled chain. */
    ProgrammeMaterial upsampled() const;

    /** Copies the next block (as many samples as block holds) and advances, wrapping at
        the end of the programme. */
    void copyNextBlock (juce::AudioBuffer<float>& block) noexcept;

    const juce::AudioBuffer<float>& getAudio() const noexcept   { return audio; }
    double getSampleRate() const noexcept                       { return sampleRate; }

    /** RMS of one channel over a range, for the settings checks. */
    static float rms (const juce::AudioBuffer<float>& buffer, int channel, int start, int numSamples) noexcept;

private:
    ProgrammeMaterial (juce::AudioBuffer<float> audioToUse, double rate);

    juce::AudioBuffer<float> audio;
    double sampleRate = 48000.0;
    int position = 0;
};
