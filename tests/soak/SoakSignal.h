#pragma once

#include <juce_core/juce_core.h>

#include <array>

/** Music-like stereo input for the soak run: segments of a few partials (now and then with
    noise under them), noise bursts, silence and the occasional full-scale square, in random
    order, length and level. The same seed gives the same stream, whatever the block sizes
    it is asked for in.
*/
class SoakSignal final
{
public:
    SoakSignal (juce::int64 seed, double sampleRate);

    void fill (float* left, float* right, int numSamples) noexcept;

private:
    enum class Kind { tones, noiseBurst, silence, square };

    static constexpr int numPartials = 4;

    void startSegment() noexcept;
    float noise() noexcept  { return 2.0f * random.nextFloat() - 1.0f; }

    juce::Random random;
    double sampleRate;
    Kind kind = Kind::silence;
    int remaining = 0;

    // Each partial is a rotating phasor (cos, sin); the right channel sees it shifted.
    std::array<double, numPartials> re {}, im {}, stepRe {}, stepIm {}, amplitude {}, shiftRe {}, shiftIm {};
    float noiseLevel = 0.0f, noiseDecay = 1.0f;
    double squarePhase = 0.0, squareStep = 0.0;
};
