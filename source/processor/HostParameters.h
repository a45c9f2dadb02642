#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

class OrvelEqAudioProcessor;

namespace compressor { class CompressorFilter; }

/** The processor's own parameter identifiers (the equaliser's come from the engine). */
namespace HostParameters
{
    inline constexpr const char* compThreshold = "compThreshold";
    inline constexpr const char* compRatio     = "compRatio";
    inline constexpr const char* compAttack    = "compAttack";
    inline constexpr const char* compRelease   = "compRelease";
    inline constexpr const char* gateThreshold = "gateThreshold";
    inline constexpr const char* gateRange     = "gateRange";
    inline constexpr const char* gateAttack    = "gateAttack";
    inline constexpr const char* gateRelease   = "gateRelease";
    inline constexpr const char* inputGain     = "inputGain";
    inline constexpr const char* outputGain    = "outputGain";
    inline constexpr const char* eqOn          = "eqOn";
    inline constexpr const char* compOn        = "compOn";
    inline constexpr const char* gateOn        = "gateOn";
    inline constexpr const char* compBeforeEq  = "compBeforeEq";
    inline constexpr const char* oversampling  = "oversampling";
    inline constexpr const char* phaseInvert   = "phaseInvert";

    /** Host index of the equaliser's first parameter; equaliser index = host index - 4. */
    inline constexpr int firstEqualiserIndex = 4;

    /** The compressor indices that the four compressor host parameters drive. */
    inline constexpr int compressorThresholdIndex = 0;
    inline constexpr int compressorRatioIndex     = 1;
    inline constexpr int compressorAttackIndex    = 3;
    inline constexpr int compressorReleaseIndex   = 4;
    inline constexpr int compressorGrModeIndex    = 14;

    /** The 41 host parameters in host order, with the engines' current values as the
        defaults of the parameters they own. */
    juce::AudioProcessorValueTreeState::ParameterLayout createLayout (compressor::CompressorFilter& compressorEngine,
                                                                      OrvelEqAudioProcessor& eqEngine);
}
