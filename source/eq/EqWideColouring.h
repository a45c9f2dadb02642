#pragma once

#include "EqKernels.h"

namespace EqKernels
{
    /** The strands' jump of four samples: the recurrence of threeSteps, twelve steps on. */
    constexpr Lcg::Jump fourSamples { Lcg::jumpOf (12).a, Lcg::jumpOf (12).c << 16 };

    /** True when the processor and the system run AVX2 (asked once, at start-up). */
    bool wideColouringAvailable() noexcept;

    /** colourChunk for two channels with AVX2 (integer lanes of 64 bits, no fused
        multiply-add), four samples at a time: the strands run as vectors of both channels
        and two samples, jumping four samples per step, and each draw goes straight from
        its strand into the polynomial. Colours the first length − length mod 4 samples and
        returns how many; the strands are left at the first sample not coloured.
        Only to be called where wideColouringAvailable() is true. */
    int colourChunkWide (const Channels& channels, int start, int length, __m128 gain,
                         DrawStrands& strands0, DrawStrands& strands1, double* out) noexcept;

    /** colourChunkWide with the 64-bit products and conversions of AVX-512 DQ, still on
        four-lane vectors. Only to be called where avx512Available() (EqWideGroupPipeline.h). */
    int colourChunkWithLongProducts (const Channels& channels, int start, int length, __m128 gain,
                                     DrawStrands& strands0, DrawStrands& strands1, double* out) noexcept;

} // namespace EqKernels
