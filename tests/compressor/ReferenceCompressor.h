#pragma once

#include "compressor/CompressorWorkingValues.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <algorithm>
#include <cmath>
#include <math.h>

namespace testing_support
{

/** The detector and gain computer written out sample by sample, the slow and obvious way,
    to hold the optimised block loop to the same bits. It shares nothing with the engine but
    the working values it is given.
*/
class ReferenceCompressor
{
public:
    float envelope = 0.0f;
    float levelFollower = 0.0f;
    float currentGain = 1.0f;

    void resetDetector()
    {
        envelope = 0.0f;
        a.clear();
        b.clear();
    }

    void processBlock (juce::AudioBuffer<float>& buffer, const compressor::CompressorWorkingValues& w)
    {
        juce::ScopedNoDenormals noDenormals; // the engine runs its blocks the same way

        if (w.bypass)
            return;

        a.take (w.sideChain);
        b.take (w.sideChain);

        const int channels = buffer.getNumChannels();
        const bool key = w.sideChainKey;
        const float t = w.thresholdGain, k = w.wetGain, dry = w.dryGain, att = w.attackCoeff;
        const float keep = 1.0f - w.releaseCoeff;

        for (int i = 0; i < buffer.getNumSamples(); ++i)
        {
            auto in = [&buffer, i] (int ch) { return (double) buffer.getSample (ch, i); };

            double yA = 0.0, yB = 0.0;

            if (channels == 1)                  { yA = a.step (in (0)); }
            else if (! key)                     { yA = a.step (in (0)); yB = b.step (in (1)); }
            else if (channels == 2)             { yA = a.step (in (1)); }
            else if (channels == 4)             { yA = a.step (in (2)); yB = b.step (in (3)); }
            else                                { yA = a.step (in (2)); }

            const float d = channels == 1 ? std::fabs ((float) yA)
                                          : std::max (std::fabs ((float) yA), std::fabs ((float) yB));

            if (d > envelope)
                envelope += (d - envelope) * att;
            else
                envelope *= keep;

            const float s = w.slope;
            float g;

            if (w.softKnee)
            {
                if (envelope < 1.0e-10f)
                {
                    g = k; // silent detector
                }
                else
                {
                    const float r = envelope / t;
                    const double p = (double) ::powf (r, -s);
                    const double inv = (double) t / ((double) envelope + 0.000001);
                    g = (float) (p * k / (1.0 + inv * inv) + k / (1.0 + (double) r * (double) r));
                }
            }
            else
            {
                g = envelope > t ? ::powf (envelope / t, -s) * k : k;
            }

            currentGain = g;

            if (d > levelFollower)
                levelFollower += (d - levelFollower) * 0.7943282f;
            else
                levelFollower *= 0.6451866f;

            if (w.filteredSolo)
            {
                buffer.setSample (0, i, (float) yA);

                if (channels > 1)
                    buffer.setSample (1, i, (float) yB);
            }
            else
            {
                const float x0 = buffer.getSample (0, i);
                buffer.setSample (0, i, x0 * (g + dry));

                if (channels > 1)
                {
                    const float x1 = key && channels == 2 ? 0.0f : buffer.getSample (1, i);
                    buffer.setSample (1, i, x1 * (g + dry));
                }
            }
        }

        if (envelope < 0.0000000001)
            envelope = 0.0f;

        if (levelFollower < 0.0000000001)
            levelFollower = 0.0f;
    }

private:
    struct Section
    {
        double b0 = 0, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
        double x1 = 0, x2 = 0, y1 = 0, y2 = 0;

        void take (const compressor::SideChainBiquad& design)
        {
            b0 = design.b0; b1 = design.b1; b2 = design.b2; a1 = design.a1; a2 = design.a2;
        }

        void clear() { x1 = x2 = y1 = y2 = 0; }

        double step (double x)
        {
            double y = b0 * x + b1 * x1;
            y = y + b2 * x2;
            y = y - a1 * y1;
            y = y - a2 * y2;
            x2 = x1;
            x1 = x;
            y2 = y1;
            y1 = y;
            return y;
        }
    };

    Section a, b;
};

} // namespace testing_support
