#include "HalfBandFilter.h"

#include <cmath>

#if defined (__SSE2__) || defined (_M_X64)
 #include <emmintrin.h>
 #define VELORA_HALFBAND_SSE 1
#else
 #define VELORA_HALFBAND_SSE 0
#endif

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

void HalfBandFilter::clearNonFiniteState() noexcept
{
    if (! (std::isfinite (x0) && std::isfinite (x1) && std::isfinite (y0) && std::isfinite (y1)))
        x0 = x1 = y0 = y1 = 0.0f;
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

#if VELORA_HALFBAND_SSE

// Lanes: left path 0, left path 1, right path 0, right path 1.
void HalfBandFilter::upsampleStereo (HalfBandFilter& left, HalfBandFilter& right,
                                     const float* inputLeft, const float* inputRight,
                                     float* outputLeft, float* outputRight) noexcept
{
    const __m128 c = _mm_setr_ps (left.c0, left.c1, right.c0, right.c1);
    __m128 x = _mm_setr_ps (left.x0, left.x1, right.x0, right.x1);
    __m128 y = _mm_setr_ps (left.y0, left.y1, right.y0, right.y1);

    for (int i = 0; i < left.numSamples; ++i)
    {
        const __m128 v = _mm_setr_ps (inputLeft[i], inputLeft[i], inputRight[i], inputRight[i]);
        const __m128 out = _mm_add_ps (_mm_mul_ps (_mm_sub_ps (v, y), c), x);
        x = v;
        y = out;

        // e and o of the left channel, then of the right.
        _mm_storel_pi (reinterpret_cast<__m64*> (outputLeft + 2 * i), out);
        _mm_storeh_pi (reinterpret_cast<__m64*> (outputRight + 2 * i), out);
    }

    alignas (16) float xs[4], ys[4];
    _mm_store_ps (xs, x);
    _mm_store_ps (ys, y);
    left.x0 = xs[0];  left.x1 = xs[1];  right.x0 = xs[2];  right.x1 = xs[3];
    left.y0 = ys[0];  left.y1 = ys[1];  right.y0 = ys[2];  right.y1 = ys[3];
}

// Lanes: left odd -> path 0, left even -> path 1, then the same for the right.
void HalfBandFilter::downsampleStereo (HalfBandFilter& left, HalfBandFilter& right,
                                       const float* inputLeft, const float* inputRight,
                                       float* outputLeft, float* outputRight) noexcept
{
    const __m128 c = _mm_setr_ps (left.c0, left.c1, right.c0, right.c1);
    const __m128 half = _mm_set1_ps (0.5f);
    __m128 x = _mm_setr_ps (left.x0, left.x1, right.x0, right.x1);
    __m128 y = _mm_setr_ps (left.y0, left.y1, right.y0, right.y1);

    for (int i = 0; i < left.numSamples; ++i)
    {
        const __m128 u = _mm_setr_ps (inputLeft[2 * i + 1], inputLeft[2 * i], inputRight[2 * i + 1], inputRight[2 * i]);
        const __m128 out = _mm_add_ps (_mm_mul_ps (_mm_sub_ps (u, y), c), x);
        x = u;
        y = out;

        // (p + r) * 0.5 per channel: lanes 0 + 1 and 2 + 3.
        const __m128 swapped = _mm_shuffle_ps (out, out, _MM_SHUFFLE (2, 3, 0, 1));
        const __m128 sums = _mm_mul_ps (_mm_add_ps (out, swapped), half);
        outputLeft[i] = _mm_cvtss_f32 (sums);
        outputRight[i] = _mm_cvtss_f32 (_mm_movehl_ps (sums, sums));
    }

    alignas (16) float xs[4], ys[4];
    _mm_store_ps (xs, x);
    _mm_store_ps (ys, y);
    left.x0 = xs[0];  left.x1 = xs[1];  right.x0 = xs[2];  right.x1 = xs[3];
    left.y0 = ys[0];  left.y1 = ys[1];  right.y0 = ys[2];  right.y1 = ys[3];
}

#else

void HalfBandFilter::upsampleStereo (HalfBandFilter& left, HalfBandFilter& right,
                                     const float* inputLeft, const float* inputRight,
                                     float* outputLeft, float* outputRight) noexcept
{
    left.upsample (inputLeft, outputLeft);
    right.upsample (inputRight, outputRight);
}

void HalfBandFilter::downsampleStereo (HalfBandFilter& left, HalfBandFilter& right,
                                       const float* inputLeft, const float* inputRight,
                                       float* outputLeft, float* outputRight) noexcept
{
    left.downsample (inputLeft, outputLeft);
    right.downsample (inputRight, outputRight);
}

#endif
