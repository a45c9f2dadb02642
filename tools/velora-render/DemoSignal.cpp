#include "DemoSignal.h"

namespace DemoSignal
{

juce::AudioBuffer<float> make()
{
    const int numSamples = (int) (3.0 * demoSampleRate);
    juce::AudioBuffer<float> signal (2, numSamples);
    juce::Random noise (1234);
    double sweepPhase = 0.0;

    for (int i = 0; i < numSamples; ++i)
    {
        const double t = i / demoSampleRate;
        const double sweepFrequency = 40.0 * std::pow (300.0, t / 3.0);
        sweepPhase += juce::MathConstants<double>::twoPi * sweepFrequency / demoSampleRate;

        const double envelope = 0.5 * (1.0 - std::cos (juce::MathConstants<double>::twoPi * std::fmod (t, 0.75) / 0.75));
        const double chord = std::sin (juce::MathConstants<double>::twoPi * 110.0 * t)
                           + 0.5 * std::sin (juce::MathConstants<double>::twoPi * 220.0 * 1.2599 * t)
                           + 0.25 * std::sin (juce::MathConstants<double>::twoPi * 330.0 * 1.4983 * t);

        signal.setSample (0, i, (float) (0.5 * std::sin (sweepPhase)));
        signal.setSample (1, i, (float) (0.25 * envelope * chord + 0.05 * (noise.nextFloat() * 2.0f - 1.0f)));
    }

    return signal;
}

} // namespace DemoSignal
