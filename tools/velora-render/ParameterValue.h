#pragma once

#include "ParameterCatalogue.h"
#include "common/ParameterUnits.h"

#include <juce_core/juce_core.h>

/** A --set value as typed: a normalised number ("0.75"), a number with a unit in the
    units of the value labels ("+6dB", "80Hz", "2.5kHz", "150ms", "4:1", "2.0Q"), or a
    switch word ("on", "off", "true", "false"). */
struct ParameterValue
{
    enum class Kind { normalised, physical, switchWord };

    Kind kind = Kind::normalised;
    double number = 0.0;        ///< normalised, physical (in unit) or 1/0 for a switch word
    ParameterUnits::Unit unit = ParameterUnits::Unit::hertz;
    juce::String text;          ///< as typed, for messages

    /** Fails with a message when the text is neither of the three forms. */
    static juce::Result parse (const juce::String& text, ParameterValue& result);
};

/** What can be checked before the sample rate is known: the kind of value and the unit
    fit the parameter. */
juce::Result checkParameterValue (const ParameterCatalogue::Entry& parameter, const ParameterValue& value);

/** The normalised value to set. Fails for a value of the wrong kind or unit and for a
    value outside the control's range (never clamped). The compressor times need the
    host sample rate. */
juce::Result resolveParameterValue (const ParameterCatalogue::Entry& parameter, const ParameterValue& value,
                                    double sampleRate, float& normalised);

/** A physical value as the messages and listings show it ("80.0 Hz", "4.0:1", "Q 2.0"). */
juce::String formatPhysicalValue (double physical, const ParameterUnits::Scale& scale);
