#pragma once

// The equaliser's vector building blocks (SSE2, two doubles per vector): the colouring's
// draws and polynomial, the direct form I section, the float allpass and the per-block
// plan. EqSignalPath's pipelines are made of these; every one keeps the operations and
// their order exactly as the plain per-sample loop has them.

#include "EqDesign.h"
#include "EqSignalPath.h"
#include "LinearCongruentialRandom.h"

#include <emmintrin.h>

#include <algorithm>
#include <cstdint>
#include <type_traits>

namespace EqKernels
{
    using Lcg = LinearCongruentialRandom;

    // The colouring's factors with the draws' 2^-32 folded in: scaling by a power of two
    // is exact, so (u · 2^-32) · k and u · (k · 2^-32) are the same double.
    constexpr double squareFactor = 2.869e-5 * Lcg::drawScale;
    constexpr double cubeFactor = 2.629e-6 * Lcg::drawScale;
    constexpr double fifthFactor = 1.952e-5 * Lcg::drawScale;

    // The strands run on t = state · 2^16 (mod 2^64): the same recurrence with the
    // increment scaled by 2^16, and a draw, bits 16..47 of the state, is simply t >> 32.
    constexpr Lcg::Jump threeSteps { Lcg::jumpOf (3).a, Lcg::jumpOf (3).c << 16 };

    // 2^52 as bits and as a double: (2^52 | u) − 2^52 is u, exactly, for any 32-bit u.
    constexpr std::uint64_t twoPow52Bits = 0x4330000000000000ULL;

    /** One channel's draws as three strands (r1, r2, r3 of each sample), each jumping three
        steps per sample, so they do not wait on one another. */
    struct DrawStrands
    {
        std::uint64_t t1, t2, t3;

        /** Positioned at the block's draw number `first` (counted from `state`). */
        static DrawStrands at (std::uint64_t state, std::uint64_t first) noexcept
        {
            const auto s0 = Lcg::jumpOf (first).apply (state);
            const auto a = Lcg::step (s0);
            const auto b = Lcg::step (a);
            return { a << 16, b << 16, Lcg::step (b) << 16 };
        }

        /** The next sample's three draws, as shifted states. */
        void next (std::uint64_t& d1, std::uint64_t& d2, std::uint64_t& d3) noexcept
        {
            d1 = t1;
            d2 = t2;
            d3 = t3;
            t1 = threeSteps.apply (t1);
            t2 = threeSteps.apply (t2);
            t3 = threeSteps.apply (t3);
        }

    };

    /** Two lanes' draws, from their shifted states, as doubles u (0 ≤ u < 2^32). */
    inline __m128d drawnValues (__m128i shiftedStates) noexcept
    {
        const __m128i bits = _mm_or_si128 (_mm_srli_epi64 (shiftedStates, 32), _mm_set1_epi64x ((long long) twoPow52Bits));
        return _mm_sub_pd (_mm_castsi128_pd (bits), _mm_set1_pd (4503599627370496.0));
    }

    /** x + r1·2.869e-5·x² + r2·2.629e-6·x³ + r3·1.952e-5·x⁵ per lane, u the raw draws. */
    inline __m128d colour (__m128d x, __m128d u1, __m128d u2, __m128d u3) noexcept
    {
        const __m128d x2 = _mm_mul_pd (x, x);
        const __m128d x3 = _mm_mul_pd (x2, x);
        const __m128d x5 = _mm_mul_pd (x3, x2);
        const __m128d t1 = _mm_mul_pd (_mm_mul_pd (u1, _mm_set1_pd (squareFactor)), x2);
        const __m128d t2 = _mm_mul_pd (_mm_mul_pd (u2, _mm_set1_pd (cubeFactor)), x3);
        const __m128d t3 = _mm_mul_pd (_mm_mul_pd (u3, _mm_set1_pd (fifthFactor)), x5);
        return _mm_add_pd (_mm_add_pd (_mm_add_pd (x, t1), t2), t3);
    }

    struct Coefficients
    {
        __m128d b0, b1, b2, a1, a2;
    };

    /** y = b0·x + b1·x1 + b2·x2 − a1·y1 − a2·y2, summed in this order (direct form I). */
    inline __m128d runSection (const Coefficients& c, __m128d x, __m128d x1, __m128d x2,
                               __m128d y1, __m128d y2) noexcept
    {
        return _mm_sub_pd (_mm_sub_pd (_mm_add_pd (_mm_add_pd (_mm_mul_pd (c.b0, x),
                                                               _mm_mul_pd (c.b1, x1)),
                                                   _mm_mul_pd (c.b2, x2)),
                                       _mm_mul_pd (c.a1, y1)),
                           _mm_mul_pd (c.a2, y2));
    }

    struct Allpass
    {
        __m128 c, x1, y1;

        /** y = c·y1 + (x1 − c·u) in float, per lane. */
        __m128 run (__m128d input) noexcept
        {
            const __m128 u = _mm_cvtpd_ps (input);
            const __m128 y = _mm_add_ps (_mm_mul_ps (c, y1), _mm_sub_ps (x1, _mm_mul_ps (c, u)));
            x1 = u;
            y1 = y;
            return y;
        }
    };

    /** A block's working state of one active section, both lanes. */
    struct SectionLanes
    {
        __m128d x1, x2, y1, y2;
    };

    struct Channels
    {
        float* channel0;
        float* channel1;

        template <bool stereo>
        void store (__m128 y, int n) const noexcept
        {
            _mm_store_ss (channel0 + n, y);

            if constexpr (stereo)
                _mm_store_ss (channel1 + n, _mm_shuffle_ps (y, y, _MM_SHUFFLE (1, 1, 1, 1)));
        }

        template <bool stereo>
        __m128d load (int n, __m128 gain) const noexcept
        {
            const __m128 left = _mm_load_ss (channel0 + n);
            const __m128 both = stereo ? _mm_unpacklo_ps (left, _mm_load_ss (channel1 + n)) : left;
            return _mm_cvtps_pd (_mm_mul_ps (both, gain));
        }
    };

    /** Draws and colours one sample of both lanes (lane 1 silent for a mono block). */
    template <bool stereo>
    inline __m128d colourSample (const Channels& io, int n, __m128 gain,
                                 DrawStrands& strands0, DrawStrands& strands1) noexcept
    {
        std::uint64_t a1, a2, a3, b1 = 0, b2 = 0, b3 = 0;
        strands0.next (a1, a2, a3);

        if constexpr (stereo)
            strands1.next (b1, b2, b3);

        const auto pair = [] (std::uint64_t lane0, std::uint64_t lane1)
        {
            return drawnValues (_mm_set_epi64x ((long long) lane1, (long long) lane0));
        };

        return colour (io.load<stereo> (n, gain), pair (a1, b1), pair (a2, b2), pair (a3, b3));
    }

    /** Colours a chunk in two passes: the strands' states first (integer work only, laid
        out as lane pairs), then the draws' conversion and the polynomial on both lanes. */
    template <bool stereo>
    void colourChunk (const Channels& channels, int start, int length, __m128 gain,
                      DrawStrands& strands0State, DrawStrands& strands1State,
                      std::uint64_t* draws, double* out) noexcept
    {
        const Channels io = channels; // a local copy: the stores below may alias the caller's
        auto strands0 = strands0State;
        auto strands1 = strands1State;

        for (int i = 0; i < length; ++i)
        {
            auto* d = draws + 6 * i;
            strands0.next (d[0], d[2], d[4]);

            if constexpr (stereo)
                strands1.next (d[1], d[3], d[5]);
            else
                d[1] = d[3] = d[5] = 0; // lane 1 of a mono block draws zeros
        }

        strands0State = strands0;
        strands1State = strands1;

        const auto drawn = [draws] (int index)
        {
            return drawnValues (_mm_load_si128 (reinterpret_cast<const __m128i*> (draws + 2 * index)));
        };

        for (int i = 0; i < length; ++i)
            _mm_store_pd (out + 2 * i, colour (io.load<stereo> (start + i, gain), drawn (3 * i), drawn (3 * i + 1), drawn (3 * i + 2)));
    }

    /** Calls f with the phase 0, 1 or 2 as a compile-time constant. */
    template <typename Function>
    inline void withPhase (int phase, Function&& f)
    {
        switch (phase)
        {
            case 0:  f (std::integral_constant<int, 0>()); break;
            case 1:  f (std::integral_constant<int, 1>()); break;
            default: f (std::integral_constant<int, 2>()); break;
        }
    }

    constexpr int maxGroups = 3;

    // A link buffer: two lanes per sample, the two samples before the chunk in front.
    constexpr int linkStride = 2 * (EqSignalPath::chunkSize + 2);

    /** One block's active sections in their order (coefficients in both lanes, state per
        lane) and, for two channels, their split into groups. */
    struct BlockPlan
    {
        Coefficients coefficients[EqDesign::numSections];
        SectionLanes lanes[EqDesign::numSections];
        int numActive = 0;
        int numGroups = 0;
        int groupStart[maxGroups + 1] {};
        bool wide = false;          // the groups run on four-lane vectors (EqWideGroupPipeline.h)
        bool wideColouring = false; // and the colouring (EqWideColouring.h)
        bool longProducts = false;  // with AVX-512: its 64-bit products, all sections in one group
    };

    /** The first samples of a block, one at a time through every stage: afterwards each
        section's x1, x2 equal the previous section's y1, y2, which the groups rely on. */
    template <bool stereo>
    void runPlainSample (BlockPlan& plan, Allpass& allpass, const Channels& io, int n, __m128 gain,
                         DrawStrands& strands0, DrawStrands& strands1) noexcept
    {
        __m128d x = colourSample<stereo> (io, n, gain, strands0, strands1);

        for (int k = 0; k < plan.numActive; ++k)
        {
            auto& s = plan.lanes[k];
            const __m128d y = runSection (plan.coefficients[k], x, s.x1, s.x2, s.y1, s.y2);
            s = { x, s.x1, y, s.y1 };
            x = y;
        }

        io.store<stereo> (allpass.run (x), n);
    }

    /** Back from the pipelined passes to each section's own input memory: the previous
        section's last outputs, or the last two coloured samples (link 0) for the first one. */
    inline void restoreInputMemory (BlockPlan& plan, const double* links) noexcept
    {
        for (int k = plan.numActive - 1; k >= 0; --k)
        {
            auto& s = plan.lanes[k];

            if (k > 0)
            {
                s.x1 = plan.lanes[k - 1].y1;
                s.x2 = plan.lanes[k - 1].y2;
            }
            else
            {
                s.x2 = _mm_load_pd (links);
                s.x1 = _mm_load_pd (links + 2);
            }
        }
    }

    /** Puts a link's last two samples of a chunk in front of the next one. */
    inline void carryLinkHistory (double* link, int length) noexcept
    {
        _mm_store_pd (link, _mm_load_pd (link + 4 + 2 * (length - 2)));
        _mm_store_pd (link + 2, _mm_load_pd (link + 4 + 2 * (length - 1)));
    }

} // namespace EqKernels
