// As EqWideColouring.cpp, with AVX-512's 64-bit multiply and conversion on four-lane
// vectors (no 512-bit registers, so no wide work can lower the clock).
// On other processors the sample path has no vector kernels and this file adds nothing.
#if defined (__x86_64__) || defined (__i386__) || defined (_M_X64)
#include "EqWideColouring.h"

#if defined (__GNUC__)
 #define VELORA_EQ_LONG_PRODUCTS 1
#else
 #define VELORA_EQ_LONG_PRODUCTS 0
#endif

#if VELORA_EQ_LONG_PRODUCTS
 #include <immintrin.h>

 #if defined (__clang__)
  #pragma clang attribute push (__attribute__ ((target ("avx2,avx512f,avx512dq,avx512vl"))), apply_to = function)
 #else
  #pragma GCC push_options
  #pragma GCC target ("avx2,avx512f,avx512dq,avx512vl")
 #endif

namespace EqKernels
{
namespace
{
    /** a · t + c (mod 2^64) per lane. */
    inline __m256i jump (__m256i t) noexcept
    {
        return _mm256_add_epi64 (_mm256_mullo_epi64 (t, _mm256_set1_epi64x ((long long) fourSamples.a)),
                                 _mm256_set1_epi64x ((long long) fourSamples.c));
    }

    /** The draws of four lanes, from their shifted states, as doubles (exact: below 2^32). */
    inline __m256d drawn (__m256i t) noexcept
    {
        return _mm256_cvtepi64_pd (_mm256_srli_epi64 (t, 32));
    }

   #include "EqWideColouringLoop.h"
}

int colourChunkWithLongProducts (const Channels& channels, int start, int length, __m128 gain,
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

#else

int EqKernels::colourChunkWithLongProducts (const Channels&, int, int, __m128, DrawStrands&, DrawStrands&, double*) noexcept
{
    return 0; // never called: without AVX-512 the other kernels colour every chunk
}

#endif

#endif
