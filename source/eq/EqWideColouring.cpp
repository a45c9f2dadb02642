#include "EqWideColouring.h"

// Built for x86 with GCC or Clang, which compile single functions for AVX2 (see
// EqWideGroupPipeline.cpp for why only what follows the headers is).
#if (defined (__x86_64__) || defined (__i386__)) && defined (__GNUC__)
 #define VELORA_EQ_WIDE_COLOURING 1
#else
 #define VELORA_EQ_WIDE_COLOURING 0
#endif

#if VELORA_EQ_WIDE_COLOURING
 #include <immintrin.h>

 #if defined (__clang__)
  #pragma clang attribute push (__attribute__ ((target ("avx2"))), apply_to = function)
 #else
  #pragma GCC push_options
  #pragma GCC target ("avx2")
 #endif

namespace EqKernels
{
namespace
{
    // Four samples on, as a jump of the shifted states (see threeSteps).
    constexpr Lcg::Jump fourSamples { Lcg::jumpOf (12).a, Lcg::jumpOf (12).c << 16 };

    /** a · t + c (mod 2^64) per lane, from 32-bit products. */
    inline __m256i jump (__m256i t) noexcept
    {
        const __m256i aLow = _mm256_set1_epi64x ((long long) (fourSamples.a & 0xffffffffULL));
        const __m256i aHigh = _mm256_set1_epi64x ((long long) (fourSamples.a >> 32));
        const __m256i low = _mm256_mul_epu32 (t, aLow);
        const __m256i cross = _mm256_add_epi64 (_mm256_mul_epu32 (t, aHigh), _mm256_mul_epu32 (_mm256_srli_epi64 (t, 32), aLow));
        return _mm256_add_epi64 (_mm256_add_epi64 (low, _mm256_slli_epi64 (cross, 32)),
                                 _mm256_set1_epi64x ((long long) fourSamples.c));
    }

    /** The draws of four lanes, from their shifted states, as doubles (see drawnValues). */
    inline __m256d drawn (__m256i t) noexcept
    {
        const __m256i bits = _mm256_or_si256 (_mm256_srli_epi64 (t, 32), _mm256_set1_epi64x ((long long) twoPow52Bits));
        return _mm256_sub_pd (_mm256_castsi256_pd (bits), _mm256_set1_pd (4503599627370496.0));
    }

    /** colour() on four lanes: the same operations in the same order. */
    inline __m256d colourLanes (__m256d x, __m256d u1, __m256d u2, __m256d u3) noexcept
    {
        const __m256d x2 = _mm256_mul_pd (x, x);
        const __m256d x3 = _mm256_mul_pd (x2, x);
        const __m256d x5 = _mm256_mul_pd (x3, x2);
        const __m256d t1 = _mm256_mul_pd (_mm256_mul_pd (u1, _mm256_set1_pd (squareFactor)), x2);
        const __m256d t2 = _mm256_mul_pd (_mm256_mul_pd (u2, _mm256_set1_pd (cubeFactor)), x3);
        const __m256d t3 = _mm256_mul_pd (_mm256_mul_pd (u3, _mm256_set1_pd (fifthFactor)), x5);
        return _mm256_add_pd (_mm256_add_pd (_mm256_add_pd (x, t1), t2), t3);
    }

    /** Lanes: channel 0 and 1 at a sample, then both at the next one. */
    inline __m256i lanes (std::uint64_t a0, std::uint64_t a1, std::uint64_t b0, std::uint64_t b1) noexcept
    {
        return _mm256_set_epi64x ((long long) b1, (long long) b0, (long long) a1, (long long) a0);
    }
}

int colourChunkWide (const Channels& channels, int start, int length, __m128 gain,
                     DrawStrands& strands0, DrawStrands& strands1, double* out) noexcept
{
    const int done = length - length % 4;

    if (done == 0)
        return 0;

    const float* const left = channels.channel0 + start;
    const float* const right = channels.channel1 + start;

    // Per draw r1, r2, r3: the strands at samples i, i + 1 and at i + 2, i + 3.
    __m256i near[3], far[3];

    {
        const std::uint64_t s0[3] = { strands0.t1, strands0.t2, strands0.t3 };
        const std::uint64_t s1[3] = { strands1.t1, strands1.t2, strands1.t3 };

        for (int k = 0; k < 3; ++k)
        {
            std::uint64_t c0[4] = { s0[k] }, c1[4] = { s1[k] };

            for (int n = 1; n < 4; ++n)
            {
                c0[n] = threeSteps.apply (c0[n - 1]);
                c1[n] = threeSteps.apply (c1[n - 1]);
            }

            near[k] = lanes (c0[0], c1[0], c0[1], c1[1]);
            far[k] = lanes (c0[2], c1[2], c0[3], c1[3]);
        }
    }

    const auto input = [left, right, gain] (int i)
    {
        const __m128 l = _mm_castpd_ps (_mm_load_sd (reinterpret_cast<const double*> (left + i)));
        const __m128 r = _mm_castpd_ps (_mm_load_sd (reinterpret_cast<const double*> (right + i)));
        return _mm256_cvtps_pd (_mm_mul_ps (_mm_unpacklo_ps (l, r), gain));
    };

    for (int i = 0; i < done; i += 4)
    {
        _mm256_storeu_pd (out + 2 * i, colourLanes (input (i), drawn (near[0]), drawn (near[1]), drawn (near[2])));
        _mm256_storeu_pd (out + 2 * i + 4, colourLanes (input (i + 2), drawn (far[0]), drawn (far[1]), drawn (far[2])));

        for (int k = 0; k < 3; ++k)
        {
            near[k] = jump (near[k]);
            far[k] = jump (far[k]);
        }
    }

    alignas (32) std::uint64_t next[3][4];

    for (int k = 0; k < 3; ++k)
        _mm256_store_si256 (reinterpret_cast<__m256i*> (next[k]), near[k]);

    strands0 = { next[0][0], next[1][0], next[2][0] };
    strands1 = { next[0][1], next[1][1], next[2][1] };
    return done;
}

} // namespace EqKernels

 #if defined (__clang__)
  #pragma clang attribute pop
 #else
  #pragma GCC pop_options
 #endif

bool EqKernels::wideColouringAvailable() noexcept
{
    __builtin_cpu_init();
    return __builtin_cpu_supports ("avx2") != 0;
}

#else

bool EqKernels::wideColouringAvailable() noexcept
{
    return false;
}

int EqKernels::colourChunkWide (const Channels&, int, int, __m128, DrawStrands&, DrawStrands&, double*) noexcept
{
    return 0; // never called: without AVX2 every chunk is coloured two lanes at a time
}

#endif
