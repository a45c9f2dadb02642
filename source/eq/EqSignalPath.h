#pragma once

#include "EqDesign.h"

#include <juce_core/juce_core.h>

#include <array>
#include <atomic>
#include <cstdint>

/** The equaliser's sample path: the output factor, the harmonic colouring, the active
    sections in their fixed order and the phase allpass, for one or two channels.

    The work is done on two-double vectors (SSE2). A block is taken in chunks: the
    colouring's draws are made for a whole chunk first (three strands per channel, each
    jumping ahead, so there is no long dependency chain), then the sections run
    software-pipelined: in step t section k works on sample t − k, so the recurrences
    overlap instead of waiting on each other.
    - Two channels take one lane each, and the sections run in groups of up to three,
      whose state fits in registers (EqGroupPipeline.h).
    - One channel puts neighbouring sections into the two lanes instead, which the
      pipelining makes independent (EqMonoPipeline.h).
    - Where the processor has AVX, two channels run on four-double vectors: two
      neighbouring sections of both channels per vector, in groups of up to six sections
      (EqWideGroupPipeline.h); with AVX2 the colouring runs four samples at a time
      (EqWideColouring.h); with AVX-512 the colouring uses its 64-bit products and one
      group takes every section.
    Every value is computed with the same operations in the same order as a plain
    per-sample, per-channel loop, so the output is bit for bit the same.
*/
class EqSignalPath final
{
public:
    /** The instruction sets the sample path has kernels for. */
    enum class Kernel
    {
        sse2,
        avx,    // two-channel blocks: two sections per four-double vector
        avx2,   // and the colouring four samples at a time
        avx512  // on four lanes still: the colouring's 64-bit products in one instruction,
                // and all sections in one group in the thirty-two registers
    };

    /** The kernels every instance runs from the next block on: the requested set where the
        processor has it, SSE2 otherwise; returns the set now in use. The widest available
        set is in use from the start; both give the same bits, and tests switch between them. */
    static Kernel useKernel (Kernel requested) noexcept;
    static Kernel getKernel() noexcept;

    /** Samples coloured ahead of the sections at a time (the colouring buffer's size). */
    static constexpr int chunkSize = 256;

    EqSignalPath() noexcept;

    /** Sets the allpass memory of both channels to zero; the sections keep theirs. */
    void clearAllpass() noexcept;

    /** Clears any section or allpass memory that is no longer finite, so one bad block does
        not silence the equaliser for good. Finite memory is left exactly as it is. */
    void clearNonFiniteState() noexcept;

    /** Processes one block in place; channel1 is null for a mono block. randomState is the
        state of a juce::Random: channel 0 draws three values per sample, then channel 1 the
        next three per sample, and on return it holds the state after all of them. */
    void process (float* channel0, float* channel1, int numSamples,
                  const EqDesign& design, juce::int64& randomState) noexcept;

    /** Processes part of a block: blockState is the generator's state at the start of the
        whole block, and channel 0's and channel 1's first draws for this part are the
        draws numbered firstDraw0 and firstDraw1 from it. Consecutive parts with the right
        draw numbers give exactly the result of one call on the whole block. */
    void processPart (float* channel0, float* channel1, int numSamples, const EqDesign& design,
                      juce::int64 blockState, std::uint64_t firstDraw0, std::uint64_t firstDraw1) noexcept;

    /** The generator's state after a whole block of numSamples on numChannels. */
    static juce::int64 stateAfterBlock (juce::int64 blockState, int numSamples, int numChannels) noexcept;

    /** The section state, for inspection: x1, x2, y1, y2 of a channel's section. */
    std::array<double, 4> getSectionState (int channel, int section) const noexcept;

    /** Per channel: the previous allpass input and output. */
    std::array<float, 2> getAllpassState (int channel) const noexcept;

    struct alignas (16) SectionState
    {
        // Lane 0 belongs to channel 0, lane 1 to channel 1.
        double x1[2], x2[2], y1[2], y2[2];
    };

    struct alignas (16) AllpassState
    {
        float x1[4], y1[4];
    };

private:
    std::array<SectionState, EqDesign::numSections> sections {};
    AllpassState allpass {};
    // The signal between groups of sections for one chunk, two samples of history in front.
    alignas (16) std::array<double, 3 * 2 * (chunkSize + 2)> links {};

    // One chunk's draws, three per sample and lane.
    alignas (16) std::array<std::uint64_t, 6 * chunkSize> draws {};

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (EqSignalPath)
};
