#include "StoredText.h"

#include <clocale>
#include <cstdlib>
#include <string>

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
    // The number JUCE's reader would take: blanks, a sign, digits with one point, and an
    // exponent that has digits. It is converted by the C library in the "C" locale, as
    // JUCE does at the end, but from the text itself: JUCE first rebuilds it in a buffer
    // of its own, and on the way its exponent counter can overflow, a zero with a large
    // exponent becomes infinite and long fractions lose their last digits.
    auto p = text.getCharPointer();

    while (p.isWhitespace())
        ++p;

    std::string number;

    if (*p == '-' || *p == '+')
        number += (char) p.getAndAdvance();

    bool point = false;

    for (; p.isDigit() || (*p == '.' && ! point); ++p)
    {
        point = point || *p == '.';
        number += (char) *p;
    }

    if (*p == 'e' || *p == 'E')
    {
        auto exponent = p + 1;
        std::string digits ("e");

        if (*exponent == '-' || *exponent == '+')
            digits += (char) exponent.getAndAdvance();

        if (exponent.isDigit())
        {
            for (; exponent.isDigit(); ++exponent)
                digits += (char) *exponent;

            number += digits;
        }
    }

    static const locale_t cLocale = newlocale (LC_ALL_MASK, "C", nullptr);
    return strtod_l (number.c_str(), nullptr, cLocale);
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
