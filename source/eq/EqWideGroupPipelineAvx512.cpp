// The wide groups again, compiled for AVX-512 VL: still four-lane vectors (no 512-bit work
// that could lower the clock), but thirty-two registers, which hold every section's state,
// so one group runs all of them. See EqWideGroupPipeline.cpp.
#if defined (__x86_64__) || defined (__i386__) || defined (_M_X64)
#include "EqWideGroupPipeline.h"

#if defined (__GNUC__)
 #define VELORA_EQ_WIDE_AVX512 1
#else
 #define VELORA_EQ_WIDE_AVX512 0
#endif

#if VELORA_EQ_WIDE_AVX512
 #include <immintrin.h>

// As there, only what follows the headers is compiled for the wider set, which brings no
// fused multiply-add into the arithmetic either (contraction is off).
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
    constexpr int groupLimit = maxWideGroupSizeAvx512;

   #include "EqWideGroupSteps.h"
}

void runWideGroupAvx512 (int size, bool withAllpass, const Coefficients* c, SectionLanes* s,
                         Allpass& a, const GroupIo& io) noexcept
{
    runWideGroupOf (size, withAllpass, c, s, a, io);
}

} // namespace EqKernels

 #if defined (__clang__)
  #pragma clang attribute pop
 #else
  #pragma GCC pop_options
 #endif

bool EqKernels::avx512Available() noexcept
{
    __builtin_cpu_init();
    return __builtin_cpu_supports ("avx512f") != 0 && __builtin_cpu_supports ("avx512dq") != 0
        && __builtin_cpu_supports ("avx512vl") != 0;
}

#else

bool EqKernels::avx512Available() noexcept
{
    return false;
}

void EqKernels::runWideGroupAvx512 (int, bool, const Coefficients*, SectionLanes*, Allpass&, const GroupIo&) noexcept
{
    // Never called: without AVX-512 the groups run on AVX or two lanes.
}

#endif

#endif
