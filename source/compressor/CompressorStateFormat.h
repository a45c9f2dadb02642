#pragma once

#include <juce_core/juce_core.h>

namespace compressor
{

/** The XML text of a state block in the layout of juce::AudioProcessor::copyXmlToBinary:
    a 4-byte marker (not checked), the text length as a little-endian 32-bit int, the UTF-8
    text. A negative length means "up to the terminating 0 byte".

    Never reads outside the block: the text ends at the block's end at the latest, and a
    block too short for the header (or no block) gives the empty text.
*/
juce::String extractStateText (const void* data, int sizeInBytes);

/** A program number read the way the C library's atoi reads it (leading blanks, a sign,
    digits; 0 when there are none); -1 for a number that does not fit an int.
*/
int parseProgramNumber (const juce::String& text);

} // namespace compressor
