#pragma once

#include "EqGroupPipeline.h"

namespace EqKernels
{
    /** The most sections one wide group takes: three vectors of two sections each. */
    constexpr int maxWideGroupSize = 6;

    /** With AVX-512 VL's registers one group takes every section. */
    constexpr int maxWideGroupSizeAvx512 = EqDesign::numSections;

    /** True when the processor and the system run AVX (asked once, at start-up). */
    bool wideKernelsAvailable() noexcept;

    /** True when they run AVX-512 F, DQ and VL too. */
    bool avx512Available() noexcept;

    /** runGroup for two channels on four-double vectors (AVX, no fused multiply-add): each
        vector holds two neighbouring sections of the group, lanes 0 and 1 the first one's
        channels 0 and 1, lanes 2 and 3 the second one's (a spare section with zero
        coefficients when the group's size is odd). The wavefront makes the two independent:
        the second section of a vector works two samples behind the first, so both take
        their input from earlier steps. size is 1 to maxWideGroupSize; the last group also
        runs the allpass.
        Only to be called where wideKernelsAvailable() is true. */
    void runWideGroup (int size, bool withAllpass, const Coefficients* coefficients, SectionLanes* sections,
                       Allpass& allpass, const GroupIo& io) noexcept;

    /** runWideGroup compiled for AVX-512 VL, on four-lane vectors still, for 1 to
        maxWideGroupSizeAvx512 sections. Only to be called where avx512Available(). */
    void runWideGroupAvx512 (int size, bool withAllpass, const Coefficients* coefficients, SectionLanes* sections,
                             Allpass& allpass, const GroupIo& io) noexcept;

} // namespace EqKernels
