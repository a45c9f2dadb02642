#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <vector>

/** Peak and RMS per channel over everything it has been shown. */
class SignalMeter final
{
public:
    void reset (int numChannels);
    void add (const juce::AudioBuffer<float>& buffer);

    int getNumChannels() const noexcept     { return (int) peaks.size(); }
    float getPeak (int channel) const;
    double getRms (int channel) const;

private:
    std::vector<float> peaks;
    std::vector<double> sumsOfSquares;
    juce::int64 numSamples = 0;
};

/** What a render measured, and where its results went. */
struct RenderReport
{
    SignalMeter input, output;
    double sampleRate = 0.0;
    juce::int64 numSamples = 0;
    int numBlocks = 0;
    int inputOverloadBlocks = 0, outputOverloadBlocks = 0;
    double largestGainReductionDb = 0.0;    ///< positive dB; 0 while the compressor is off
    juce::File outputFile, stateFile, plotFile;

    /** The reduction a compressor applies with this current and resting (wet) gain, in
        positive dB; 0 when either is not a positive number. */
    static double gainReductionDb (float currentGain, float wetGain);

    /** The text for stdout; levels in dBFS with two decimals, "-inf" for silence. */
    juce::String format() const;
};
