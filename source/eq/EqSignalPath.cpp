#include "EqSignalPath.h"

#include <cmath>
#include "LinearCongruentialRandom.h"

#ifndef VELORA_EQ_SSE2
 #if defined (__SSE2__) || defined (_M_X64)
  #define VELORA_EQ_SSE2 1
 #else
  #define VELORA_EQ_SSE2 0
 #endif
#endif

#if VELORA_EQ_SSE2
#include "EqGroupPipeline.h"
#include "EqMonoPipeline.h"
#include "EqWideColouring.h"
#include "EqWideGroupPipeline.h"

using namespace EqKernels;

namespace
{
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

        if constexpr (! stereo)
        {
            if (plan.numActive > 0)
            {
                const auto mono = [&] (auto numActive)
                {
                    runMonoPipeline<decltype (numActive)::value> (plan, allpass, io.channel0, warmUp, numSamples - warmUp,
                                                                  gain, strands0, links, draws);
                };

                switch (plan.numActive)
                {
                    case 1:  mono (std::integral_constant<int, 1>()); break;
                    case 2:  mono (std::integral_constant<int, 2>()); break;
                    case 3:  mono (std::integral_constant<int, 3>()); break;
                    case 4:  mono (std::integral_constant<int, 4>()); break;
                    case 5:  mono (std::integral_constant<int, 5>()); break;
                    case 6:  mono (std::integral_constant<int, 6>()); break;
                    case 7:  mono (std::integral_constant<int, 7>()); break;
                    case 8:  mono (std::integral_constant<int, 8>()); break;
                    default: mono (std::integral_constant<int, 9>()); break;
                }

                restoreInputMemory (plan, links);
                return;
            }
        }

        for (int start = warmUp; start < numSamples; start += EqSignalPath::chunkSize)
        {
            const int length = std::min (EqSignalPath::chunkSize, numSamples - start);
            double* colouredIn = links + 4;

            const int wideDone = ! (stereo && plan.wideColouring) ? 0
                               : plan.longProducts ? colourChunkWithLongProducts (io, start, length, gain, strands0, strands1, colouredIn)
                                                   : colourChunkWide (io, start, length, gain, strands0, strands1, colouredIn);

            if (wideDone < length)
                colourChunk<stereo> (io, start + wideDone, length - wideDone, gain, strands0, strands1, draws,
                                     colouredIn + 2 * wideDone);

            const Channels chunkIo { io.channel0 + start, stereo ? io.channel1 + start : nullptr };

            for (int g = 0; g < numGroups; ++g)
            {
                // The last group also runs the allpass; with no section active that is all it runs.
                const bool last = g + 1 == numGroups;
                const int first = plan.groupStart[g];
                const int size = plan.groupStart[g + 1] - first;
                const GroupIo groupIo { links + g * linkStride + 4, last ? nullptr : links + (g + 1) * linkStride + 4,
                                        chunkIo, length };

                if (stereo && plan.wide && plan.longProducts)
                    runWideGroupAvx512 (size, last, plan.coefficients + first, plan.lanes + first, allpass, groupIo);
                else if (stereo && plan.wide)
                    runWideGroup (size, last, plan.coefficients + first, plan.lanes + first, allpass, groupIo);
                else
                    runGroupOf<stereo> (size, last, plan.coefficients + first, plan.lanes + first, allpass, groupIo);
            }

            // Carry each link's last two samples in front of the next chunk.
            for (int g = 0; g < numGroups; ++g)
                carryLinkHistory (links + g * linkStride, length);
        }

        restoreInputMemory (plan, links);
    }
}


#endif

//==============================================================================
namespace
{
    EqSignalPath::Kernel widestKernel() noexcept
    {
       #if ! VELORA_EQ_SSE2
        return EqSignalPath::Kernel::sse2;
       #else
        if (! wideKernelsAvailable())
            return EqSignalPath::Kernel::sse2;

        if (! wideColouringAvailable())
            return EqSignalPath::Kernel::avx;

        return avx512Available() ? EqSignalPath::Kernel::avx512 : EqSignalPath::Kernel::avx2;
       #endif
    }

    // Decided once, before anything processes; the audio thread only reads it.
    std::atomic<EqSignalPath::Kernel> kernelInUse { widestKernel() };
}

EqSignalPath::Kernel EqSignalPath::useKernel (Kernel requested) noexcept
{
    const auto kernel = std::min (requested, widestKernel());
    kernelInUse.store (kernel);
    return kernel;
}

EqSignalPath::Kernel EqSignalPath::getKernel() noexcept
{
    return kernelInUse.load (std::memory_order_relaxed);
}

EqSignalPath::EqSignalPath() noexcept = default;

void EqSignalPath::clearAllpass() noexcept
{
    allpass = {};
}

void EqSignalPath::clearNonFiniteState() noexcept
{
    for (auto& s : sections)
        for (int lane = 0; lane < 2; ++lane)
            if (! (std::isfinite (s.x1[lane]) && std::isfinite (s.x2[lane]) && std::isfinite (s.y1[lane]) && std::isfinite (s.y2[lane])))
                s.x1[lane] = s.x2[lane] = s.y1[lane] = s.y2[lane] = 0.0;

    for (int lane = 0; lane < 4; ++lane)
        if (! (std::isfinite (allpass.x1[lane]) && std::isfinite (allpass.y1[lane])))
            allpass.x1[lane] = allpass.y1[lane] = 0.0f;
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

    processPart (channel0, channel1, numSamples, design, randomState, 0, 3 * (std::uint64_t) numSamples);
    randomState = stateAfterBlock (randomState, numSamples, channel1 != nullptr ? 2 : 1);
}

juce::int64 EqSignalPath::stateAfterBlock (juce::int64 blockState, int numSamples, int numChannels) noexcept
{
    const auto totalDraws = 3 * (std::uint64_t) numSamples * (std::uint64_t) numChannels;
    return (juce::int64) (LinearCongruentialRandom::jumpOf (totalDraws).apply ((std::uint64_t) blockState)
                         & LinearCongruentialRandom::stateMask);
}

#if VELORA_EQ_SSE2
void EqSignalPath::processPart (float* channel0, float* channel1, int numSamples, const EqDesign& design,
                                juce::int64 blockState, std::uint64_t firstDraw0, std::uint64_t firstDraw1) noexcept
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

    const auto kernel = getKernel();
    plan.wide = stereo && plan.numActive > 0 && kernel >= Kernel::avx;
    plan.wideColouring = stereo && kernel >= Kernel::avx2;
    plan.longProducts = kernel == Kernel::avx512;

    if (plan.wide)
    {
        // Groups of at most three pairs of sections (all of them with AVX-512's registers),
        // as even as possible with the larger ones first (the last one also runs the
        // allpass), every group but the last of whole pairs.
        const int numPairs = (plan.numActive + 1) / 2;
        const int limit = plan.longProducts ? maxWideGroupSizeAvx512 : maxWideGroupSize;
        plan.numGroups = (2 * numPairs + limit - 1) / limit;

        for (int g = 0; g <= plan.numGroups; ++g)
            plan.groupStart[g] = std::min (plan.numActive, 2 * ((g * numPairs + plan.numGroups - 1) / plan.numGroups));
    }
    else
    {
        // Groups of at most three sections, as even as possible (three keep every group's
        // state in registers and still give enough independent work per step).
        plan.numGroups = (plan.numActive + 2) / 3;

        for (int g = 0; g <= plan.numGroups; ++g)
            plan.groupStart[g] = plan.numGroups == 0 ? 0 : (g * plan.numActive) / plan.numGroups;
    }

    const auto state = (std::uint64_t) blockState;

    // A mono block's lane 1 starts from silence too.
    const __m128 allpassLanes = _mm_castsi128_ps (stereo ? _mm_set_epi32 (0, 0, -1, -1) : _mm_set_epi32 (0, 0, 0, -1));
    Allpass ap { _mm_set1_ps (design.allpassCoefficient),
                 _mm_and_ps (_mm_load_ps (allpass.x1), allpassLanes),
                 _mm_and_ps (_mm_load_ps (allpass.y1), allpassLanes) };

    const Channels io { channel0, channel1 };
    const __m128 gain = _mm_set1_ps (design.outgainFactor);
    const auto strands0 = DrawStrands::at (state, firstDraw0);
    const auto strands1 = DrawStrands::at (state, firstDraw1);

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
}
#else
void EqSignalPath::processPart (float* channel0, float* channel1, int numSamples, const EqDesign& design,
                                juce::int64 blockState, std::uint64_t firstDraw0, std::uint64_t firstDraw1) noexcept
{
    // Without SSE2 the plain loop: per channel and sample, the same operations in the same
    // order as the vector passes.
    if (numSamples <= 0)
        return;

    int active[EqDesign::numSections];
    int numActive = 0;

    if (! design.bypassed)
    {
        if (design.filtersEnabled && design.lowCutEnabled)   active[numActive++] = EqDesign::highPass;
        if (design.lfEnabled)                                { active[numActive++] = EqDesign::lfShelf; active[numActive++] = EqDesign::lfBell; }
        if (design.filtersEnabled && design.highCutEnabled)  active[numActive++] = EqDesign::lowPass;
        if (design.hfEnabled)                                { active[numActive++] = EqDesign::hfShelf; active[numActive++] = EqDesign::hfBell; }
        if (design.lmfEnabled)                               active[numActive++] = EqDesign::lmfPeak;
        if (design.mfEnabled)                                active[numActive++] = EqDesign::mfPeak;
        if (design.hmfEnabled)                               active[numActive++] = EqDesign::hmfPeak;
    }

    const float c = design.allpassCoefficient;

    for (int ch = 0; ch < (channel1 != nullptr ? 2 : 1); ++ch)
    {
        float* const samples = ch == 0 ? channel0 : channel1;
        LinearCongruentialRandom random (blockState);
        random.skip (ch == 0 ? firstDraw0 : firstDraw1);

        for (int i = 0; i < numSamples; ++i)
        {
            double x = (double) (samples[i] * design.outgainFactor);

            const double r1 = random.nextDouble();
            const double r2 = random.nextDouble();
            const double r3 = random.nextDouble();
            const double x2 = x * x;
            const double x3 = x2 * x;
            const double x5 = x3 * x2;
            x = x + r1 * 2.869e-5 * x2 + r2 * 2.629e-6 * x3 + r3 * 1.952e-5 * x5;

            for (int k = 0; k < numActive; ++k)
            {
                const auto& b = design.sections[(size_t) active[k]];
                auto& s = sections[(size_t) active[k]];
                const double y = b.b0 * x + b.b1 * s.x1[ch] + b.b2 * s.x2[ch] - b.a1 * s.y1[ch] - b.a2 * s.y2[ch];
                s.x2[ch] = s.x1[ch];
                s.x1[ch] = x;
                s.y2[ch] = s.y1[ch];
                s.y1[ch] = y;
                x = y;
            }

            const float u = (float) x;
            const float y = c * allpass.y1[ch] + (allpass.x1[ch] - c * u);
            allpass.x1[ch] = u;
            allpass.y1[ch] = y;
            samples[i] = y;
        }
    }
}
#endif
