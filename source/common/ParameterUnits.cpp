#include "ParameterUnits.h"

#include <array>

namespace ParameterUnits
{

namespace
{
    enum class Formula
    {
        linear,         // offset + slope * v, in double
        ratio,          // 1 / (1 - 0.9 v), in float
        attackTime,     // 1000 / (k sr), k = 10^(-3.9 v - 0.002)
        releaseTime,    // 1000 / (k sr), k = 10^(-2.9 v - 2)
        inputGain,
        outputGain
    };

    struct Entry
    {
        const char* id;
        Scale scale;
        Formula formula;
        const char* suffix;
        double offset = 0.0, slope = 0.0;
    };

    constexpr Scale hertz       { Unit::hertz,        1, true, false };
    constexpr Scale kilohertz   { Unit::kilohertz,    1, true, false };
    constexpr Scale decibels    { Unit::decibels,     1, true, false };
    constexpr Scale quality     { Unit::quality,      1, true, false };
    constexpr Scale millis      { Unit::milliseconds, 1, true, false };
    constexpr Scale ratio       { Unit::ratio,        1, true, false };
    constexpr Scale rateMillis  { Unit::milliseconds, 2, true, true };
    constexpr Scale unlabelledDecibels { Unit::decibels, 1, false, false };

    const std::array<Entry, 26> entries
    {{
        { "HighpassFreq",  hertz,      Formula::linear,      " Hz",  30.0,   270.0 },
        { "LowpassFreq",   kilohertz,  Formula::linear,      " kHz", 2.5,    22.5 },
        { "HighGain",      decibels,   Formula::linear,      " dB",  -12.0,  24.0 },
        { "HighFreq",      kilohertz,  Formula::linear,      " kHz", 2.5,    22.5 },
        { "HighMidGain",   decibels,   Formula::linear,      " dB",  -12.0,  24.0 },
        { "HighMidFreq",   kilohertz,  Formula::linear,      " kHz", 1.8,    14.2 },
        { "HighMidQ",      quality,    Formula::linear,      "",     0.7,    4.3 },
        { "MidGain",       decibels,   Formula::linear,      " dB",  -12.0,  24.0 },
        { "MidFreq",       hertz,      Formula::linear,      " Hz",  330.0,  2170.0 },
        { "MidQ",          quality,    Formula::linear,      "",     0.7,    4.3 },
        { "LowMidGain",    decibels,   Formula::linear,      " dB",  -12.0,  24.0 },
        { "LowMidFreq",    hertz,      Formula::linear,      " Hz",  50.0,   350.0 },
        { "LowMidQ",       quality,    Formula::linear,      "",     0.7,    4.3 },
        { "LowGain",       decibels,   Formula::linear,      " dB",  -12.0,  24.0 },
        { "LowFreq",       hertz,      Formula::linear,      " Hz",  30.0,   270.0 },
        { "gateThreshold", decibels,   Formula::linear,      " dB",  -100.0, 100.0 },
        { "gateRange",     decibels,   Formula::linear,      " dB",  3.0,    47.0 },
        { "gateAttack",    millis,     Formula::linear,      " ms",  1.0,    49.0 },
        { "gateRelease",   millis,     Formula::linear,      " ms",  1.0,    999.0 },
        { "compThreshold", decibels,   Formula::linear,      " dB",  -40.0,  40.0 },
        { "compRatio",     ratio,      Formula::ratio,       ":1" },
        { "compAttack",    rateMillis, Formula::attackTime,  " ms" },
        { "compRelease",   rateMillis, Formula::releaseTime, " ms" },
        { "inputGain",     decibels,   Formula::inputGain,   " dB" },
        { "outputGain",    decibels,   Formula::outputGain,  "" },
        // No label: the equaliser's own output factor, 10^(1.2 v - 0.6), as dB.
        { "Outgain",       unlabelledDecibels, Formula::linear, "", -12.0, 24.0 },
    }};

    const Entry* findEntry (const juce::String& parameterId) noexcept
    {
        for (const auto& e : entries)
            if (parameterId == e.id)
                return &e;

        return nullptr;
    }

    // The exponents are formed in double from the single-precision constants, then the
    // power, the product with the rate and the division follow the label exactly.
    double compressorTime (double exponent, float rate)
    {
        const float k = std::pow (10.0f, (float) exponent);
        return 1000.0 / (double) (k * rate);
    }

    double attackExponent (double v)    { return -(double) 3.9f * v - (double) 0.002f; }
    double releaseExponent (double v)   { return -(double) 2.9f * v - 2.0; }

    /** The label number; the rate is only read by the compressor times. */
    double forward (const Entry& e, double v, float rate)
    {
        switch (e.formula)
        {
            case Formula::linear:
                return e.offset + e.slope * v;

            case Formula::ratio:
            {
                const float scaled = (float) (v * -(double) 0.9f);
                return (double) (1.0f / (1.0f + scaled));
            }

            case Formula::attackTime:   return compressorTime (attackExponent (v), rate);
            case Formula::releaseTime:  return compressorTime (releaseExponent (v), rate);

            case Formula::inputGain:
            {
                const float f = (float) v;
                return f < 0.5f ? (double) (200.0f * f - 100.0f) : ((double) f - 0.5) * 48.0;
            }

            case Formula::outputGain:
            {
                // At exactly 0.75 this is slightly below zero: the label shows "-0.0".
                const float f = (float) v;
                return f <= 0.75f ? 133.333 * (double) f - 100.0 : ((double) f - 0.75) * 48.0;
            }
        }

        return 0.0;
    }

    double inverse (const Entry& e, double x, float rate)
    {
        switch (e.formula)
        {
            case Formula::linear:       return (x - e.offset) / e.slope;
            case Formula::ratio:        return (1.0 - 1.0 / x) / (double) 0.9f;
            case Formula::attackTime:   return -(std::log10 (1000.0 / (x * (double) rate)) + (double) 0.002f) / (double) 3.9f;
            case Formula::releaseTime:  return -(std::log10 (1000.0 / (x * (double) rate)) + 2.0) / (double) 2.9f;
            case Formula::inputGain:    return x < 0.0 ? (x + 100.0) / 200.0 : 0.5 + x / 48.0;
            case Formula::outputGain:   return x < 0.0 ? juce::jmin (0.75, (x + 100.0) / 133.333) : 0.75 + x / 48.0;
        }

        return 0.0;
    }
}

//==============================================================================
const Scale* findScale (const juce::String& parameterId) noexcept
{
    const auto* e = findEntry (parameterId);
    return e != nullptr ? &e->scale : nullptr;
}

std::optional<double> physicalValue (const juce::String& parameterId, double value, double sampleRate)
{
    const auto* e = findEntry (parameterId);
    const auto rate = (float) sampleRate;

    if (e == nullptr || (e->scale.needsSampleRate && rate == 0.0f))
        return std::nullopt;

    return forward (*e, value, rate);
}

std::optional<juce::String> valueLabelText (const juce::String& parameterId, double value, double sampleRate)
{
    const auto* e = findEntry (parameterId);

    if (e == nullptr || ! e->scale.hasLabel)
        return std::nullopt;

    const auto number = physicalValue (parameterId, value, sampleRate);

    if (! number.has_value())
        return std::nullopt;

    return juce::String (*number, e->scale.decimals) + e->suffix;
}

Normalised normalisedValue (const juce::String& parameterId, double physical, double sampleRate)
{
    Normalised result;
    const auto* e = findEntry (parameterId);

    if (e == nullptr)
        return result;

    const auto rate = (float) sampleRate;

    if (e->scale.needsSampleRate && ! (rate > 0.0f))
    {
        result.status = Normalised::Status::noSampleRate;
        return result;
    }

    result.minimum = forward (*e, 0.0, rate);
    result.maximum = forward (*e, 1.0, rate);

    const double tolerance = 0.5 * std::pow (10.0, -e->scale.decimals);

    if (! (physical >= result.minimum - tolerance && physical <= result.maximum + tolerance))
    {
        result.status = Normalised::Status::outOfRange;
        return result;
    }

    if (physical <= result.minimum)
        result.value = 0.0;
    else if (physical >= result.maximum)
        result.value = 1.0;
    else
        result.value = juce::jlimit (0.0, 1.0, inverse (*e, physical, rate));

    result.status = Normalised::Status::ok;
    return result;
}

} // namespace ParameterUnits
