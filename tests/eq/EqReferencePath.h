#pragma once

#include "eq/EqDesign.h"

#include <juce_audio_basics/juce_audio_basics.h>

/** The equaliser's processing written out literally: per channel, per sample, the
    switches tested for every sample, juce::Random itself for the draws. The engine's
    pipelined pass must give the same bits. */
class EqReferencePath
{
public:
    struct Section
    {
        double x1 = 0.0, x2 = 0.0, y1 = 0.0, y2 = 0.0;

        double run (const BiquadCoefficients& c, double x)
        {
            const double y = c.b0 * x + c.b1 * x1 + c.b2 * x2 - c.a1 * y1 - c.a2 * y2;
            x2 = x1;
            x1 = x;
            y2 = y1;
            y1 = y;
            return y;
        }
    };

    Section sections[2][EqDesign::numSections];
    float allpassX1[2] {}, allpassY1[2] {};
    juce::Random random { 0 };

    void clearAllpass()
    {
        allpassX1[0] = allpassX1[1] = allpassY1[0] = allpassY1[1] = 0.0f;
    }

    void process (juce::AudioBuffer<float>& buffer, const EqDesign& d)
    {
        if (buffer.getNumSamples() == 0)
            return;

        for (int channel = 0; channel < std::min (2, buffer.getNumChannels()); ++channel)
        {
            auto* samples = buffer.getWritePointer (channel);
            auto& s = sections[channel];
            const bool bypassed = d.bypassed;

            for (int i = 0; i < buffer.getNumSamples(); ++i)
            {
                double x = (double) (samples[i] * d.outgainFactor);

                const double r1 = random.nextDouble();
                const double r2 = random.nextDouble();
                const double r3 = random.nextDouble();
                const double x2 = x * x;
                const double x3 = x2 * x;
                const double x5 = x3 * x2;
                x = x + r1 * 2.869e-5 * x2 + r2 * 2.629e-6 * x3 + r3 * 1.952e-5 * x5;

                if (! bypassed)
                {
                    if (d.filtersEnabled && d.lowCutEnabled)
                        x = s[EqDesign::highPass].run (d.sections[EqDesign::highPass], x);

                    if (d.lfEnabled)
                    {
                        x = s[EqDesign::lfShelf].run (d.sections[EqDesign::lfShelf], x);
                        x = s[EqDesign::lfBell].run (d.sections[EqDesign::lfBell], x);
                    }

                    if (d.filtersEnabled && d.highCutEnabled)
                        x = s[EqDesign::lowPass].run (d.sections[EqDesign::lowPass], x);

                    if (d.hfEnabled)
                    {
                        x = s[EqDesign::hfShelf].run (d.sections[EqDesign::hfShelf], x);
                        x = s[EqDesign::hfBell].run (d.sections[EqDesign::hfBell], x);
                    }

                    if (d.lmfEnabled)
                        x = s[EqDesign::lmfPeak].run (d.sections[EqDesign::lmfPeak], x);

                    if (d.mfEnabled)
                        x = s[EqDesign::mfPeak].run (d.sections[EqDesign::mfPeak], x);

                    if (d.hmfEnabled)
                        x = s[EqDesign::hmfPeak].run (d.sections[EqDesign::hmfPeak], x);
                }

                const float u = (float) x;
                const float c = d.allpassCoefficient;
                const float y = c * allpassY1[channel] + (allpassX1[channel] - c * u);
                allpassX1[channel] = u;
                allpassY1[channel] = y;
                samples[i] = y;
            }
        }
    }
};
