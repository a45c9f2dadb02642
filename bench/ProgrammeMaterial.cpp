#include "ProgrammeMaterial.h"

#include "processor/HalfBandFilter.h"

#include <cmath>

namespace
{
    constexpr double twoPi = 6.283185307179586;
}

ProgrammeMaterial::ProgrammeMaterial (double rate, double seconds)
    : audio (2, (int) (rate * seconds)), sampleRate (rate)
{
    juce::Random random (20240611);
    const int numSamples = audio.getNumSamples();

    // Three partials per channel at different pitches, plus broadband noise.
    const double partials[2][3] = { { 110.0, 440.0, 1870.0 }, { 165.0, 523.25, 2630.0 } };

    for (int ch = 0; ch < 2; ++ch)
    {
        auto* out = audio.getWritePointer (ch);

        for (int i = 0; i < numSamples; ++i)
        {
            const double t = i / rate;
            const double swing = 1.0 + 0.4 * std::sin (twoPi * 0.7 * t + ch);
            double s = 0.0;

            for (int k = 0; k < 3; ++k)
                s += std::sin (twoPi * partials[ch][k] * t + 0.9 * k) / (k + 1);

            s += 0.8 * (random.nextDouble() * 2.0 - 1.0);
            out[i] = (float) (swing * s);
        }

        // Normalise each channel to -12 dBFS RMS.
        const float target = juce::Decibels::decibelsToGain (-12.0f);
        audio.applyGain (ch, 0, numSamples, target / rms (audio, ch, 0, numSamples));
    }
}

ProgrammeMaterial::ProgrammeMaterial (juce::AudioBuffer<float> audioToUse, double rate)
    : audio (std::move (audioToUse)), sampleRate (rate)
{
}

ProgrammeMaterial ProgrammeMaterial::upsampled() const
{
    const int numSamples = audio.getNumSamples();
    juce::AudioBuffer<float> twice (audio.getNumChannels(), 2 * numSamples);

    for (int ch = 0; ch < audio.getNumChannels(); ++ch)
    {
        HalfBandFilter upsampler;
        upsampler.setNumSamples (numSamples);
        upsampler.upsample (audio.getReadPointer (ch), twice.getWritePointer (ch));
    }

    return ProgrammeMaterial (std::move (twice), 2.0 * sampleRate);
}

void ProgrammeMaterial::copyNextBlock (juce::AudioBuffer<float>& block) noexcept
{
    const int total = audio.getNumSamples();
    const int channels = juce::jmin (block.getNumChannels(), audio.getNumChannels());
    int done = 0;

    while (done < block.getNumSamples())
    {
        const int length = juce::jmin (block.getNumSamples() - done, total - position);

        for (int ch = 0; ch < channels; ++ch)
            block.copyFrom (ch, done, audio, ch, position, length);

        done += length;
        position = (position + length) % total;
    }
}

float ProgrammeMaterial::rms (const juce::AudioBuffer<float>& buffer, int channel, int start, int numSamples) noexcept
{
    const auto* x = buffer.getReadPointer (channel, start);
    double sum = 0.0;

    for (int i = 0; i < numSamples; ++i)
        sum += (double) x[i] * x[i];

    return numSamples > 0 ? (float) std::sqrt (sum / numSamples) : 0.0f;
}
