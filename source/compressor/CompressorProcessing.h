#pragma once

#include "CompressorWorkingValues.h"
#include "SideChainBiquad.h"

#include <array>

namespace compressor
{

/** The compressor's sample loop and the state it carries from block to block: the two
    side-chain sections, the detector envelope and the level follower.

    One thread (the audio thread) owns an instance. process() allocates nothing: long
    blocks run in fixed-size chunks through the scratch arrays below.
*/
class CompressorProcessing final
{
public:
    CompressorProcessing();

    /** Takes a new design for both sections; the filter memory stays. */
    void setSideChainCoefficients (const SideChainBiquad& design) noexcept;

    /** Envelope 0 and no side-chain memory, as after a filter-type change. */
    void resetDetector() noexcept;

    void resetEnvelope() noexcept       { envelope = 0.0f; }

    /** Compresses the block in place, with the channel roles of the key mode in the
        values, and returns the gain of its last sample (previousGain for an empty block).
    */
    float process (float* const* channels, int numChannels, int numSamples,
                   const CompressorWorkingValues& values, float previousGain) noexcept;

    /** The same for one piece of a block, without the block-end step; call finishBlock
        after the last piece. Pieces in order give exactly the result of one block. */
    float processPart (float* const* channels, int numChannels, int numSamples,
                       const CompressorWorkingValues& values, float previousGain) noexcept;

    /** The block-end step: a detector below 1e-10 becomes exactly 0. */
    void finishBlock() noexcept;

    float getEnvelope() const noexcept       { return envelope; }
    float getLevelFollower() const noexcept  { return levelFollower; }

private:
    static constexpr int chunkSize = 256;

    /** Which channels feed the sections and which carry audio, fixed for a block. */
    struct Routing
    {
        int keyA = 0;
        int keyB = -1;          // -1: section B does not run and yB is 0
        int numAudio = 1;       // audio channels 0 .. numAudio - 1
        bool silenceChannel1 = false;
    };

    static Routing routingFor (int numChannels, bool keyMode) noexcept;

    template <bool paired, bool solo>
    void detect (const float* keyA, const float* keyB, float* soloA, float* soloB, float* envelopesOut,
                 int num, float attackCoeff, float keep) noexcept;

    /** The chunk's gains from its envelopes e, while the detector runs over the next chunk's
        nextNum samples of the keys into nextEnvelopes. */
    template <bool paired, bool softKnee>
    void computeGains (const float* e, int num, const float* nextKeyA, const float* nextKeyB,
                       float* nextEnvelopes, int nextNum, const CompressorWorkingValues& values,
                       float attackCoeff, float keep) noexcept;

    /** Detector steps between two runs of powf calls. */
    static constexpr int detectorSteps = 8;

    SideChainBiquad sideChainFilterA, sideChainFilterB;
    float envelope = 0.0f;
    float levelFollower = 0.0f;

    // The envelope after each sample of the current chunk and of the next, then the gain
    // the current one gives.
    alignas (16) std::array<float, 2 * chunkSize> envelopes {};
    alignas (16) std::array<float, chunkSize> gains {};
};

} // namespace compressor
