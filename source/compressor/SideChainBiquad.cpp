#include "SideChainBiquad.h"

#include <cmath>

namespace compressor
{

void SideChainBiquad::reset() noexcept
{
    b0 = 1.0;
    b1 = b2 = a1 = a2 = 0.0;
    clearState();
}

void SideChainBiquad::copyCoefficientsFrom (const SideChainBiquad& other) noexcept
{
    b0 = other.b0;
    b1 = other.b1;
    b2 = other.b2;
    a1 = other.a1;
    a2 = other.a2;
}

void SideChainBiquad::clearState() noexcept
{
    y1 = y2 = x1 = x2 = 0.0;
}

void designIdentity (SideChainBiquad& section, double sampleRate)
{
    // A 100 Hz section whose numerator equals its denominator.
    const double w = 628.3185307179587 / sampleRate;
    const double u = 1.0 + std::sin (w);

    section.b0 = u / u;
    section.b1 = section.a1 = -2.0 * std::cos (w) / u;
    section.b2 = section.a2 = (1.0 - std::sin (w)) / u;
}

void designBiquad (SideChainBiquad& section, int type, double frequency, double sampleRate, double q)
{
    const double w = frequency * 6.283185307179586 / sampleRate;
    const double s = std::sin (w);
    const double c = std::cos (w);
    const double alpha = s / (q + q);

    double b0, b1, b2, a0, a1, a2;

    // Types 0 to 5 share the cookbook denominator.
    a0 = 1.0 + alpha;
    a1 = -2.0 * c;
    a2 = 1.0 - alpha;

    switch (type)
    {
        case lowPass:       b0 = (1.0 - c) * 0.5; b1 = 1.0 - c;     b2 = (1.0 - c) * 0.5; break;
        case highPass:      b0 = (1.0 + c) * 0.5; b1 = -(1.0 + c);  b2 = (1.0 + c) * 0.5; break;
        case bandPass:      b0 = alpha;           b1 = 0.0;         b2 = -alpha;          break;
        case bandPassSkirt: b0 = s * 0.5;         b1 = 0.0;         b2 = -s * 0.5;        break;
        case notch:         b0 = 1.0;             b1 = -2.0 * c;    b2 = 1.0;             break;
        case allPass:       b0 = 1.0 - alpha;     b1 = -2.0 * c;    b2 = 1.0 + alpha;     break;
        case peak:          b0 = 1.0 + alpha;     b1 = -2.0 * c;    b2 = 1.0 - alpha;     break;

        case lowShelf:
        case highShelf:
            // The cookbook shelves at 0 dB (A = 1): numerator and denominator coincide.
            b0 = a0 = 2.0 + s * (1.0 / q);
            b1 = a1 = -4.0 * c;
            b2 = a2 = 2.0 - s * (1.0 / q);
            break;

        default:
            designIdentity (section, sampleRate);
            return;
    }

    section.b0 = b0 / a0;
    section.b1 = b1 / a0;
    section.b2 = b2 / a0;
    section.a1 = a1 / a0;
    section.a2 = a2 / a0;
}

void selectSideChainDesign (SideChainBiquad& section, float filterType, float freq, float width, float sampleRate)
{
    // Not-a-number and anything up to 0 mean "filter off".
    if (filterType > 0.0f)
    {
        // A stored state can hold any number: past the last type it is a type without a
        // design (flat), and never a float-to-int overflow.
        const float position = 4.0f * filterType - 1.0f;
        const int type = position < 9.0f ? (int) position : 9;
        const double frequency = (double) (std::pow (200.0f, freq) * 50.0f);
        const double w = (double) width;
        const double q = w * w * (w * w) * 6.4 + 0.1;

        designBiquad (section, type, frequency, (double) sampleRate, q);
    }
    else
    {
        designIdentity (section, (double) sampleRate);
    }
}

} // namespace compressor
