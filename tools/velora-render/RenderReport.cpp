#include "RenderReport.h"

namespace
{
    juce::String decibels (double linear)
    {
        if (! (linear > 0.0))
            return "-inf";

        return juce::String (20.0 * std::log10 (linear), 2);
    }

    juce::String levelLines (const char* name, const SignalMeter& meter)
    {
        juce::String text;

        for (int ch = 0; ch < meter.getNumChannels(); ++ch)
            text << juce::String (name).paddedRight (' ', 7) << "channel " << (ch + 1) << "  peak "
                 << decibels (meter.getPeak (ch)).paddedLeft (' ', 7) << " dBFS  RMS "
                 << decibels (meter.getRms (ch)).paddedLeft (' ', 7) << " dBFS\n";

        return text;
    }
}

void SignalMeter::reset (int numChannels)
{
    peaks.assign ((size_t) numChannels, 0.0f);
    sumsOfSquares.assign ((size_t) numChannels, 0.0);
    numSamples = 0;
}

void SignalMeter::add (const juce::AudioBuffer<float>& buffer)
{
    const int n = buffer.getNumSamples();

    for (int ch = 0; ch < juce::jmin (buffer.getNumChannels(), getNumChannels()); ++ch)
    {
        const float* data = buffer.getReadPointer (ch);
        float peak = peaks[(size_t) ch];
        double sum = 0.0;

        for (int i = 0; i < n; ++i)
        {
            peak = juce::jmax (peak, std::abs (data[i]));
            sum += (double) data[i] * (double) data[i];
        }

        peaks[(size_t) ch] = peak;
        sumsOfSquares[(size_t) ch] += sum;
    }

    numSamples += n;
}

float SignalMeter::getPeak (int channel) const
{
    return peaks[(size_t) channel];
}

double SignalMeter::getRms (int channel) const
{
    return numSamples > 0 ? std::sqrt (sumsOfSquares[(size_t) channel] / (double) numSamples) : 0.0;
}

double RenderReport::gainReductionDb (float currentGain, float wetGain)
{
    if (! (currentGain > 0.0f && wetGain > 0.0f))
        return 0.0;

    return juce::jmax (0.0, 20.0 * std::log10 ((double) wetGain / (double) currentGain));
}

juce::String RenderReport::format() const
{
    juce::String text;

    if (outputFile != juce::File())
    {
        text << "rendered " << numSamples << " samples (" << juce::String ((double) numSamples / sampleRate, 3) << " s) at "
             << juce::String (sampleRate) << " Hz in " << numBlocks << " blocks\n";
        text << levelLines ("input", input);
        text << levelLines ("output", output);
        text << "blocks with input overload:  " << inputOverloadBlocks << "\n";
        text << "blocks with output overload: " << outputOverloadBlocks << "\n";
        text << "largest compressor gain reduction: " << juce::String (largestGainReductionDb, 2) << " dB\n";
        text << "output: " << outputFile.getFullPathName() << "\n";
    }

    if (stateFile != juce::File())
        text << "state: " << stateFile.getFullPathName() << "\n";

    if (plotFile != juce::File())
        text << "plot: " << plotFile.getFullPathName() << "\n";

    return text;
}
