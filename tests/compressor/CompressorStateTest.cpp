// The compressor's own state document: round trip, layout, reading defaults, and blocks
// that are short, lie about their length, hold no XML or name a program outside the bank.

#include "compressor/CompressorFilter.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <functional>
#include <vector>

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")

using compressor::CompressorFilter;

namespace
{
    const int storedIndices[] = { 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 12, 13, 14, 15 };
    const int programIndices[] = { 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 12, 15 };

    /** Program 2 selected, every stored value away from its default. */
    void makeKnown (CompressorFilter& c)
    {
        c.setCurrentProgram (2);
        const float values[] = { 0.11f, 0.22f, 0.33f, 0.44f, 0.55f, 0.66f, 0.25f, 0.77f, 0.88f };
        for (int i = 0; i < 9; ++i)
            c.setParameter (i, values[i]);

        c.setParameter (9, 1.0f);
        c.setParameter (12, 0.0f);
        c.setParameter (13, 1.0f);
        c.setParameter (14, 1.0f);
        c.setParameter (15, 1.0f);
        c.changeProgramName (5, "Drums");
    }

    /** A state to load: other values again, program 6. */
    juce::MemoryBlock sourceState (const juce::String& programText = "6")
    {
        CompressorFilter source;
        source.setCurrentProgram (6);
        const float values[] = { 0.9f, 0.05f, 0.125f, 0.7f, 0.3f, 0.4f, 0.75f, 0.1f, 0.2f };
        for (int i = 0; i < 9; ++i)
            source.setParameter (i, values[i]);

        source.setParameter (9, 0.0f);
        source.setParameter (12, 1.0f);
        source.setParameter (13, 0.0f);
        source.setParameter (14, 0.0f);
        source.setParameter (15, 0.0f);

        juce::MemoryBlock block;
        source.getStateInformation (block);

        if (programText == "6")
            return block;

        // The same document with another program number.
        auto xml = juce::AudioProcessor::getXmlFromBinary (block.getData(), (int) block.getSize());
        xml->setAttribute ("curProgram", programText);
        juce::MemoryBlock changed;
        juce::AudioProcessor::copyXmlToBinary (*xml, changed);
        return changed;
    }

    juce::String textOf (const juce::MemoryBlock& block)
    {
        return juce::String::fromUTF8 (static_cast<const char*> (block.getData()) + 8, (int) block.getSize() - 9);
    }

    /** Marker, little-endian length field, the text's bytes, optionally a 0 byte. */
    std::vector<char> layout (const juce::String& text, int lengthField, bool terminated)
    {
        std::vector<char> bytes { 'V', 'C', '2', '!' };
        for (int i = 0; i < 4; ++i)
            bytes.push_back ((char) (((unsigned) lengthField >> (8 * i)) & 0xff));

        const auto* utf8 = text.toRawUTF8();
        bytes.insert (bytes.end(), utf8, utf8 + std::strlen (utf8));

        if (terminated)
            bytes.push_back (0);

        return bytes;
    }

    struct Snapshot
    {
        std::array<float, 16> values {};
        int program = 0;
        std::array<std::array<float, 12>, 10> slots {};
        std::array<juce::String, 10> names;

        bool operator== (const Snapshot& o) const
        {
            return values == o.values && program == o.program && slots == o.slots && names == o.names;
        }
    };

    /** Everything observable, the program slots included; visiting the slots changes the
        current program, so take it last.
    */
    Snapshot snapshotOf (CompressorFilter& c)
    {
        Snapshot s;
        for (int i = 0; i < 16; ++i)
            s.values[(size_t) i] = c.getParameter (i);
        s.program = c.getCurrentProgram();

        for (int p = 0; p < 10; ++p)
        {
            s.names[(size_t) p] = c.getProgramName (p);
            c.setCurrentProgram (p);
            for (size_t i = 0; i < 12; ++i)
                s.slots[(size_t) p][i] = c.getParameter (programIndices[i]);
        }

        return s;
    }

    void expectLoadedSource (CompressorFilter& c, int expectedProgram)
    {
        CompressorFilter source;
        const auto block = sourceState();
        source.setStateInformation (block.getData(), (int) block.getSize());

        for (int i : storedIndices)
            EXPECT_EQ (c.getParameter (i), source.getParameter (i)) << "index " << i;

        EXPECT_EQ (c.getCurrentProgram(), expectedProgram);

        // The nine values also went into the program that was current after loading.
        c.setCurrentProgram ((expectedProgram + 1) % 10);
        c.setCurrentProgram (expectedProgram);
        for (int i = 0; i < 9; ++i)
            EXPECT_EQ (c.getParameter (i), source.getParameter (i)) << "program slot, index " << i;
    }
}

TEST (CompressorState, RoundTripRestoresEveryValueAndTheProgramNumber)
{
    CompressorFilter source;
    makeKnown (source);
    source.setCurrentProgram (4);
    const float values[] = { 0.123f, 0.987f, 0.5f, 0.01f, 0.99f, 0.31f, 1.0f, 0.6f, 0.45f };
    for (int i = 0; i < 9; ++i)
        source.setParameter (i, values[i]);

    juce::MemoryBlock block;
    source.getStateInformation (block);

    CompressorFilter target, untouched;
    target.setStateInformation (block.getData(), (int) block.getSize());

    for (int i : storedIndices)
        EXPECT_EQ (target.getParameter (i), source.getParameter (i)) << "index " << i;

    EXPECT_EQ (target.getCurrentProgram(), 4);

    // Program 4 holds the loaded values; the other slots and all names are as they were.
    auto loaded = snapshotOf (target);
    const auto fresh = snapshotOf (untouched);

    for (int p = 0; p < 10; ++p)
    {
        EXPECT_EQ (loaded.names[(size_t) p], "Init");

        if (p != 4)
        {
            EXPECT_EQ (loaded.slots[(size_t) p], fresh.slots[(size_t) p]) << "program " << p;
        }
    }

    for (int i = 0; i < 9; ++i)
        EXPECT_EQ (loaded.slots[4][(size_t) i], values[i]);
}

TEST (CompressorState, TheDocumentListsItsAttributesInOrder)
{
    CompressorFilter c;
    makeKnown (c);
    juce::MemoryBlock block;
    c.getStateInformation (block);

    const auto xml = juce::AudioProcessor::getXmlFromBinary (block.getData(), (int) block.getSize());
    ASSERT_NE (xml, nullptr);
    EXPECT_EQ (xml->getTagName(), "MYPLUGINSETTINGS");
    EXPECT_EQ (xml->getNumChildElements(), 0);

    const char* expected[] = { "pluginVersion", "threshold", "ratio", "level", "attack", "release", "mix",
                               "filtertype", "freq", "width", "filteredsolo", "sidechain", "curProgram",
                               "bypass", "GR", "softknee" };
    ASSERT_EQ (xml->getNumAttributes(), 16);

    for (int i = 0; i < 16; ++i)
        EXPECT_EQ (xml->getAttributeName (i), expected[i]);

    EXPECT_EQ (xml->getStringAttribute ("pluginVersion"), "1");
    EXPECT_EQ (xml->getStringAttribute ("curProgram"), "2");
    EXPECT_EQ (xml->getStringAttribute ("filteredsolo"), "1");
    EXPECT_EQ (xml->getStringAttribute ("sidechain"), "0");
    EXPECT_EQ ((float) xml->getDoubleAttribute ("threshold"), 0.11f);
}

TEST (CompressorState, TheMarkerIsNotChecked)
{
    auto block = sourceState();
    std::memcpy (block.getData(), "JUNK", 4);

    CompressorFilter c;
    makeKnown (c);
    c.setStateInformation (block.getData(), (int) block.getSize());

    expectLoadedSource (c, 6);
}

TEST (CompressorState, OnlyAProgramNumberLoadsTheDefaults)
{
    CompressorFilter c;
    makeKnown (c); // filtered solo on, bypass, GR and soft knee on, key mode off

    const auto bytes = layout ("<MYPLUGINSETTINGS curProgram=\"3\"/>", 34, true);
    c.setStateInformation (bytes.data(), (int) bytes.size());

    EXPECT_EQ (c.getCurrentProgram(), 3);

    for (int i = 0; i < 9; ++i)
        EXPECT_EQ (c.getParameter (i), 0.5f) << i;

    EXPECT_EQ (c.getParameter (9), 1.0f);   // filtered solo keeps its value
    EXPECT_EQ (c.getParameter (12), 1.0f);  // a missing key-mode attribute switches it on
    EXPECT_EQ (c.getParameter (13), 0.0f);
    EXPECT_EQ (c.getParameter (14), 0.0f);
    EXPECT_EQ (c.getParameter (15), 0.0f);

    c.setCurrentProgram (0);
    c.setCurrentProgram (3);
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ (c.getParameter (i), 0.5f) << "program 3, index " << i;
}

struct BoolCase
{
    const char* text;
    bool on;
};

class CompressorStateBooleans : public ::testing::TestWithParam<BoolCase> {};

TEST_P (CompressorStateBooleans, ReadTheFirstCharacter)
{
    const auto c = GetParam();
    const juce::String text = "<MYPLUGINSETTINGS bypass=\"" + juce::String (c.text) + "\" GR=\"" + c.text
                            + "\" softknee=\"" + c.text + "\"/>";
    const auto bytes = layout (text, -1, true);

    CompressorFilter compressor;
    compressor.setStateInformation (bytes.data(), (int) bytes.size());

    EXPECT_EQ (compressor.getParameter (13), c.on ? 1.0f : 0.0f);
    EXPECT_EQ (compressor.getParameter (14), c.on ? 1.0f : 0.0f);
    EXPECT_EQ (compressor.getParameter (15), c.on ? 1.0f : 0.0f);
}

INSTANTIATE_TEST_SUITE_P (Texts, CompressorStateBooleans, ::testing::Values (
    BoolCase { "yes", true }, BoolCase { "1", true }, BoolCase { " True", true }, BoolCase { "Y", true },
    BoolCase { "0", false }, BoolCase { "no", false }, BoolCase { "", false }, BoolCase { "on", false }));

TEST (CompressorState, LoadingKeepsTheDetectorAndTheFilterMemory)
{
    CompressorFilter c;
    c.setParameter (14, 1.0f);
    c.prepareToPlay (44100.0, 512);
    c.setParameter (6, 0.25f);

    juce::AudioBuffer<float> audio (2, 1024);
    for (int i = 0; i < 1024; ++i)
    {
        audio.setSample (0, i, 0.8f * (float) std::sin (0.02 * i));
        audio.setSample (1, i, 0.5f);
    }

    juce::MidiBuffer midi;
    c.processBlock (audio, midi);

    const float envelope = c.getEnvelope();
    const auto resets = c.getWorkingValues().detectorResetGeneration;
    ASSERT_GT (envelope, 0.0f);

    const auto block = sourceState(); // filter type 0.75: another design
    c.setStateInformation (block.getData(), (int) block.getSize());

    EXPECT_EQ (c.getParameter (6), 0.75f);
    EXPECT_EQ (c.getEnvelope(), envelope);
    EXPECT_EQ (c.getWorkingValues().detectorResetGeneration, resets);
}

//==============================================================================
namespace
{
    enum class Outcome
    {
        nothingChanges,
        programOnly,       // only the program number changes, to expectedProgram
        loadsTheDocument   // the source document's values, program expectedProgram
    };

    struct MalformedCase
    {
        const char* name;
        std::function<std::vector<char>()> bytes;
        bool nullData;
        Outcome outcome;
        int expectedProgram;
    };

    std::ostream& operator<< (std::ostream& os, const MalformedCase& c) { return os << c.name; }

    std::vector<char> sourceBytes (const juce::String& programText)
    {
        const auto block = sourceState (programText);
        const auto* data = static_cast<const char*> (block.getData());
        return { data, data + block.getSize() };
    }

    const juce::String otherTag = "<OTHERSETTINGS curProgram=\"4\" threshold=\"0.9\" bypass=\"0\"/>";

    const MalformedCase malformedCases[] = {
        { "noData",              [] { return std::vector<char>(); }, true, Outcome::nothingChanges, 0 },
        { "empty",               [] { return std::vector<char>(); }, false, Outcome::nothingChanges, 0 },
        { "threeBytes",          [] { return std::vector<char> { 'V', 'C', '2' }; }, false, Outcome::nothingChanges, 0 },
        { "headerWithLengthZero", [] { return layout ({}, 0, false); }, false, Outcome::nothingChanges, 0 },
        { "sevenBytes",          [] { auto b = layout ({}, -1, false); b.pop_back(); return b; }, false, Outcome::nothingChanges, 0 },
        { "negativeLengthNoZeroByte", [] { return layout (textOf (sourceState()), -1, false); }, false, Outcome::loadsTheDocument, 6 },
        { "negativeLengthJunkNoZeroByte", [] { return layout ("<<<", -7, false); }, false, Outcome::nothingChanges, 0 },
        { "lengthBeyondTheBlock", [] { return layout (textOf (sourceState()), 0x7fffffff, true); }, false, Outcome::loadsTheDocument, 6 },
        { "textCutShort",        [] { auto b = sourceBytes ("6"); b.resize (b.size() / 2); return b; }, false, Outcome::nothingChanges, 0 },
        { "junkText",            [] { return layout ("this is not a state", 19, true); }, false, Outcome::nothingChanges, 0 },
        { "processingInstruction", [] { return layout ("<MYPLUGINSETTINGS curProgram=\"4\"><?p?>text</MYPLUGINSETTINGS>", 61, true); }, false, Outcome::nothingChanges, 0 },
        { "invalidUtf8",         [] { return layout ("\xff\xfe<MYPLUGINSETTINGS/>\xf0", 24, false); }, false, Outcome::nothingChanges, 0 },
        { "otherTagWithProgram4", [] { return layout (otherTag, otherTag.getNumBytesAsUTF8(), true); }, false, Outcome::programOnly, 4 },
        { "program12",           [] { return sourceBytes ("12"); }, false, Outcome::loadsTheDocument, 2 },
        { "programMinus1",       [] { return sourceBytes ("-1"); }, false, Outcome::loadsTheDocument, 2 },
        { "programBeyondInt",    [] { return sourceBytes ("99999999999999999999"); }, false, Outcome::loadsTheDocument, 2 },
    };
}

class CompressorMalformedState : public ::testing::TestWithParam<MalformedCase> {};

TEST_P (CompressorMalformedState, NeverReadsOutsideTheBlockNorWritesOutsideTheBank)
{
    const auto& c = GetParam();

    // The bytes live in a block of exactly their size, so reading past it is caught by
    // the address sanitiser or valgrind.
    const auto bytes = c.bytes();
    std::unique_ptr<char[]> exact (bytes.empty() ? nullptr : new char[bytes.size()]);
    if (! bytes.empty())
        std::memcpy (exact.get(), bytes.data(), bytes.size());

    CompressorFilter loaded, twin;
    makeKnown (loaded);
    makeKnown (twin);

    char dummy = 0;
    const void* data = c.nullData ? nullptr : (exact != nullptr ? (const void*) exact.get() : (const void*) &dummy);
    loaded.setStateInformation (data, (int) bytes.size());

    switch (c.outcome)
    {
        case Outcome::nothingChanges:
            EXPECT_TRUE (snapshotOf (loaded) == snapshotOf (twin));
            break;

        case Outcome::programOnly:
        {
            EXPECT_EQ (loaded.getCurrentProgram(), c.expectedProgram);

            for (int i = 0; i < 16; ++i)
                EXPECT_EQ (loaded.getParameter (i), twin.getParameter (i)) << "index " << i;

            const auto a = snapshotOf (loaded), b = snapshotOf (twin);
            EXPECT_EQ (a.slots, b.slots);
            EXPECT_EQ (a.names, b.names);
            break;
        }

        case Outcome::loadsTheDocument:
            expectLoadedSource (loaded, c.expectedProgram);
            break;
    }
}

INSTANTIATE_TEST_SUITE_P (Blocks, CompressorMalformedState, ::testing::ValuesIn (malformedCases),
    [] (const ::testing::TestParamInfo<MalformedCase>& caseInfo) { return std::string (caseInfo.param.name); });

JUCE_END_IGNORE_WARNINGS_GCC_LIKE
