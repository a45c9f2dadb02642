#pragma once

#include "SideChainBiquad.h"

namespace compressor
{

/** The normalised settings that the working values are derived from. */
struct CompressorSettings
{
    float threshold = 0.6f;
    float ratio = 0.4f;
    float level = 0.0f;
    float attack = 0.2f;
    float release = 0.5f;
    float mix = 1.0f;
    float filterType = 0.0f;
    float freq = 0.5f;
    float width = 0.5f;
    float sampleRate = 44100.0f;
};

/** Everything one block of the detector and gain computer reads, derived together so a
    block never mixes old and new values. */
struct CompressorWorkingValues
{
    float thresholdGain = 0.0f;
    float slope = 0.0f;
    float attackCoeff = 0.0f;
    float releaseCoeff = 0.0f;
    float wetGain = 0.0f;
    float dryGain = 0.0f;

    /** Coefficients for both side-chain sections (its state fields are unused). */
    SideChainBiquad sideChain;

    bool bypass = false;
    bool sideChainKey = false;
    bool filteredSolo = false;
    bool softKnee = false;

    /** Bumped by filter-type writes and by prepareToPlay: the block that first sees a new
        value clears the detector state, so a reset travels with the design after it. */
    unsigned int detectorResetGeneration = 0;
    unsigned int prepareGeneration = 0;
};

/** The compressor's derivation of its working values (single precision unless noted). */
CompressorWorkingValues computeWorkingValues (const CompressorSettings& settings);

} // namespace compressor
