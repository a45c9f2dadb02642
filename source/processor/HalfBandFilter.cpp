#include "HalfBandFilter.h"

#include <cmath>

namespace
{
    // Integer powers by repeated squaring.
    double integerPower (double x, int n) noexcept
    {
        double result = 1.0;

        while (n > 0)
        {
            if ((n & 1) != 0)
                result *= x;

            x *= x;
            n >>= 1;
        }

        return result;
    }
}

HalfBandFilter::HalfBandFilter()
{
    designHalfBandCoefficients (designed);
    c0 = (float) designed[0];
    c1 = (float) designed[1];
}

void HalfBandFilter::designHalfBandCoefficients (std::array<double, 2>& coefficients)
{
    // Selectivity k = tan^2 (0.2 pi) for a normalised transition width of 0.1, and the
    // elliptic nome q that follows from it (with its fourth root).
    constexpr double k = 0.5278640450004206;
    constexpr double q = 0.020402271398940137;
    constexpr double qFourthRoot = 0.37793719033230966;
    constexpr double pi = 3.141592653589793;
    constexpr int order = 5;

    for (size_t i = 0; i < coefficients.size(); ++i)
    {
        const double c = (double) (i + 1);

        double numerator = 0.0;

        for (int m = 0;; ++m)
        {
            const double term = ((m & 1) != 0 ? -1.0 : 1.0) * integerPower (q, m * (m + 1))
                                  * std::sin ((2 * m + 1) * c * pi / order);
            numerator += term;

            if (std::abs (term) <= 1e-100)
                break;
        }

        numerator *= qFourthRoot;

        // The series first, then its constant term: the rounding depends on the order.
        double denominator = 0.0;

        for (int m = 1;; ++m)
        {
            const double term = ((m & 1) != 0 ? -1.0 : 1.0) * integerPower (q, m * m)
                                  * std::cos (2 * m * c * pi / order);
            denominator += term;

            if (std::abs (term) <= 1e-100)
                break;
        }

        denominator += 0.5;

        const double w = numerator / denominator;
        const double w2 = w * w;
        const double x = std::sqrt ((1.0 - w2 * k) * (1.0 - w2 / k)) / (1.0 + w2);

        coefficients[i] = (1.0 - x) / (1.0 + x);
    }
}

void HalfBandFilter::upsample (const float* input, float* output) noexcept
{
    for (int i = 0; i < numSamples; ++i)
    {
        const float v = input[i];
        const float e = (v - y0) * c0 + x0;
        const float o = (v - y1) * c1 + x1;

        x0 = v;
        x1 = v;
        y0 = e;
        y1 = o;

        output[2 * i] = e;
        output[2 * i + 1] = o;
    }
}

void HalfBandFilter::downsample (const float* input, float* output) noexcept
{
    for (int i = 0; i < numSamples; ++i)
    {
        const float even = input[2 * i];
        const float odd = input[2 * i + 1];

        // The odd sample feeds the c0 path, the even sample the c1 path.
        const float p = (odd - y0) * c0 + x0;
        const float r = (even - y1) * c1 + x1;

        x0 = odd;
        x1 = even;
        y0 = p;
        y1 = r;

        output[i] = (p + r) * 0.5f;
    }
}
