#include <juce_audio_processors/juce_audio_processors.h>

#include <gtest/gtest.h>

namespace
{
    std::unique_ptr<juce::AudioPluginInstance> loadVst3 (juce::String& error)
    {
        juce::VST3PluginFormat format;
        juce::OwnedArray<juce::PluginDescription> types;
        format.findAllTypesForFile (types, VELORA_VST3_BUNDLE);

        if (types.isEmpty())
        {
            error = "no plug-in found in " VELORA_VST3_BUNDLE;
            return nullptr;
        }

        return format.createInstanceFromDescription (*types[0], 48000.0, 512, error);
    }
}

TEST (PluginLoad, Vst3ShowsTheFortyOneParameters)
{
    juce::String error;
    auto instance = loadVst3 (error);
    ASSERT_NE (instance, nullptr) << error;

    EXPECT_EQ (instance->getName(), "Velora");

    // The plug-in's 41 come first; the VST3 wrapper appends its own host bypass and
    // program-change controls.
    const auto& params = instance->getParameters();
    ASSERT_EQ (params.size(), 43);
    EXPECT_EQ (params[41]->getName (100), "Bypass");
    EXPECT_EQ (params[42]->getName (100), "Program");

    EXPECT_EQ (params[0]->getName (100), "compThreshold");
    EXPECT_EQ (params[4]->getName (100), "LowFreq");
    EXPECT_EQ (params[22]->getName (100), "LPHP_In");
    EXPECT_EQ (params[40]->getName (100), "phaseInvert");
}
