// Built for x86 with GCC or Clang, which compile single functions for AVX2 (see
// EqWideGroupPipeline.cpp for why only what follows the headers is).
// On other processors the sample path has no vector kernels and this file adds nothing.
#if defined (__x86_64__) || defined (__i386__) || defined (_M_X64)
#include "EqWideColouring.h"

#if defined (__GNUC__)
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
    /** a · t + c (mod 2^64) per lane, the 64-bit product made of 32-bit ones. */
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

   #include "EqWideColouringLoop.h"
}

int colourChunkWide (const Channels& channels, int start, int length, __m128 gain,
                     DrawStrands& strands0, DrawStrands& strands1, double* out) noexcept
{
    return colourFourAtATime (channels, start, length, gain, strands0, strands1, out);
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

#endif
