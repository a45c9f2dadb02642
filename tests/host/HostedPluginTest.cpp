#include "HostedPlugin.h"
#include "processor/VeloraAudioProcessor.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace host_support;

namespace
{
    constexpr juce::int64 seed = 20261211;

    juce::StringArray hostIds()
    {
        VeloraAudioProcessor reference;
        juce::StringArray ids;
        for (auto* p : reference.getParameters())
            ids.add (p->getName (100));
        return ids;
    }

    struct HostedPlugin : public ::testing::TestWithParam<Format>
    {
        static void SetUpTestSuite()
        {
            // The plug-in seeds its colouring from here, so hosted and in-process runs agree.
            setenv ("VELORA_RANDOM_SEED", juce::String (seed).toRawUTF8(), 1);
        }

        std::unique_ptr<juce::AudioPluginInstance> load (double rate = 48000.0, int block = 512)
        {
            juce::String error;
            auto instance = host_support::load (GetParam(), rate, block, error);
            EXPECT_NE (instance, nullptr) << error;
            return instance;
        }
    };

    void fillProgramme (juce::AudioBuffer<float>& b, int start)
    {
        for (int ch = 0; ch < b.getNumChannels(); ++ch)
            for (int i = 0; i < b.getNumSamples(); ++i)
            {
                const double t = (start + i) / 48000.0;
                b.setSample (ch, i, (float) (0.6 * std::sin (2.0 * 3.141592653589793 * (220.0 + 110.0 * ch) * t)
                                             * (0.5 + 0.5 * std::sin (7.0 * t))));
            }
    }

    /** The wrappers pass parameter changes made inside the plug-in on to the host from the
        message loop, as in a running DAW. */
    void letTheHostCatchUp()
    {
        juce::MessageManager::getInstance()->runDispatchLoopUntil (50);
    }

    bool allFinite (const juce::AudioBuffer<float>& b)
    {
        for (int ch = 0; ch < b.getNumChannels(); ++ch)
            for (int i = 0; i < b.getNumSamples(); ++i)
                if (! std::isfinite (b.getSample (ch, i)))
                    return false;
        return true;
    }

    const std::pair<const char*, float> settings[] = {
        { "compOn", 1.0f }, { "compThreshold", 0.3f }, { "compRatio", 0.8f }, { "gateOn", 1.0f },
        { "LowGain", 0.75f }, { "MidGain", 0.2f }, { "HighFreq", 0.3f }, { "outputGain", 0.7f },
        { "compBeforeEq", 1.0f },
    };
}

TEST_P (HostedPlugin, ListsTheFortyOneParametersWithNamesAndDefaults)
{
    auto instance = load();
    ASSERT_NE (instance, nullptr);
    EXPECT_EQ (instance->getName(), "Velora");

    // VST3 keeps the host order; the wrapper appends its host bypass and program change.
    if (GetParam() == Format::vst3)
    {
        ASSERT_EQ (instance->getParameters().size(), 43);
        EXPECT_EQ (instance->getParameters()[4]->getName (100), "LowFreq");
        EXPECT_EQ (instance->getParameters()[40]->getName (100), "phaseInvert");
    }

    VeloraAudioProcessor reference;
    const auto& expected = reference.getParameters();
    const auto hosted = pluginParameters (*instance, hostIds());

    ASSERT_EQ (hosted.size(), 41);

    for (int i = 0; i < 41; ++i)
    {
        ASSERT_NE (hosted[i], nullptr) << expected[i]->getName (100);
        EXPECT_NEAR (hosted[i]->getDefaultValue(), expected[i]->getDefaultValue(), 1e-6f) << expected[i]->getName (100);
        EXPECT_NEAR (hosted[i]->getValue(), expected[i]->getValue(), 1e-6f) << expected[i]->getName (100);
    }
}

TEST_P (HostedPlugin, AcceptsMonoAndStereoButNotMonoInStereoOut)
{
    auto instance = load();
    ASSERT_NE (instance, nullptr);

    auto layout = [] (juce::AudioChannelSet in, juce::AudioChannelSet out)
    {
        juce::AudioProcessor::BusesLayout l;
        l.inputBuses.add (in);
        l.outputBuses.add (out);
        return l;
    };

    EXPECT_TRUE (instance->checkBusesLayoutSupported (layout (juce::AudioChannelSet::stereo(), juce::AudioChannelSet::stereo())));
    // An LV2 bundle declares its ports once, for the default stereo layout; JUCE's LV2
    // wrapper offers no mono variant, so mono is a VST3 (and in-process) layout only.
    EXPECT_EQ (instance->checkBusesLayoutSupported (layout (juce::AudioChannelSet::mono(), juce::AudioChannelSet::mono())),
               GetParam() == Format::vst3);
    EXPECT_FALSE (instance->checkBusesLayoutSupported (layout (juce::AudioChannelSet::mono(), juce::AudioChannelSet::stereo())));
}

TEST_P (HostedPlugin, AudioEqualsTheSameSettingsRunInProcess)
{
    auto instance = load (48000.0, 512);
    ASSERT_NE (instance, nullptr);

    VeloraAudioProcessor reference;
    reference.setRandomSeed (seed);

    const auto hosted = pluginParameters (*instance, hostIds());
    for (auto [id, value] : settings)
    {
        reference.getParameterTree().getParameter (id)->setValueNotifyingHost (value);
        const int index = reference.getParameterTree().getParameter (id)->getParameterIndex();
        hosted[index]->setValueNotifyingHost (value);
    }

    instance->setPlayConfigDetails (2, 2, 48000.0, 512);
    instance->prepareToPlay (48000.0, 512);
    reference.setPlayConfigDetails (2, 2, 48000.0, 512);
    reference.prepareToPlay (48000.0, 512);

    juce::MidiBuffer midi;

    for (int block = 0; block < 20; ++block)
    {
        juce::AudioBuffer<float> a (2, 512), b (2, 512);
        fillProgramme (a, block * 512);
        b.makeCopyOf (a);

        instance->processBlock (a, midi);
        reference.processBlock (b, midi);

        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < 512; ++i)
                ASSERT_EQ (a.getSample (ch, i), b.getSample (ch, i)) << "block " << block << " ch " << ch << " sample " << i;
    }
}

TEST_P (HostedPlugin, StateRestoresEveryParameterAndTheProgramIntoAFreshInstance)
{
    auto original = load();
    ASSERT_NE (original, nullptr);
    original->setPlayConfigDetails (2, 2, 48000.0, 512);
    original->prepareToPlay (48000.0, 512);

    // A host hands parameter and program changes to the plug-in with the next audio block.
    juce::AudioBuffer<float> block (2, 512);
    juce::MidiBuffer midi;
    auto playABlock = [&]
    {
        fillProgramme (block, 0);
        original->processBlock (block, midi);
        letTheHostCatchUp();
    };

    original->setCurrentProgram (4);
    playABlock();

    // Program 4 is empty, so everything is 0 now: give each parameter a value of its own.
    const auto ids = hostIds();
    const auto params = pluginParameters (*original, ids);
    std::vector<float> values;

    for (int i = 0; i < params.size(); ++i)
    {
        const bool isSwitch = i >= 35;
        values.push_back (isSwitch ? (i % 2 == 0 ? 1.0f : 0.0f) : 0.05f + 0.9f * std::fmod (0.137f * (float) i, 1.0f));
        params[i]->setValueNotifyingHost (values.back());
    }

    playABlock();

    juce::MemoryBlock state;
    original->getStateInformation (state);

    auto restored = load();
    ASSERT_NE (restored, nullptr);
    restored->setStateInformation (state.getData(), (int) state.getSize());

    // LV2 reports the restored values to its host from the audio path.
    restored->setPlayConfigDetails (2, 2, 48000.0, 512);
    restored->prepareToPlay (48000.0, 512);
    fillProgramme (block, 0);
    restored->processBlock (block, midi);
    letTheHostCatchUp();

    const auto back = pluginParameters (*restored, ids);
    for (int i = 0; i < params.size(); ++i)
        EXPECT_NEAR (back[i]->getValue(), values[(size_t) i], 1e-6f) << ids[i];

    // The same document comes back out, "currentProgram" included. JUCE's LV2 host tracks
    // the program itself (the preset it last applied), so only VST3 can be asked directly.
    juce::MemoryBlock restoredState;
    restored->getStateInformation (restoredState);
    EXPECT_EQ (restoredState, state);

    if (GetParam() == Format::vst3)
    {
        EXPECT_EQ (restored->getCurrentProgram(), 4);
    }
}

TEST_P (HostedPlugin, AllTwentyProgramsCanBeSelected)
{
    auto instance = load();
    ASSERT_NE (instance, nullptr);
    ASSERT_EQ (instance->getNumPrograms(), 20);

    instance->setPlayConfigDetails (2, 2, 48000.0, 512);
    instance->prepareToPlay (48000.0, 512);
    juce::AudioBuffer<float> block (2, 512);
    juce::MidiBuffer midi;

    // The change reaches the plug-in with the next block; the level of the block after it
    // shows that it took effect.
    auto select = [&] (int program)
    {
        instance->setCurrentProgram (program);
        letTheHostCatchUp();
        double in = 0.0, out = 0.0;

        for (int i = 0; i < 3; ++i)
        {
            fillProgramme (block, i * 512);
            in = block.getRMSLevel (0, 0, 512);
            instance->processBlock (block, midi);
            out = block.getRMSLevel (0, 0, 512);
        }

        return out / in;
    };

    // Slots 0 to 2 hold the defaults (unity gain); the others hold nothing, so every
    // parameter goes to 0 and both gains to -100 dB. JUCE's LV2 host lists the programs as
    // presets in an order of its own, so there only the count of each kind can be checked.
    int unity = 0, silent = 0;

    for (int i = 0; i < 20; ++i)
    {
        const double gain = select (i);
        EXPECT_EQ (instance->getCurrentProgram(), i);

        const bool isDefault = std::abs (gain - 1.0) < 0.1;
        unity += isDefault ? 1 : 0;
        silent += gain < 1e-6 ? 1 : 0;

        if (GetParam() == Format::vst3)
        {
            EXPECT_EQ (isDefault, i < 3) << "program " << i << " gain " << gain;
        }
    }

    EXPECT_EQ (unity, 3);
    EXPECT_EQ (silent, 17);
}

TEST_P (HostedPlugin, EditorOpensShowsAndCloses)
{
    auto instance = load();
    ASSERT_NE (instance, nullptr);
    ASSERT_TRUE (instance->hasEditor());

    for (int round = 0; round < 3; ++round)
    {
        std::unique_ptr<juce::AudioProcessorEditor> editor (instance->createEditorIfNeeded());
        ASSERT_NE (editor, nullptr);
        EXPECT_GT (editor->getWidth(), 0);

        {
            // Shown the way a host shows it: inside a top-level window of the host's own.
            juce::DocumentWindow window ("Velora", juce::Colours::black, 0, false);
            window.setContentNonOwned (editor.get(), true);
            window.addToDesktop();
            window.setVisible (true);
            juce::MessageManager::getInstance()->runDispatchLoopUntil (150);
            EXPECT_TRUE (editor->isShowing());
            window.setVisible (false);
            window.clearContentComponent();
        }

        editor.reset();
        instance->editorBeingDeleted (nullptr);
    }
}

struct PrepareCase
{
    double rate;
    int block;
};

TEST_P (HostedPlugin, PreparesAtCommonRatesAndBlockSizes)
{
    auto instance = load();
    ASSERT_NE (instance, nullptr);

    for (const auto [rate, block] : { PrepareCase { 44100.0, 1 }, PrepareCase { 48000.0, 64 }, PrepareCase { 96000.0, 512 },
                                      PrepareCase { 192000.0, 4096 }, PrepareCase { 44100.0, 333 } })
    {
        // Hosts stop processing before they change the rate or the block size.
        instance->releaseResources();
        instance->setPlayConfigDetails (2, 2, rate, block);
        instance->prepareToPlay (rate, block);
        juce::MidiBuffer midi;

        for (int i = 0; i < juce::jmax (2, 8192 / block); ++i)
        {
            juce::AudioBuffer<float> b (2, block);
            fillProgramme (b, i * block);
            instance->processBlock (b, midi);
            ASSERT_TRUE (allFinite (b)) << rate << " Hz, block " << block;
        }
    }

    // A block longer than announced: only through LV2 (JUCE's VST3 client overruns then).
    if (GetParam() == Format::lv2)
    {
        instance->releaseResources();
        instance->prepareToPlay (48000.0, 256);
        juce::AudioBuffer<float> b (2, 1000);
        fillProgramme (b, 0);
        juce::MidiBuffer midi;
        instance->processBlock (b, midi);
        EXPECT_TRUE (allFinite (b));
    }

    instance->releaseResources();
}

INSTANTIATE_TEST_SUITE_P (Formats, HostedPlugin, ::testing::Values (Format::vst3, Format::lv2),
                          [] (const auto& testInfo) { return std::string (nameOf (testInfo.param)); });
