#pragma once

#include <juce_core/juce_core.h>

#include <cmath>
#include <optional>

/** The physical meaning of the host parameter values: one home for the formulas that the
    audio path, the editor's value labels and the tools share.

    The label numbers are in the units the labels show (Hz or kHz, dB, ms, a ratio, a
    plain Q). The HighpassFreq and LowpassFreq labels use their own scales (30..300 Hz and
    2.5..25 kHz), not the equaliser's corner frequencies; everything here follows the labels.
*/
namespace ParameterUnits
{
    /** "inputGain": -100 dB at 0, 0 dB at 0.5, +24 dB at 1. */
    inline float inputGainDecibels (float v) noexcept
    {
        return v < 0.5f ? 200.0f * v - 100.0f : 48.0f * (v - 0.5f);
    }

    /** "outputGain": -100 dB at 0, 0 dB at 0.75, +12 dB at 1 (the factor is 133.333, not 400/3). */
    inline float outputGainDecibels (float v) noexcept
    {
        return v < 0.75f ? 133.333f * v - 100.0f : 48.0f * (v - 0.75f);
    }

    /** 10^(dB * 0.05) in single precision. */
    inline float decibelsToGain (float decibels) noexcept
    {
        return std::pow (10.0f, decibels * 0.05f);
    }

    //==============================================================================
    /** The unit a physical value is expressed in. */
    enum class Unit
    {
        hertz,
        kilohertz,
        decibels,
        milliseconds,
        ratio,      ///< n:1
        quality     ///< a plain Q number
    };

    /** A parameter's physical scale. Every scale rises with the normalised value. */
    struct Scale
    {
        Unit unit;
        int decimals;           ///< of the label (or of the unit's usual display)
        bool hasLabel;          ///< false for a scale that only the tools accept ("Outgain")
        bool needsSampleRate;   ///< the compressor times depend on the host rate
    };

    /** The scale of a parameter, or nullptr for a switch and an unknown identifier. */
    const Scale* findScale (const juce::String& parameterId) noexcept;

    /** The physical value of a normalised value, in the scale's unit. Empty for a
        parameter without a scale, and for the compressor times at a sample rate of 0. */
    std::optional<double> physicalValue (const juce::String& parameterId, double value, double sampleRate);

    /** The value label's text. Empty for a parameter without a label, and for the
        compressor times at a sample rate of 0 (the label keeps its old text then). */
    std::optional<juce::String> valueLabelText (const juce::String& parameterId, double value, double sampleRate);

    /** The inverse: a physical value, in the scale's unit, to a normalised value. */
    struct Normalised
    {
        enum class Status { ok, noScale, noSampleRate, outOfRange };

        Status status = Status::noScale;
        double value = 0.0;                     ///< 0..1 when status is ok
        double minimum = 0.0, maximum = 0.0;    ///< the physical range, when the scale is known
    };

    /** Values beyond an end by less than half of the label's last digit (what the label
        would still show as the end value) are taken as that end; anything further out is
        out of range, never clamped. */
    Normalised normalisedValue (const juce::String& parameterId, double physical, double sampleRate);
}
