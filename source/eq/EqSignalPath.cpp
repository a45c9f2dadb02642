#include "EqSignalPath.h"
#include "LinearCongruentialRandom.h"

#include <emmintrin.h>

#include <type_traits>

namespace
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
    void colourChunk (const Channels& io, int start, int length, __m128 gain,
                      DrawStrands& strands0State, DrawStrands& strands1State,
                      std::uint64_t* draws, double* out) noexcept
    {
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

    //==============================================================================
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
        // the slots turned so that they stay in phase with the rest).
        const auto step = [&] (auto phase, int t, int first, int last)
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

    constexpr int maxGroups = 3;
    constexpr int linkStride = 2 * (EqSignalPath::chunkSize + 2);

    struct BlockPlan
    {
        Coefficients coefficients[EqDesign::numSections];
        SectionLanes lanes[EqDesign::numSections];
        int numActive = 0;
        int numGroups = 0;
        int groupStart[maxGroups + 1] {};
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

    template <bool stereo>
    void runBlock (BlockPlan& plan, Allpass& allpass, const Channels& io, int numSamples, __m128 gain,
                   DrawStrands strands0, DrawStrands strands1, double* links, std::uint64_t* draws) noexcept
    {
        const int warmUp = std::min (2, numSamples);

        for (int n = 0; n < warmUp; ++n)
            runPlainSample<stereo> (plan, allpass, io, n, gain, strands0, strands1);

        if (numSamples == warmUp)
            return;

        // Link g feeds group g (link 0 holds the coloured input); in front of each chunk it
        // holds the two samples the group's first section saw last.
        const int numGroups = std::max (1, plan.numGroups);

        for (int g = 0; g < plan.numGroups; ++g)
        {
            double* link = links + g * linkStride;
            const auto& first = plan.lanes[plan.groupStart[g]];
            _mm_store_pd (link, first.x2);
            _mm_store_pd (link + 2, first.x1);
        }

        for (int start = warmUp; start < numSamples; start += EqSignalPath::chunkSize)
        {
            const int length = std::min (EqSignalPath::chunkSize, numSamples - start);
            double* colouredIn = links + 4;

            colourChunk<stereo> (io, start, length, gain, strands0, strands1, draws, colouredIn);

            const Channels chunkIo { io.channel0 + start, stereo ? io.channel1 + start : nullptr };

            for (int g = 0; g < numGroups; ++g)
            {
                // The last group also runs the allpass; with no section active that is all it runs.
                const bool last = g + 1 == numGroups;
                const int first = plan.groupStart[g];
                const int size = plan.groupStart[g + 1] - first;
                const GroupIo groupIo { links + g * linkStride + 4, last ? nullptr : links + (g + 1) * linkStride + 4,
                                        chunkIo, length };

                runGroupOf<stereo> (size, last, plan.coefficients + first, plan.lanes + first, allpass, groupIo);
            }

            // Carry each link's last two samples in front of the next chunk.
            for (int g = 0; g < numGroups; ++g)
            {
                double* link = links + g * linkStride;
                _mm_store_pd (link, _mm_load_pd (link + 4 + 2 * (length - 2)));
                _mm_store_pd (link + 2, _mm_load_pd (link + 4 + 2 * (length - 1)));
            }
        }

        // Back to each section's own input memory: the previous section's output, or the
        // last two coloured samples for the first one.
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
}

//==============================================================================
EqSignalPath::EqSignalPath() noexcept = default;

void EqSignalPath::clearAllpass() noexcept
{
    allpass = {};
}

std::array<double, 4> EqSignalPath::getSectionState (int channel, int section) const noexcept
{
    const auto& s = sections[(size_t) section];
    const auto c = (size_t) channel;
    return { s.x1[c], s.x2[c], s.y1[c], s.y2[c] };
}

std::array<float, 2> EqSignalPath::getAllpassState (int channel) const noexcept
{
    return { allpass.x1[channel], allpass.y1[channel] };
}

void EqSignalPath::process (float* channel0, float* channel1, int numSamples,
                            const EqDesign& design, juce::int64& randomState) noexcept
{
    if (numSamples <= 0)
        return;

    const bool stereo = channel1 != nullptr;

    // A mono block runs lane 1 from silence, so it stays exactly zero, and never writes it back.
    const __m128d laneMask = _mm_castsi128_pd (stereo ? _mm_set1_epi32 (-1) : _mm_set_epi32 (0, 0, -1, -1));

    // The active sections in their fixed order; the design holds for the whole block.
    BlockPlan plan;
    int activeSection[EqDesign::numSections];

    const auto add = [&] (int section)
    {
        const auto& c = design.sections[(size_t) section];
        const auto& s = sections[(size_t) section];
        plan.coefficients[plan.numActive] = { _mm_set1_pd (c.b0), _mm_set1_pd (c.b1), _mm_set1_pd (c.b2),
                                              _mm_set1_pd (c.a1), _mm_set1_pd (c.a2) };
        plan.lanes[plan.numActive] = { _mm_and_pd (_mm_load_pd (s.x1), laneMask), _mm_and_pd (_mm_load_pd (s.x2), laneMask),
                                       _mm_and_pd (_mm_load_pd (s.y1), laneMask), _mm_and_pd (_mm_load_pd (s.y2), laneMask) };
        activeSection[plan.numActive++] = section;
    };

    if (! design.bypassed)
    {
        if (design.filtersEnabled && design.lowCutEnabled)   add (EqDesign::highPass);
        if (design.lfEnabled)                                { add (EqDesign::lfShelf); add (EqDesign::lfBell); }
        if (design.filtersEnabled && design.highCutEnabled)  add (EqDesign::lowPass);
        if (design.hfEnabled)                                { add (EqDesign::hfShelf); add (EqDesign::hfBell); }
        if (design.lmfEnabled)                               add (EqDesign::lmfPeak);
        if (design.mfEnabled)                                add (EqDesign::mfPeak);
        if (design.hmfEnabled)                               add (EqDesign::hmfPeak);
    }

    // Groups of at most three sections, as even as possible (three keep every group's
    // state in registers and still give enough independent work per step).
    plan.numGroups = (plan.numActive + 2) / 3;

    for (int g = 0; g <= plan.numGroups; ++g)
        plan.groupStart[g] = plan.numGroups == 0 ? 0 : (g * plan.numActive) / plan.numGroups;

    const auto state = (std::uint64_t) randomState;
    const auto drawsPerChannel = 3 * (std::uint64_t) numSamples;

    // A mono block's lane 1 starts from silence too.
    const __m128 allpassLanes = _mm_castsi128_ps (stereo ? _mm_set_epi32 (0, 0, -1, -1) : _mm_set_epi32 (0, 0, 0, -1));
    Allpass ap { _mm_set1_ps (design.allpassCoefficient),
                 _mm_and_ps (_mm_load_ps (allpass.x1), allpassLanes),
                 _mm_and_ps (_mm_load_ps (allpass.y1), allpassLanes) };

    const Channels io { channel0, channel1 };
    const __m128 gain = _mm_set1_ps (design.outgainFactor);
    const auto strands0 = DrawStrands::at (state, 0);
    const auto strands1 = DrawStrands::at (state, drawsPerChannel);

    if (stereo)
        runBlock<true> (plan, ap, io, numSamples, gain, strands0, strands1, links.data(), draws.data());
    else
        runBlock<false> (plan, ap, io, numSamples, gain, strands0, strands1, links.data(), draws.data());

    for (int k = 0; k < plan.numActive; ++k)
    {
        auto& s = sections[(size_t) activeSection[k]];
        const auto& l = plan.lanes[k];

        if (stereo)
        {
            _mm_store_pd (s.x1, l.x1);
            _mm_store_pd (s.x2, l.x2);
            _mm_store_pd (s.y1, l.y1);
            _mm_store_pd (s.y2, l.y2);
        }
        else
        {
            _mm_storel_pd (s.x1, l.x1);
            _mm_storel_pd (s.x2, l.x2);
            _mm_storel_pd (s.y1, l.y1);
            _mm_storel_pd (s.y2, l.y2);
        }
    }

    alignas (16) float x1[4], y1[4];
    _mm_store_ps (x1, ap.x1);
    _mm_store_ps (y1, ap.y1);

    for (int c = 0; c < (stereo ? 2 : 1); ++c)
    {
        allpass.x1[c] = x1[c];
        allpass.y1[c] = y1[c];
    }

    const auto totalDraws = drawsPerChannel * (stereo ? 2u : 1u);
    randomState = (juce::int64) (Lcg::jumpOf (totalDraws).apply (state) & Lcg::stateMask);
}
