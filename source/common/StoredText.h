#pragma once

#include <juce_core/juce_core.h>

/** Reading text and XML out of bytes that came from outside: a host's stored state, a file.

    JUCE's XML reader trusts its text to be valid UTF-8; a broken sequence (a lead byte
    without its continuation bytes) makes it step over the terminating 0 and read past the
    end of the string. So bytes that are not valid UTF-8 give the empty text, which no
    reader takes for a document. It can also loop for ever on a processing instruction
    inside an element, so documents with one are refused before it sees them.
*/
namespace StoredText
{
    /** True when the bytes are well-formed UTF-8 in the strict sense: no overlong forms,
        no surrogates, nothing past U+10FFFF. JUCE's own check lets overlong forms through,
        and its strings then copy more bytes than they counted. */
    bool isValidUtf8 (const char* bytes, int length) noexcept;

    /** The bytes up to size or the first 0 byte as text, or the empty text when they are
        not valid UTF-8. */
    juce::String fromUtf8 (const char* bytes, int size);

    /** The number at the start of the text in the form juce::String::getDoubleValue
        reads (0 when there is none), converted exactly: an exponent of any length, a zero
        with a large exponent and a long fraction all give the correctly rounded value,
        where JUCE's own reading overflows or drifts. */
    double readNumber (const juce::String& text);

    /** True when the text has a processing instruction ("<?...") anywhere but in its
        leading XML declaration. JUCE's reader never returns from one that is followed by
        text inside an element ("<a><?p?>b</a>"); no stored document has any. */
    bool hasProcessingInstruction (const juce::String& text);

    /** The text's document element, or nullptr when it is not XML or has a processing
        instruction past its declaration. */
    std::unique_ptr<juce::XmlElement> parseDocument (const juce::String& text);

    /** The XML element in a block laid out as juce::AudioProcessor::copyXmlToBinary
        writes it, read as getXmlFromBinary reads it, but only from valid UTF-8. */
    std::unique_ptr<juce::XmlElement> xmlFromStoredBlock (const void* data, int sizeInBytes);
}
