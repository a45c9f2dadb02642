#include "SoakSignal.h"

#include <cmath>

namespace
{
    constexpr double twoPi = 6.283185307179586;

    /** Uniform on a logarithmic scale between low and high. */
    double logUniform (juce::Random& random, double low, double high)
    {
        return low * std::pow (high / low, random.nextDouble());
    }
}

SoakSignal::SoakSignal (juce::int64 seed, double rate)
    : random (seed), sampleRate (rate)
{
}

void SoakSignal::startSegment() noexcept
{
    const auto seconds = [this] (double low, double high) { return juce::jmax (1, (int) (logUniform (random, low, high) * sampleRate)); };
    const auto choice = random.nextInt (100);

    if (choice < 55)
    {
        kind = Kind::tones;
        remaining = seconds (0.2, 3.0);

        // Peak level from -30 dBFS to full scale, shared out among the partials.
        const auto level = std::pow (10.0, -1.5 * random.nextDouble());
        const auto top = juce::jmin (12000.0, 0.45 * sampleRate);

        for (size_t k = 0; k < numPartials; ++k)
        {
            const auto w = twoPi * logUniform (random, 40.0, top) / sampleRate;
            const auto phase = twoPi * random.nextDouble(), shift = twoPi * random.nextDouble();
            re[k] = std::cos (phase);
            im[k] = std::sin (phase);
            stepRe[k] = std::cos (w);
            stepIm[k] = std::sin (w);
            shiftRe[k] = std::cos (shift);
            shiftIm[k] = std::sin (shift);
            amplitude[k] = level / numPartials;
        }

        noiseLevel = random.nextInt (10) < 3 ? (float) (0.03 * level) : 0.0f;
        noiseDecay = 1.0f;
    }
    else if (choice < 75)
    {
        kind = Kind::noiseBurst;
        remaining = seconds (0.02, 0.3);
        noiseLevel = (float) std::pow (10.0, -1.0 * random.nextDouble());
        noiseDecay = (float) std::pow (0.001, 1.0 / remaining);   // -60 dB over the burst
    }
    else if (choice < 90)
    {
        kind = Kind::silence;
        remaining = seconds (0.05, 1.0);
    }
    else
    {
        kind = Kind::square;
        remaining = seconds (0.05, 0.5);
        squarePhase = 0.0;
        squareStep = logUniform (random, 30.0, 2000.0) / sampleRate;
    }
}

void SoakSignal::fill (float* left, float* right, int numSamples) noexcept
{
    for (int i = 0; i < numSamples; ++i)
    {
        if (remaining <= 0)
            startSegment();

        --remaining;
        double l = 0.0, r = 0.0;

        switch (kind)
        {
            case Kind::tones:
                for (size_t k = 0; k < numPartials; ++k)
                {
                    l += amplitude[k] * im[k];
                    r += amplitude[k] * (im[k] * shiftRe[k] + re[k] * shiftIm[k]);
                    const auto nextRe = re[k] * stepRe[k] - im[k] * stepIm[k];
                    im[k] = re[k] * stepIm[k] + im[k] * stepRe[k];
                    re[k] = nextRe;
                }

                if (noiseLevel > 0.0f)
                {
                    l += noiseLevel * noise();
                    r += noiseLevel * noise();
                }
                break;

            case Kind::noiseBurst:
                l = noiseLevel * noise();
                r = noiseLevel * noise();
                noiseLevel *= noiseDecay;
                break;

            case Kind::square:
                l = r = squarePhase < 0.5 ? 1.0 : -1.0;
                squarePhase += squareStep;
                squarePhase -= std::floor (squarePhase);
                break;

            case Kind::silence:
                break;
        }

        left[i] = (float) l;
        right[i] = (float) r;
    }
}
