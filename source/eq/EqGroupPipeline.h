#pragma once

#include "EqKernels.h"

namespace EqKernels
{
    /** One group of up to three consecutive active sections (and, for the last group, the
        allpass), run over a chunk from one link buffer to the next.

        Link buffers hold a signal between two sections, two lanes per sample, with the
        two samples before the chunk in front (index −2 and −1). Inside the group, stage
        j handles sample t − j in step t, so the stages' recurrences overlap. Each section
        keeps the newest three values of its output: its own y1 and y2, and the x, x1, x2
        of the section after it, which therefore need no state of their own.
    */
    struct GroupIo
    {
        const double* in;   // sample n at in[2n], n from −2
        double* out;        // the same layout; unused when the allpass ends the group
        Channels channels;  // already offset to the chunk's first sample
        int length;
    };

    template <int M, bool withAllpass, bool stereo>
    void runGroup (const Coefficients* coefficients, SectionLanes* sections, Allpass& allpassState,
                   const GroupIo& io) noexcept
    {
        static_assert (M > 0 || withAllpass);
        constexpr int lastStage = withAllpass ? M : M - 1;

        // Local copies: the vector stores below may alias anything, which would otherwise
        // send the recurrences through memory.
        Allpass allpass = allpassState;

        // Each section's newest three outputs sit in three fixed slots; which slot is the
        // newest turns with the step (phase = step mod 3), so no value is ever moved. In
        // phase R the newest is slot R, the one before slot R + 2, the oldest slot R + 1,
        // which the new output replaces.
        __m128d v[(size_t) M + 1][3];

        for (int j = 0; j < M; ++j)
        {
            v[j][0] = sections[j].y1;
            v[j][2] = sections[j].y2;
            v[j][1] = _mm_setzero_pd();
        }

        const auto input = [&io] (int n) { return _mm_load_pd (io.in + 2 * n); };

        // One step t: stages first..last run, the others wait (keeping their outputs, with
        // the slots turned so that they stay in phase with the rest). Inlined by force: as a
        // call it would send the history through memory.
        const auto step = [&] (auto phase, int t, int first, int last) __attribute__ ((always_inline))
        {
            constexpr int newest = decltype (phase)::value;
            constexpr int previous = (newest + 2) % 3;
            constexpr int oldest = (newest + 1) % 3;

#pragma GCC unroll 8
            for (int j = lastStage; j >= 0; --j)
            {
                const int n = t - j;
                const bool active = j >= first && j <= last;

                if (withAllpass && j == M)
                {
                    if (active)
                        io.channels.store<stereo> (allpass.run (M == 0 ? input (n) : v[M == 0 ? 0 : M - 1][newest]), n);

                    continue;
                }

                auto& own = v[j];

                if (! active)
                {
                    const __m128d a = own[newest], b = own[previous], c = own[oldest];
                    own[oldest] = a;
                    own[newest] = b;
                    own[previous] = c;
                    continue;
                }

                const auto& in = v[j == 0 ? 0 : j - 1];
                const __m128d y = runSection (coefficients[j],
                                              j == 0 ? input (n) : in[newest],
                                              j == 0 ? input (n - 1) : in[previous],
                                              j == 0 ? input (n - 2) : in[oldest],
                                              own[newest], own[previous]);
                own[oldest] = y;

                if (! withAllpass && j == M - 1)
                    _mm_store_pd (io.out + 2 * n, y);
            }
        };

        const int length = io.length;
        int t = 0;

        // Filling: a stage waits until its first sample arrives.
        for (; t < std::min (lastStage, length); ++t)
            withPhase (t % 3, [&] (auto phase) { step (phase, t, 0, t); });

        for (; t < length && t % 3 != 0; ++t)
            withPhase (t % 3, [&] (auto phase) { step (phase, t, 0, lastStage); });

        for (; t + 3 <= length; t += 3)
        {
            step (std::integral_constant<int, 0>(), t, 0, lastStage);
            step (std::integral_constant<int, 1>(), t + 1, 0, lastStage);
            step (std::integral_constant<int, 2>(), t + 2, 0, lastStage);
        }

        for (; t < length; ++t)
            withPhase (t % 3, [&] (auto phase) { step (phase, t, 0, lastStage); });

        // Draining: the earlier stages have run out of samples.
        for (; t < length + lastStage; ++t)
            withPhase (t % 3, [&] (auto phase) { step (phase, t, t - length + 1, std::min (lastStage, t)); });

        withPhase (t % 3, [&] (auto phase)
        {
            constexpr int newest = decltype (phase)::value;

            for (int j = 0; j < M; ++j)
            {
                sections[j].y1 = v[j][newest];
                sections[j].y2 = v[j][(newest + 2) % 3];
            }
        });

        allpassState = allpass;
    }

    template <bool stereo>
    void runGroupOf (int size, bool withAllpass, const Coefficients* c, SectionLanes* s,
                     Allpass& a, const GroupIo& io) noexcept
    {
        if (withAllpass)
        {
            switch (size)
            {
                case 0:  runGroup<0, true, stereo> (c, s, a, io); break;
                case 1:  runGroup<1, true, stereo> (c, s, a, io); break;
                case 2:  runGroup<2, true, stereo> (c, s, a, io); break;
                default: runGroup<3, true, stereo> (c, s, a, io); break;
            }
        }
        else
        {
            switch (size)
            {
                case 1:  runGroup<1, false, stereo> (c, s, a, io); break;
                case 2:  runGroup<2, false, stereo> (c, s, a, io); break;
                default: runGroup<3, false, stereo> (c, s, a, io); break;
            }
        }
    }

} // namespace EqKernels
