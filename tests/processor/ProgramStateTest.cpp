#include "ProcessorTestSupport.h"
#include "compressor/CompressorFilter.h"
#include "eq/OrvelEqAudioProcessor.h"

#include <gtest/gtest.h>

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")

using namespace testing_support;

namespace
{
    std::unique_ptr<juce::XmlElement> storedDocument (VeloraAudioProcessor& p)
    {
        juce::MemoryBlock block;
        p.getStateInformation (block);
        return juce::AudioProcessor::getXmlFromBinary (block.getData(), (int) block.getSize());
    }

    juce::MemoryBlock wrap (const juce::String& xmlText)
    {
        juce::MemoryBlock block;
        juce::AudioProcessor::copyXmlToBinary (*juce::parseXML (xmlText), block);
        return block;
    }

    /** Text stored as the framework lays it out, byte for byte (no XML round trip). */
    juce::MemoryBlock storedBytes (const std::string& text)
    {
        juce::MemoryBlock block;
        const juce::uint32 header[] = { juce::ByteOrder::swapIfBigEndian ((juce::uint32) 0x21324356),
                                        juce::ByteOrder::swapIfBigEndian ((juce::uint32) text.size()) };
        block.append (header, sizeof (header));
        block.append (text.data(), text.size());
        return block;
    }

    std::vector<float> hostValues (VeloraAudioProcessor& p)
    {
        std::vector<float> v;
        for (auto* param : p.getParameters())
            v.push_back (param->getValue());
        return v;
    }

    /** Sets a handful of parameters of every kind away from their defaults. */
    void changeSettings (VeloraAudioProcessor& p)
    {
        setHostValue (p, "compThreshold", 0.25f);
        setHostValue (p, "compRelease", 0.9f);
        setHostValue (p, "LowGain", 0.8125f);
        setHostValue (p, "HighMidQ", 0.75f);
        setHostValue (p, "LPHP_In", 0.0f);
        setHostValue (p, "gateRange", 0.1f);
        setHostValue (p, "outputGain", 0.6f);
        setHostValue (p, "compOn", 1.0f);
        setHostValue (p, "oversampling", 0.0f);
    }
}

TEST (ProgramState, NewDocumentHoldsTheDefaults)
{
    VeloraAudioProcessor p;
    const auto xml = storedDocument (p);

    ASSERT_NE (xml, nullptr);
    EXPECT_EQ (xml->getTagName(), "PLUGINSETTINGS");
    EXPECT_EQ (xml->getIntAttribute ("currentProgram", -1), 0);

    const auto* tree = xml->getChildByName ("PARAMETERS");
    ASSERT_NE (tree, nullptr);
    ASSERT_EQ (tree->getNumChildElements(), 41);

    for (const auto* param : tree->getChildWithTagNameIterator ("PARAM"))
    {
        auto* parameter = p.getParameterTree().getParameter (param->getStringAttribute ("id"));
        ASSERT_NE (parameter, nullptr);
        EXPECT_EQ ((float) param->getDoubleAttribute ("value"), parameter->getDefaultValue()) << parameter->getName (100);
    }
}

TEST (ProgramState, AnEmptySlotZeroesEverythingThroughToTheEngines)
{
    VeloraAudioProcessor p;
    p.setCurrentProgram (5);

    EXPECT_EQ (p.getCurrentProgram(), 5);
    for (auto* param : p.getParameters())
        EXPECT_EQ (param->getValue(), 0.0f) << param->getName (100);

    EXPECT_EQ (p.getEqEngine().getParameter (22), 0.0f); // "HF_In"
    EXPECT_EQ (p.getCompressorEngine().getParameter (0), 0.0f);
    EXPECT_EQ (storedDocument (p)->getIntAttribute ("currentProgram"), 5);
}

TEST (ProgramState, DefaultSlotsRestoreTheDefaultsThroughToTheEngines)
{
    VeloraAudioProcessor p;
    const auto defaults = hostValues (p);
    changeSettings (p);

    p.setCurrentProgram (1);

    EXPECT_EQ (hostValues (p), defaults);
    EXPECT_EQ (p.getEqEngine().getParameter (1), 0.5f);
    EXPECT_EQ (p.getEqEngine().getParameter (18), 1.0f);
    EXPECT_EQ (p.getCompressorEngine().getParameter (0), 0.6f);
    EXPECT_EQ (p.getCompressorEngine().getParameter (4), 0.5f);
}

TEST (ProgramState, NamesAndOutOfRangeNumbers)
{
    VeloraAudioProcessor p;
    const auto before = hostValues (p);

    p.changeProgramName (3, "Drums");
    EXPECT_EQ (p.getProgramName (3), "Drums");
    EXPECT_EQ (p.getProgramName (4), juce::String());
    EXPECT_EQ (hostValues (p), before);

    // Numbers outside 0..19 are ignored.
    p.setCurrentProgram (20);
    p.setCurrentProgram (-1);
    p.changeProgramName (25, "x");
    EXPECT_EQ (p.getCurrentProgram(), 0);
    EXPECT_EQ (p.getProgramName (25), juce::String());
    EXPECT_EQ (hostValues (p), before);
    EXPECT_EQ (p.getNumPrograms(), 20);
}

TEST (ProgramState, RoundTripIntoANewInstanceReachesTheEngines)
{
    VeloraAudioProcessor original;
    changeSettings (original);
    original.setCurrentProgram (2);
    changeSettings (original);

    juce::MemoryBlock block;
    original.getStateInformation (block);

    VeloraAudioProcessor restored;
    restored.setStateInformation (block.getData(), (int) block.getSize());

    EXPECT_EQ (hostValues (restored), hostValues (original));
    EXPECT_EQ (restored.getCurrentProgram(), 2);

    for (int i = 0; i < 25; ++i)
        EXPECT_EQ (restored.getEqEngine().getParameter (i), original.getEqEngine().getParameter (i)) << i;
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ (restored.getCompressorEngine().getParameter (i), original.getCompressorEngine().getParameter (i)) << i;

    // The program variant carries the same document.
    juce::MemoryBlock programBlock;
    original.getCurrentProgramStateInformation (programBlock);
    EXPECT_EQ (programBlock, block);
}

class RestoredAudio : public ::testing::TestWithParam<bool> {};

TEST_P (RestoredAudio, RestoredStateGivesTheSameAudio)
{
    // With or without changes: a restore must not disturb the values it finds current
    // (the engines hold some defaults more exactly than a stored value can).
    const bool changed = GetParam();
    auto original = makeProcessor (2, 48000.0, 256, true);

    if (changed)
    {
        changeSettings (*original);
        setHostValue (*original, "compOn", 1.0f);
        setHostValue (*original, "gateOn", 1.0f);
    }

    juce::MemoryBlock block;
    original->getStateInformation (block);

    auto restored = makeProcessor (2, 48000.0, 256, true);
    restored->setStateInformation (block.getData(), (int) block.getSize());
    restored->prepareToPlay (48000.0, 256);
    original->prepareToPlay (48000.0, 256);

    for (int b = 0; b < 4; ++b)
    {
        juce::AudioBuffer<float> x (2, 256), y (2, 256);
        fillSine (x, 440.0, 48000.0, 0.5f, b * 256);
        y.makeCopyOf (x);
        process (*original, x);
        process (*restored, y);
        ASSERT_TRUE (bitIdentical (x, y)) << "block " << b;
    }
}

INSTANTIATE_TEST_SUITE_P (DefaultsAndChanges, RestoredAudio, ::testing::Bool());

struct MalformedCase
{
    const char* name;
    juce::MemoryBlock block;
};

class MalformedState : public ::testing::TestWithParam<MalformedCase> {};

TEST_P (MalformedState, LoadsWhatIsValidAndKeepsTheRest)
{
    VeloraAudioProcessor p;
    setHostValue (p, "LowGain", 0.7f);
    setHostValue (p, "compRatio", 0.9f);

    const auto& block = GetParam().block;
    p.setStateInformation (block.getData(), (int) block.getSize());

    // Only the one valid entry of the mixed documents lands; everything else stays.
    EXPECT_EQ (hostValue (p, "compRatio"), 0.9f);
    EXPECT_EQ (p.getCompressorEngine().getParameter (1), 0.9f);
    EXPECT_EQ (hostValue (p, "LowGain"), juce::String (GetParam().name).startsWith ("mixed") ? 0.25f : 0.7f);
    EXPECT_EQ (p.getCurrentProgram(), 0);
}

namespace
{
    juce::MemoryBlock bytes (std::initializer_list<int> b)
    {
        juce::MemoryBlock m;
        for (int v : b)
            m.append (&v, 1);
        return m;
    }

    const char* mixedDocument = R"(<PLUGINSETTINGS currentProgram="20"><PARAMETERS>
        <PARAM id="LowGain" value="0.25"/>
        <PARAM id="compRatio" value="1.5"/>
        <PARAM id="compRatio" value="-0.1"/>
        <PARAM id="compRatio" value="abc"/>
        <PARAM id="compRatio" value=""/>
        <PARAM id="compRatio"/>
        <PARAM id="noSuchParameter" value="0.5"/>
        <PARAM value="0.5"/>
        </PARAMETERS></PLUGINSETTINGS>)";
}

INSTANTIATE_TEST_SUITE_P (Blocks, MalformedState, ::testing::Values (
    MalformedCase { "empty", juce::MemoryBlock() },
    MalformedCase { "short", bytes ({ 0x56, 0x43, 0x32 }) },
    MalformedCase { "headerOnly", bytes ({ 0x56, 0x43, 0x32, 0x21, 0, 0, 0, 0 }) },
    MalformedCase { "lengthPastTheEnd", bytes ({ 0x56, 0x43, 0x32, 0x21, 100, 0, 0, 0, '<', 'P' }) },
    MalformedCase { "notXml", juce::MemoryBlock ("not a state at all, just text", 29) },
    MalformedCase { "otherTag", wrap (R"(<MYPLUGINSETTINGS currentProgram="3" LowGain="0.1"/>)") },
    MalformedCase { "noTree", wrap (R"(<PLUGINSETTINGS currentProgram="x"/>)") },
    MalformedCase { "negativeProgram", wrap (R"(<PLUGINSETTINGS currentProgram="-1"><PARAMETERS/></PLUGINSETTINGS>)") },
    MalformedCase { "brokenUtf8", storedBytes ("<PLUGINSETTINGS currentProgram=\"7\"><PARAMETERS><PARAM id=\"LowGain\" value=\"0.25\"/>\xff\xff\xff\xff\xff\xff\xff</PARAMETERS></PLUGINSETTINGS>") },
    MalformedCase { "processingInstructionInsideAnElement", storedBytes (R"(<PLUGINSETTINGS currentProgram="7"><PARAMETERS><PARAM id="LowGain" value="0.25"/><?p?>text</PARAMETERS></PLUGINSETTINGS>)") },
    MalformedCase { "programPastTwoToThe32", wrap (R"(<PLUGINSETTINGS currentProgram="4294967301"><PARAMETERS/></PLUGINSETTINGS>)") },
    MalformedCase { "mixed", wrap (mixedDocument) }),
    [] (const auto& testInfo) { return std::string (testInfo.param.name); });

TEST (ProgramState, StoredDocumentIsTheParameterTreeOfTheFramework)
{
    // The document is made from the parameter values (safe on any thread); it must be the
    // one the parameter tree itself would give, at defaults and after changes.
    VeloraAudioProcessor p;
    juce::Random random (5);

    for (int round = 0; round < 3; ++round)
    {
        juce::MemoryBlock block;
        p.getStateInformation (block);
        const auto stored = juce::AudioProcessor::getXmlFromBinary (block.getData(), (int) block.getSize());
        const auto tree = p.getParameterTree().copyState().createXml();

        ASSERT_NE (stored, nullptr);
        ASSERT_NE (stored->getFirstChildElement(), nullptr);
        EXPECT_EQ (stored->getFirstChildElement()->toString(), tree->toString()) << "round " << round;

        for (auto* parameter : p.getParameters())
            parameter->setValueNotifyingHost (random.nextFloat());
    }
}

TEST (ProgramState, OlderDocumentWithoutSomeIdsKeepsTheirValues)
{
    VeloraAudioProcessor p;
    setHostValue (p, "gateRelease", 0.9f);

    const auto block = wrap (R"(<PLUGINSETTINGS currentProgram="7"><PARAMETERS><PARAM id="MidGain" value="0.125"/></PARAMETERS></PLUGINSETTINGS>)");
    p.setStateInformation (block.getData(), (int) block.getSize());

    EXPECT_EQ (hostValue (p, "MidGain"), 0.125f);
    EXPECT_EQ (p.getEqEngine().getParameter (6), 0.125f);
    EXPECT_EQ (hostValue (p, "gateRelease"), 0.9f);
    EXPECT_EQ (p.getCurrentProgram(), 7);
}

JUCE_END_IGNORE_WARNINGS_GCC_LIKE
