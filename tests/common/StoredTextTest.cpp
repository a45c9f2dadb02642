#include "common/StoredText.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <utility>
#include <memory>
#include <string>

namespace
{
    struct TextCase
    {
        const char* name;
        std::string bytes;
        const char* expected;   ///< the text, as UTF-8; empty when refused
    };

    /** The bytes in a heap block of exactly their size, so reading past it is caught. */
    std::unique_ptr<char[]> exactCopy (const std::string& bytes)
    {
        auto copy = std::make_unique<char[]> (bytes.size() + 1);
        std::memcpy (copy.get(), bytes.data(), bytes.size());
        return copy;
    }
}

class StoredTextBytes : public ::testing::TestWithParam<TextCase> {};

TEST_P (StoredTextBytes, GivesValidTextOrNothing)
{
    const auto& c = GetParam();
    const auto copy = exactCopy (c.bytes);
    EXPECT_EQ (StoredText::fromUtf8 (copy.get(), (int) c.bytes.size()), juce::String::fromUTF8 (c.expected));
}

INSTANTIATE_TEST_SUITE_P (Cases, StoredTextBytes, ::testing::Values (
    TextCase { "plain", "<PLUGINSETTINGS/>", "<PLUGINSETTINGS/>" },
    TextCase { "multiByte", "caf\xc3\xa9 \xe2\x82\xac", "caf\xc3\xa9 \xe2\x82\xac" },
    TextCase { "stopsAtZero", std::string ("ab\0cd", 5), "ab" },
    TextCase { "leadByteAtTheEnd", "abc\xe2", "" },
    TextCase { "leadBytesBeforeText", "<a>\xff\xff\xff\xff\xff\xff\xff<b>", "" },
    TextCase { "continuationWithoutLead", "a\x80z", "" },
    TextCase { "beyondUnicode", "\xf4\x90\x80\x80", "" },
    TextCase { "overlongTwoBytes", "a\xc1\xac" "b", "" },
    TextCase { "overlongThreeBytes", "\xe0\x80\xaf", "" },
    TextCase { "overlongFourBytes", "\xf0\x80\x80\xaf", "" },
    TextCase { "surrogate", "\xed\xa0\x80", "" },
    TextCase { "largestCodePoint", "\xf4\x8f\xbf\xbf", "\xf4\x8f\xbf\xbf" },
    TextCase { "empty", "", "" }),
    [] (const auto& testInfo) { return std::string (testInfo.param.name); });

TEST (StoredText, ReadsOnlyWhatTheBlockHolds)
{
    EXPECT_TRUE (StoredText::fromUtf8 (nullptr, 10).isEmpty());
    EXPECT_EQ (StoredText::fromUtf8 ("abcdef", 3), "abc");
}

TEST (StoredText, StoredBlockAsTheFrameworkWritesIt)
{
    juce::XmlElement element ("PLUGINSETTINGS");
    element.setAttribute ("currentProgram", 3);
    juce::MemoryBlock block;
    juce::AudioProcessor::copyXmlToBinary (element, block);

    const auto xml = StoredText::xmlFromStoredBlock (block.getData(), (int) block.getSize());
    ASSERT_NE (xml, nullptr);
    EXPECT_TRUE (xml->isEquivalentTo (&element, false));

    // The same block with one byte of its text broken is refused whole.
    static_cast<char*> (block.getData())[12] = (char) 0xff;
    EXPECT_EQ (StoredText::xmlFromStoredBlock (block.getData(), (int) block.getSize()), nullptr);

    // A wrong marker, a header alone and no block give nothing.
    juce::MemoryBlock wrongMarker (block);
    static_cast<char*> (wrongMarker.getData())[0] = 'X';
    EXPECT_EQ (StoredText::xmlFromStoredBlock (wrongMarker.getData(), (int) wrongMarker.getSize()), nullptr);
    EXPECT_EQ (StoredText::xmlFromStoredBlock (block.getData(), 8), nullptr);
    EXPECT_EQ (StoredText::xmlFromStoredBlock (nullptr, 100), nullptr);
}

TEST (StoredText, RefusesProcessingInstructionsPastTheDeclaration)
{
    // JUCE's reader would never return from these; each must come back at once.
    for (const char* text : { "<a><?p?>b</a>", "<a>b<?p?>b</a>", "<?xml version=\"1.0\"?><a><?xml ?>b</a>", "<?xml version=\"1.0\"" })
    {
        EXPECT_TRUE (StoredText::hasProcessingInstruction (text)) << text;
        EXPECT_EQ (StoredText::parseDocument (text), nullptr) << text;
    }

    for (const char* text : { "<a>b</a>", "  <?xml version=\"1.0\" encoding=\"UTF-8\"?>\n\n<PLUGINSETTINGS/>", "<a v=\"?\"/>" })
    {
        EXPECT_FALSE (StoredText::hasProcessingInstruction (text)) << text;
        EXPECT_NE (StoredText::parseDocument (text), nullptr) << text;
    }
}

TEST (StoredText, ReadsNumbersAsTheFrameworkDoesWithoutOverflowingTheExponent)
{
    const auto infinity = std::numeric_limits<double>::infinity();

    const std::pair<const char*, double> cases[] = {
        { "0.5", 0.5 }, { "  0.25", 0.25 }, { "1e-3", 0.001 }, { "+7.5E+1", 75.0 }, { "0.5xyz", 0.5 },
        { "abc", 0.0 }, { "", 0.0 }, { "1e0000000000000000001", 10.0 },
        // What these mean, not what JUCE's reading makes of them (a wrapped exponent
        // counter, or an infinite zero).
        { "1e4000000150", infinity }, { "-2.5e4000000150", -infinity }, { "1e-4000000150", 0.0 },
        { "0e99999999999", 0.0 }, { "0.000e+99999999999", 0.0 }, { "0e+400", 0.0 }, { "-0.0e999", -0.0 },
        { "0.0000000000000004798461846823340658", 4.798461846823340658e-16 }, { "1e", 1.0 }, { "-", 0.0 }, { ".", 0.0 },
        { "1.5.5", 1.5 }
    };

    for (const auto& [text, expected] : cases)
        EXPECT_EQ (StoredText::readNumber (text), expected) << text;

    // Where the framework reads a number right, the reading is the same.
    for (const char* text : { "0.5", "  0.25", "1e-3", "+7.5E+1", "0.5xyz", "abc", "", "3.25e-2", "1e300", "0.18520000576972961" })
        EXPECT_EQ (StoredText::readNumber (text), juce::String (text).getDoubleValue()) << text;
}
