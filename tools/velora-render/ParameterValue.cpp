#include "ParameterValue.h"

using ParameterUnits::Unit;

namespace
{
    /** The length of a leading decimal number (sign, digits, point, exponent), or 0. */
    int numberLength (const juce::String& text)
    {
        const auto* s = text.toRawUTF8();
        int i = 0, digits = 0;

        if (s[i] == '+' || s[i] == '-')
            ++i;

        for (; juce::CharacterFunctions::isDigit (s[i]); ++i)
            ++digits;

        if (s[i] == '.')
            for (++i; juce::CharacterFunctions::isDigit (s[i]); ++i)
                ++digits;

        if (digits == 0)
            return 0;

        if (s[i] == 'e' || s[i] == 'E')
        {
            int j = i + 1;

            if (s[j] == '+' || s[j] == '-')
                ++j;

            if (juce::CharacterFunctions::isDigit (s[j]))
            {
                while (juce::CharacterFunctions::isDigit (s[j]))
                    ++j;

                i = j;
            }
        }

        return i;
    }

    bool parseUnit (const juce::String& text, Unit& unit, double& factor)
    {
        const auto u = text.toLowerCase();
        factor = 1.0;

        if (u == "hz")      { unit = Unit::hertz;         return true; }
        if (u == "khz")     { unit = Unit::kilohertz;     return true; }
        if (u == "db")      { unit = Unit::decibels;      return true; }
        if (u == "ms")      { unit = Unit::milliseconds;  return true; }
        if (u == "s")       { unit = Unit::milliseconds;  factor = 1000.0; return true; }
        if (u == ":1")      { unit = Unit::ratio;         return true; }
        if (u == "q")       { unit = Unit::quality;       return true; }

        return false;
    }

    bool isFrequency (Unit u) noexcept  { return u == Unit::hertz || u == Unit::kilohertz; }

    const char* unitDescription (Unit u)
    {
        switch (u)
        {
            case Unit::hertz:
            case Unit::kilohertz:       return "a frequency (Hz or kHz)";
            case Unit::decibels:        return "a level in dB";
            case Unit::milliseconds:    return "a time (ms or s)";
            case Unit::ratio:           return "a ratio such as 4:1";
            case Unit::quality:         return "a Q such as 2.0Q";
        }

        return "";
    }
}

juce::String formatPhysicalValue (double x, const ParameterUnits::Scale& scale)
{
    const juce::String number (x, scale.decimals);

    switch (scale.unit)
    {
        case Unit::hertz:           return number + " Hz";
        case Unit::kilohertz:       return number + " kHz";
        case Unit::decibels:        return number + " dB";
        case Unit::milliseconds:    return number + " ms";
        case Unit::ratio:           return number + ":1";
        case Unit::quality:         return "Q " + number;
    }

    return number;
}

namespace
{
    juce::String setting (const ParameterCatalogue::Entry& parameter, const ParameterValue& value)
    {
        return parameter.id + "=" + value.text;
    }
}

juce::Result ParameterValue::parse (const juce::String& text, ParameterValue& result)
{
    result = {};
    result.text = text;

    const auto trimmed = text.trim();
    const auto word = trimmed.toLowerCase();

    if (word == "on" || word == "true" || word == "off" || word == "false")
    {
        result.kind = Kind::switchWord;
        result.number = (word == "on" || word == "true") ? 1.0 : 0.0;
        return juce::Result::ok();
    }

    const int length = numberLength (trimmed);

    if (length == 0)
        return juce::Result::fail ("malformed value '" + text + "': expected a number 0..1, a number with a unit or on/off");

    result.number = std::strtod (trimmed.substring (0, length).toRawUTF8(), nullptr);

    if (! std::isfinite (result.number))
        return juce::Result::fail ("malformed value '" + text + "': the number is not finite");

    const auto unitText = trimmed.substring (length).trim();

    if (unitText.isEmpty())
    {
        result.kind = Kind::normalised;
        return juce::Result::ok();
    }

    double factor = 1.0;

    if (! parseUnit (unitText, result.unit, factor))
        return juce::Result::fail ("malformed value '" + text + "': unknown unit '" + unitText
                                   + "' (use Hz, kHz, dB, ms, s, :1 or Q)");

    result.kind = Kind::physical;
    result.number *= factor;
    return juce::Result::ok();
}

juce::Result checkParameterValue (const ParameterCatalogue::Entry& parameter, const ParameterValue& value)
{
    if (parameter.isSwitch)
    {
        if (value.kind == ParameterValue::Kind::physical)
            return juce::Result::fail (setting (parameter, value) + ": " + parameter.id + " is a switch (use on/off or 0/1)");

        return juce::Result::ok();
    }

    if (value.kind == ParameterValue::Kind::switchWord)
        return juce::Result::fail (setting (parameter, value) + ": " + parameter.id + " is not a switch");

    if (value.kind == ParameterValue::Kind::physical)
    {
        const auto* scale = ParameterUnits::findScale (parameter.id);

        if (scale == nullptr)
            return juce::Result::fail (setting (parameter, value) + ": " + parameter.id + " takes only a normalised value 0..1");

        const bool fits = scale->unit == value.unit || (isFrequency (scale->unit) && isFrequency (value.unit));

        if (! fits)
            return juce::Result::fail (setting (parameter, value) + ": " + parameter.id + " takes "
                                       + unitDescription (scale->unit) + " or a normalised value 0..1");
    }

    return juce::Result::ok();
}

juce::Result resolveParameterValue (const ParameterCatalogue::Entry& parameter, const ParameterValue& value,
                                    double sampleRate, float& normalised)
{
    const auto checked = checkParameterValue (parameter, value);

    if (checked.failed())
        return checked;

    switch (value.kind)
    {
        case ParameterValue::Kind::switchWord:
            normalised = (float) value.number;
            return juce::Result::ok();

        case ParameterValue::Kind::normalised:
            if (parameter.isSwitch && value.number != 0.0 && value.number != 1.0)
                return juce::Result::fail (setting (parameter, value) + ": a switch is 0 or 1 (or on/off)");

            if (! (value.number >= 0.0 && value.number <= 1.0))
                return juce::Result::fail (setting (parameter, value) + ": a normalised value must lie within 0..1");

            normalised = (float) value.number;
            return juce::Result::ok();

        case ParameterValue::Kind::physical:
            break;
    }

    const auto* scale = ParameterUnits::findScale (parameter.id);
    double physical = value.number;

    if (value.unit == Unit::hertz && scale->unit == Unit::kilohertz)
        physical /= 1000.0;
    else if (value.unit == Unit::kilohertz && scale->unit == Unit::hertz)
        physical *= 1000.0;

    const auto result = ParameterUnits::normalisedValue (parameter.id, physical, sampleRate);

    switch (result.status)
    {
        case ParameterUnits::Normalised::Status::ok:
            normalised = (float) result.value;
            return juce::Result::ok();

        case ParameterUnits::Normalised::Status::outOfRange:
            return juce::Result::fail (setting (parameter, value) + ": out of range, " + parameter.id + " spans "
                                       + formatPhysicalValue (result.minimum, *scale) + " to "
                                       + formatPhysicalValue (result.maximum, *scale)
                                       + (scale->needsSampleRate ? " at " + juce::String (juce::roundToInt (sampleRate)) + " Hz" : juce::String()));

        case ParameterUnits::Normalised::Status::noSampleRate:
            return juce::Result::fail (setting (parameter, value) + ": " + parameter.id + " in ms needs a sample rate");

        case ParameterUnits::Normalised::Status::noScale:
            break;
    }

    return juce::Result::fail (setting (parameter, value) + ": " + parameter.id + " has no physical scale");
}
