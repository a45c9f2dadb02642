#include "StoredText.h"

#include <limits>

namespace StoredText
{

juce::String fromUtf8 (const char* bytes, int size)
{
    if (bytes == nullptr || size <= 0)
        return {};

    const auto* terminator = static_cast<const char*> (std::memchr (bytes, 0, (size_t) size));
    const int length = terminator != nullptr ? (int) (terminator - bytes) : size;

    if (length == 0 || ! juce::CharPointer_UTF8::isValidString (bytes, length))
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

    bool nonZeroMantissa = false;

    for (; p.isDigit() || *p == '.'; ++p)
        nonZeroMantissa = nonZeroMantissa || (*p >= '1' && *p <= '9');

    if (*p == 'e' || *p == 'E')
    {
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
            if (! nonZeroMantissa || negativeExponent)
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
