#pragma once

#include <cmath>
#include <complex>

namespace testing_support
{
    /** |H(e^jw)| of a normalised second-order section at frequency f. */
    template <typename Section>
    double magnitudeAt (const Section& s, double frequency, double sampleRate)
    {
        const double w = 2.0 * 3.141592653589793 * frequency / sampleRate;
        const std::complex<double> z1 = std::polar (1.0, -w);
        const std::complex<double> z2 = z1 * z1;
        const auto numerator = s.b0 + s.b1 * z1 + s.b2 * z2;
        const auto denominator = 1.0 + s.a1 * z1 + s.a2 * z2;
        return std::abs (numerator / denominator);
    }

    inline double toDecibels (double gain)
    {
        return 20.0 * std::log10 (gain);
    }
}
