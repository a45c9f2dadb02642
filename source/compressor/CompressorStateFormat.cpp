#include "CompressorStateFormat.h"
#include "common/StoredText.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace compressor
{

juce::String extractStateText (const void* data, int sizeInBytes)
{
    constexpr int headerSize = 8;

    if (data == nullptr || sizeInBytes < headerSize)
        return {};

    const auto* bytes = static_cast<const char*> (data);
    const auto length = (int) juce::ByteOrder::littleEndianInt (bytes + 4);
    const auto* text = bytes + headerSize;
    const int available = sizeInBytes - headerSize;

    if (length < 0)
    {
        const auto* terminator = static_cast<const char*> (std::memchr (text, 0, (size_t) available));
        return StoredText::fromUtf8 (text, terminator != nullptr ? (int) (terminator - text) : available);
    }

    return StoredText::fromUtf8 (text, std::min (length, available));
}

int parseProgramNumber (const juce::String& text)
{
    errno = 0;
    const long value = std::strtol (text.toRawUTF8(), nullptr, 10);

    if (errno == ERANGE || value < INT_MIN || value > INT_MAX)
        return -1;

    return (int) value;
}

} // namespace compressor
