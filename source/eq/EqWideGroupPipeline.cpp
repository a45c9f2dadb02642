// The four-lane kernels, for x86 with GCC or Clang, which compile single functions for AVX
// while the rest of the build stays at the SSE2 baseline. Other processors run the plain
// loop: for them this file is empty.
#if defined (__x86_64__) || defined (__i386__) || defined (_M_X64)
#include "EqWideGroupPipeline.h"

#if defined (__GNUC__)
 #define VELORA_EQ_WIDE 1
#else
 #define VELORA_EQ_WIDE 0
#endif

#if VELORA_EQ_WIDE
 #include <immintrin.h>

// Everything below is compiled for AVX, and only what is below: the headers above keep their
// baseline code, so no shared inline function can come out of this file with AVX in it.
// AVX alone brings no fused multiply-add, and contraction is off anyway: every add, sub and
// mul rounds as the two-lane code's does.
 #if defined (__clang__)
  #pragma clang attribute push (__attribute__ ((target ("avx"))), apply_to = function)
 #else
  #pragma GCC push_options
  #pragma GCC target ("avx")
 #endif

namespace EqKernels
{
namespace
{
    constexpr int groupLimit = maxWideGroupSize;

   #include "EqWideGroupSteps.h"
}

void runWideGroup (int size, bool withAllpass, const Coefficients* c, SectionLanes* s,
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

bool EqKernels::wideKernelsAvailable() noexcept
{
    // Checks the processor and that the system saves the wide registers.
    __builtin_cpu_init();
    return __builtin_cpu_supports ("avx") != 0;
}

#else

bool EqKernels::wideKernelsAvailable() noexcept
{
    return false;
}

void EqKernels::runWideGroup (int, bool, const Coefficients*, SectionLanes*, Allpass&, const GroupIo&) noexcept
{
    // Never called: without wide kernels every block runs the two-lane groups.
}

#endif

#endif
