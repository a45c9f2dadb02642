#pragma once

#include "EqKernels.h"

namespace EqKernels
{
    /** A mono block with K active sections (K ≥ 1). The two lanes carry neighbouring
        sections instead of two channels: pair p holds section 2p in lane 0 and 2p + 1 in
        lane 1 (a spare lane with zero coefficients when K is odd). Pipelining makes them
        independent: in step s section k handles sample s − k, so both lanes take their
        inputs from the previous step. The allpass is stage K. The pipeline runs through
        the whole block, chunk after chunk of coloured input, and fills and drains once.
    */
    template <int K>
    void runMonoPipeline (BlockPlan& plan, Allpass& allpassState, float* channel, int first, int numSamples,
                          __m128 gain, DrawStrands& strandsState, double* link, std::uint64_t* draws) noexcept
    {
        constexpr size_t numPairs = (K + 1) / 2;
        const __m128d zero = _mm_setzero_pd();

        Allpass allpass = allpassState;
        DrawStrands strands = strandsState, unused {};
        Coefficients c[numPairs];
        __m128d v[numPairs][3]; // per pair the newest three outputs, slots turning as in runGroup

        for (int p = 0; p < (int) numPairs; ++p)
        {
            const bool full = 2 * p + 1 < K;
            const auto& a = plan.coefficients[2 * p];
            const auto& b = plan.coefficients[full ? 2 * p + 1 : 2 * p];
            const auto pair = [&] (__m128d lane0, __m128d lane1) { return _mm_unpacklo_pd (lane0, full ? lane1 : zero); };

            c[p] = { pair (a.b0, b.b0), pair (a.b1, b.b1), pair (a.b2, b.b2), pair (a.a1, b.a1), pair (a.a2, b.a2) };

            const auto& sa = plan.lanes[2 * p];
            const auto& sb = plan.lanes[full ? 2 * p + 1 : 2 * p];
            v[p][0] = pair (sa.y1, sb.y1);
            v[p][2] = pair (sa.y2, sb.y2);
            v[p][1] = zero;
        }

        int chunkStart = 0, lastInput = 0;
        const double* in = link + 4; // coloured sample s at in[2 (s − chunkStart)], lane 0
        const auto input = [&] (int s) { return _mm_load_sd (in + 2 * (s - chunkStart)); };

        const auto step = [&] (auto phase, int s, bool edge) __attribute__ ((always_inline))
        {
            constexpr int newest = decltype (phase)::value;
            constexpr int previous = (newest + 2) % 3;
            constexpr int oldest = (newest + 1) % 3;

            if (! edge || (s - K >= 0 && s - K < numSamples))
            {
                const __m128d last = v[(K - 1) / 2][newest];
                const __m128d x = (K - 1) % 2 == 0 ? last : _mm_unpackhi_pd (last, last);
                _mm_store_ss (channel + first + s - K, allpass.run (x));
            }

#pragma GCC unroll 8
            for (int p = (int) numPairs - 1; p >= 0; --p)
            {
                __m128d x, x1, x2;

                if (p == 0)
                {
                    // Section 0 reads the coloured input (a harmless value once it has run out).
                    const int n = edge ? std::min (s, lastInput) : s;
                    x = _mm_unpacklo_pd (input (n), v[0][newest]);
                    x1 = _mm_unpacklo_pd (input (n - 1), v[0][previous]);
                    x2 = _mm_unpacklo_pd (input (n - 2), v[0][oldest]);
                }
                else
                {
                    x = _mm_shuffle_pd (v[p - 1][newest], v[p][newest], 1);
                    x1 = _mm_shuffle_pd (v[p - 1][previous], v[p][previous], 1);
                    x2 = _mm_shuffle_pd (v[p - 1][oldest], v[p][oldest], 1);
                }

                const __m128d y = runSection (c[p], x, x1, x2, v[p][newest], v[p][previous]);

                if (! edge)
                {
                    v[p][oldest] = y;
                    continue;
                }

                // While filling and draining a lane whose section has no sample keeps its
                // outputs, with its slots turned to stay in phase.
                const bool on0 = s - 2 * p >= 0 && s - 2 * p < numSamples;
                const bool on1 = s - 2 * p - 1 >= 0 && s - 2 * p - 1 < numSamples;
                const __m128d mask = _mm_castsi128_pd (_mm_set_epi64x (on1 ? -1 : 0, on0 ? -1 : 0));
                const auto pick = [mask] (__m128d a, __m128d b) { return _mm_or_pd (_mm_and_pd (mask, a), _mm_andnot_pd (mask, b)); };
                const __m128d a = v[p][newest], b = v[p][previous], o = v[p][oldest];
                v[p][oldest] = pick (y, a);
                v[p][newest] = pick (a, b);
                v[p][previous] = pick (b, o);
            }
        };

        int s = 0;

        for (; chunkStart < numSamples; chunkStart += EqSignalPath::chunkSize)
        {
            const int length = std::min (EqSignalPath::chunkSize, numSamples - chunkStart);
            const int end = chunkStart + length;
            lastInput = end - 1;
            colourChunk<false> ({ channel, nullptr }, first + chunkStart, length, gain, strands, unused, draws, link + 4);

            for (; s < std::min (K, end); ++s)
                withPhase (s % 3, [&] (auto phase) { step (phase, s, true); });

            for (; s < end && s % 3 != 0; ++s)
                withPhase (s % 3, [&] (auto phase) { step (phase, s, false); });

            for (; s + 3 <= end; s += 3)
            {
                step (std::integral_constant<int, 0>(), s, false);
                step (std::integral_constant<int, 1>(), s + 1, false);
                step (std::integral_constant<int, 2>(), s + 2, false);
            }

            for (; s < end; ++s)
                withPhase (s % 3, [&] (auto phase) { step (phase, s, false); });

            if (end < numSamples)
                carryLinkHistory (link, length);
            else
                break;
        }

        for (; s < numSamples + K; ++s)
            withPhase (s % 3, [&] (auto phase) { step (phase, s, true); });

        carryLinkHistory (link, lastInput - chunkStart + 1);

        withPhase (s % 3, [&] (auto phase)
        {
            constexpr int newest = decltype (phase)::value;
            constexpr int previous = (newest + 2) % 3;

            for (int k = 0; k < K; ++k)
            {
                const __m128d y1 = v[k / 2][newest], y2 = v[k / 2][previous];
                plan.lanes[k].y1 = k % 2 == 0 ? y1 : _mm_unpackhi_pd (y1, y1);
                plan.lanes[k].y2 = k % 2 == 0 ? y2 : _mm_unpackhi_pd (y2, y2);
            }
        });

        allpassState = allpass;
        strandsState = strands;
    }

} // namespace EqKernels
