#include "StoredText.h"

#include <limits>

namespace StoredText
{

bool isValidUtf8 (const char* bytes, int length) noexcept
{
    const auto* p = reinterpret_cast<const unsigned char*> (bytes);
    const auto* end = p + length;

    while (p < end)
    {
        const unsigned lead = *p++;

        if (lead < 0x80)
            continue;

        // The shortest form only: the second byte's range depends on the lead byte.
        int continuations = 0;
        unsigned low = 0x80, high = 0xbf;

        if (lead >= 0xc2 && lead <= 0xdf)       continuations = 1;
        else if (lead == 0xe0)                  { continuations = 2; low = 0xa0; }
        else if (lead == 0xed)                  { continuations = 2; high = 0x9f; }    // no surrogates
        else if (lead >= 0xe1 && lead <= 0xef)  continuations = 2;
        else if (lead == 0xf0)                  { continuations = 3; low = 0x90; }
        else if (lead >= 0xf1 && lead <= 0xf3)  continuations = 3;
        else if (lead == 0xf4)                  { continuations = 3; high = 0x8f; }    // up to U+10FFFF
        else                                    return false;

        if (end - p < continuations || *p < low || *p > high)
            return false;

        for (int i = 0; i < continuations; ++i)
            if ((p[i] & 0xc0) != 0x80)
                return false;

        p += continuations;
    }

    return true;
}

juce::String fromUtf8 (const char* bytes, int size)
{
    if (bytes == nullptr || size <= 0)
        return {};

    const auto* terminator = static_cast<const char*> (std::memchr (bytes, 0, (size_t) size));
    const int length = terminator != nullptr ? (int) (terminator - bytes) : size;

    if (length == 0 || ! isValidUtf8 (bytes, length))
        return {};

    return juce::String::fromUTF8 (bytes, length);
}

double readNumber (const juce::String& text)
{
    auto p = text.getCharPointer();

    while (p.isWhitespace())
        ++p;

    const bool negative = *p == '-';

    if (*p == '-' || *p == '+')
        ++p;

    bool anyDigit = false, nonZeroMantissa = false;

    for (; p.isDigit() || *p == '.'; ++p)
    {
        anyDigit = anyDigit || p.isDigit();
        nonZeroMantissa = nonZeroMantissa || (*p >= '1' && *p <= '9');
    }

    if (*p == 'e' || *p == 'E')
    {
        // Zero times any power of ten is zero (JUCE reads "0e+400" as infinity).
        if (anyDigit && ! nonZeroMantissa)
            return negative ? -0.0 : 0.0;

        ++p;
        const bool negativeExponent = *p == '-';

        if (*p == '-' || *p == '+')
            ++p;

        while (*p == '0')
            ++p;

        int significantDigits = 0;

        for (; p.isDigit(); ++p)
            ++significantDigits;

        // Far beyond any double's range, and beyond what JUCE's counter can hold.
        if (significantDigits > 6)
        {
            if (negativeExponent)
                return negative ? -0.0 : 0.0;

            return negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
        }
    }

    return text.getDoubleValue();
}

bool hasProcessingInstruction (const juce::String& text)
{
    auto body = text.trimStart();

    if (body.startsWith ("<?xml"))
    {
        const int end = body.indexOf ("?>");

        if (end < 0)
            return true;

        body = body.substring (end + 2);
    }

    return body.contains ("<?");
}

std::unique_ptr<juce::XmlElement> parseDocument (const juce::String& text)
{
    if (text.isEmpty() || hasProcessingInstruction (text))
        return {};

    return juce::parseXML (text);
}

std::unique_ptr<juce::XmlElement> xmlFromStoredBlock (const void* data, int sizeInBytes)
{
    constexpr juce::uint32 marker = 0x21324356;

    if (data == nullptr || sizeInBytes <= 8 || juce::ByteOrder::littleEndianInt (data) != marker)
        return {};

    const auto length = (int) juce::ByteOrder::littleEndianInt (juce::addBytesToPointer (data, 4));

    if (length <= 0)
        return {};

    const auto text = fromUtf8 (static_cast<const char*> (data) + 8, juce::jmin (sizeInBytes - 8, length));
    return parseDocument (text);
}

} // namespace StoredText
