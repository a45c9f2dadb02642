#include "EqSignalPath.h"
#include "LinearCongruentialRandom.h"

#include <emmintrin.h>

namespace
{
    using Lcg = LinearCongruentialRandom;

    // The colouring's factors with the draws' 2^-32 folded in: scaling by a power of two
    // is exact, so (u · 2^-32) · k and u · (k · 2^-32) are the same double.
    constexpr double squareFactor = 2.869e-5 * Lcg::drawScale;
    constexpr double cubeFactor = 2.629e-6 * Lcg::drawScale;
    constexpr double fifthFactor = 1.952e-5 * Lcg::drawScale;

    constexpr Lcg::Jump threeSteps = Lcg::jumpOf (3);

    /** One channel's draws as three strands (r1, r2, r3 of each sample), each jumping three
        steps per sample, so they do not wait on one another. */
    struct DrawStrands
    {
        std::uint64_t s1, s2, s3;

        /** Positioned at the block's draw number `first` (counted from `state`). */
        static DrawStrands at (std::uint64_t state, std::uint64_t first) noexcept
        {
            const auto s0 = Lcg::jumpOf (first).apply (state);
            const auto a = Lcg::step (s0);
            const auto b = Lcg::step (a);
            return { a, b, Lcg::step (b) };
        }

        /** x + r1·2.869e-5·x² + r2·2.629e-6·x³ + r3·1.952e-5·x⁵, r drawn in this order. */
        double colour (double x) noexcept
        {
            const double u1 = (double) Lcg::output (s1);
            const double u2 = (double) Lcg::output (s2);
            const double u3 = (double) Lcg::output (s3);
            s1 = threeSteps.apply (s1);
            s2 = threeSteps.apply (s2);
            s3 = threeSteps.apply (s3);

            const double x2 = x * x;
            const double x3 = x2 * x;
            const double x5 = x3 * x2;
            return x + u1 * squareFactor * x2 + u2 * cubeFactor * x3 + u3 * fifthFactor * x5;
        }
    };

    struct Coefficients
    {
        __m128d b0, b1, b2, a1, a2;
    };

    struct Lanes
    {
        __m128d x1, x2, y1, y2;
    };

    /** Direct form I, y = b0·x + b1·x1 + b2·x2 − a1·y1 − a2·y2 summed in this order. */
    inline __m128d runSection (const Coefficients& c, Lanes& s, __m128d x) noexcept
    {
        const __m128d y = _mm_sub_pd (_mm_sub_pd (_mm_add_pd (_mm_add_pd (_mm_mul_pd (c.b0, x),
                                                                          _mm_mul_pd (c.b1, s.x1)),
                                                              _mm_mul_pd (c.b2, s.x2)),
                                                  _mm_mul_pd (c.a1, s.y1)),
                                      _mm_mul_pd (c.a2, s.y2));
        s.x2 = s.x1;
        s.x1 = x;
        s.y2 = s.y1;
        s.y1 = y;
        return y;
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

    template <bool stereo>
    inline void storeOutput (__m128 y, float* channel0, float* channel1, int n) noexcept
    {
        _mm_store_ss (channel0 + n, y);

        if constexpr (stereo)
            _mm_store_ss (channel1 + n, _mm_shuffle_ps (y, y, _MM_SHUFFLE (1, 1, 1, 1)));
    }

    struct BlockContext
    {
        float* channel0;
        float* channel1;
        int numSamples;
        float outgain;
        double* coloured;
        DrawStrands strands0, strands1;
    };

    /** Colours samples [start, start + length) into the interleaved buffer. */
    template <bool stereo>
    void colourChunk (BlockContext& b, int start, int length) noexcept
    {
        for (int i = 0; i < length; ++i)
            b.coloured[2 * i] = b.strands0.colour ((double) (b.channel0[start + i] * b.outgain));

        for (int i = 0; i < length; ++i)
            b.coloured[2 * i + 1] = stereo ? b.strands1.colour ((double) (b.channel1[start + i] * b.outgain)) : 0.0;
    }

    /** The pipelined pass over one block with K active sections. Stage k < K is section k,
        stage K the allpass; in step t stage k handles sample t − k. */
    template <int K, bool stereo>
    void runBlock (BlockContext& b, const Coefficients* coefficients,
                   EqSignalPath::SectionState* const* states, Allpass& allpass) noexcept
    {
        constexpr size_t numStages = K + 1;
        Lanes lanes[numStages]; // one spare so K = 0 needs no special case
        const __m128d laneMask = stereo ? _mm_castsi128_pd (_mm_set1_epi32 (-1))
                                        : _mm_castsi128_pd (_mm_set_epi32 (0, 0, -1, -1));

        for (int k = 0; k < K; ++k)
        {
            // A mono block runs lane 1 from silence and never writes it back.
            lanes[k].x1 = _mm_and_pd (_mm_load_pd (states[k]->x1), laneMask);
            lanes[k].x2 = _mm_and_pd (_mm_load_pd (states[k]->x2), laneMask);
            lanes[k].y1 = _mm_and_pd (_mm_load_pd (states[k]->y1), laneMask);
            lanes[k].y2 = _mm_and_pd (_mm_load_pd (states[k]->y2), laneMask);
        }

        const int n = b.numSamples;
        int chunkStart = 0;

        const auto stepWithEdges = [&] (int t)
        {
            const __m128d input = t < n ? _mm_load_pd (b.coloured + 2 * (t - chunkStart)) : _mm_setzero_pd();

            for (int k = K; k >= 0; --k)
            {
                const int sample = t - k;

                if (sample < 0 || sample >= n)
                    continue;

                const __m128d x = k == 0 ? input : lanes[k - 1].y1;

                if (k == K)
                    storeOutput<stereo> (allpass.run (x), b.channel0, b.channel1, sample);
                else
                    runSection (coefficients[k], lanes[k], x);
            }
        };

        while (chunkStart < n)
        {
            const int length = std::min (EqSignalPath::chunkSize, n - chunkStart);
            const int chunkEnd = chunkStart + length;
            colourChunk<stereo> (b, chunkStart, length);

            int t = chunkStart;

            for (; t < std::min (K, chunkEnd); ++t)
                stepWithEdges (t);

            for (; t < chunkEnd; ++t)
            {
                const __m128d input = _mm_load_pd (b.coloured + 2 * (t - chunkStart));

                storeOutput<stereo> (allpass.run (K == 0 ? input : lanes[K == 0 ? 0 : K - 1].y1),
                                     b.channel0, b.channel1, t - K);

#pragma GCC unroll 16
                for (int k = K - 1; k > 0; --k)
                    runSection (coefficients[k], lanes[k], lanes[k - 1].y1);

                if constexpr (K > 0)
                    runSection (coefficients[0], lanes[0], input);
            }

            chunkStart = chunkEnd;
        }

        for (int t = n; t < n + K; ++t)
            stepWithEdges (t);

        for (int k = 0; k < K; ++k)
        {
            if constexpr (stereo)
            {
                _mm_store_pd (states[k]->x1, lanes[k].x1);
                _mm_store_pd (states[k]->x2, lanes[k].x2);
                _mm_store_pd (states[k]->y1, lanes[k].y1);
                _mm_store_pd (states[k]->y2, lanes[k].y2);
            }
            else
            {
                _mm_storel_pd (states[k]->x1, lanes[k].x1);
                _mm_storel_pd (states[k]->x2, lanes[k].x2);
                _mm_storel_pd (states[k]->y1, lanes[k].y1);
                _mm_storel_pd (states[k]->y2, lanes[k].y2);
            }
        }
    }

    template <bool stereo>
    void dispatch (int numActive, BlockContext& b, const Coefficients* c,
                   EqSignalPath::SectionState* const* s, Allpass& a) noexcept
    {
        switch (numActive)
        {
            case 0: runBlock<0, stereo> (b, c, s, a); break;
            case 1: runBlock<1, stereo> (b, c, s, a); break;
            case 2: runBlock<2, stereo> (b, c, s, a); break;
            case 3: runBlock<3, stereo> (b, c, s, a); break;
            case 4: runBlock<4, stereo> (b, c, s, a); break;
            case 5: runBlock<5, stereo> (b, c, s, a); break;
            case 6: runBlock<6, stereo> (b, c, s, a); break;
            case 7: runBlock<7, stereo> (b, c, s, a); break;
            case 8: runBlock<8, stereo> (b, c, s, a); break;
            default: runBlock<9, stereo> (b, c, s, a); break;
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

    // The active sections in their fixed order; the design holds for the whole block.
    Coefficients coefficients[EqDesign::numSections];
    SectionState* states[EqDesign::numSections];
    int numActive = 0;

    const auto add = [&] (int section)
    {
        const auto& c = design.sections[(size_t) section];
        coefficients[numActive] = { _mm_set1_pd (c.b0), _mm_set1_pd (c.b1), _mm_set1_pd (c.b2),
                                    _mm_set1_pd (c.a1), _mm_set1_pd (c.a2) };
        states[numActive] = &sections[(size_t) section];
        ++numActive;
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

    const auto state = (std::uint64_t) randomState;
    const auto drawsPerChannel = 3 * (std::uint64_t) numSamples;
    const bool stereo = channel1 != nullptr;

    BlockContext block { channel0, channel1, numSamples, design.outgainFactor, coloured.data(),
                         DrawStrands::at (state, 0), DrawStrands::at (state, drawsPerChannel) };

    Allpass ap { _mm_set1_ps (design.allpassCoefficient), _mm_load_ps (allpass.x1), _mm_load_ps (allpass.y1) };

    if (stereo)
        dispatch<true> (numActive, block, coefficients, states, ap);
    else
        dispatch<false> (numActive, block, coefficients, states, ap);

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
