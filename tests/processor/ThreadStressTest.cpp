// Everything a session does at once, on the threads a host uses: the audio thread plays
// blocks of any size, an automation thread and a project thread change settings, and
// the message thread opens, works and closes the editor. Built under ThreadSanitizer too,
// where any data race between them is a failure.

#include "ProcessorTestSupport.h"
#include "editor/VeloraAudioProcessorEditor.h"
#include "eq/OrvelEqAudioProcessor.h"
#include "compressor/CompressorFilter.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

using namespace testing_support;

namespace
{
    using Clock = std::chrono::steady_clock;

    /** Seconds each thread keeps going; VELORA_STRESS_SECONDS makes a longer run. */
    double stressSeconds()
    {
        const auto text = juce::SystemStats::getEnvironmentVariable ("VELORA_STRESS_SECONDS", "3");
        return juce::jlimit (0.5, 3600.0, text.getDoubleValue());
    }

    juce::MemoryBlock randomState (juce::Random& random)
    {
        VeloraAudioProcessor source;

        for (auto* parameter : source.getParameters())
            parameter->setValueNotifyingHost (random.nextFloat());

        source.setCurrentProgram (random.nextInt (VeloraAudioProcessor::numPrograms));

        for (auto* parameter : source.getParameters())
            if (random.nextBool())
                parameter->setValueNotifyingHost (random.nextFloat());

        juce::MemoryBlock state;
        source.getStateInformation (state);
        return state;
    }

    void openDriveAndClose (VeloraAudioProcessor& processor, juce::Random& random)
    {
        std::unique_ptr<juce::AudioProcessorEditor> editor (processor.createEditorIfNeeded());
        auto& e = dynamic_cast<VeloraAudioProcessorEditor&> (*editor);

        if (random.nextBool())
        {
            e.addToDesktop (0);
            e.setVisible (true);
        }

        for (int i = 0; i < 8; ++i)
        {
            auto& knob = e.getControl (random.nextInt (VeloraAudioProcessorEditor::numControls));
            e.sliderDragStarted (&knob);
            knob.setValue (knob.getMinimum() + random.nextDouble() * (knob.getMaximum() - knob.getMinimum()), juce::sendNotificationSync);
            e.sliderDragEnded (&knob);

            auto& button = e.getSwitch (random.nextInt (VeloraAudioProcessorEditor::numSwitches));
            button.setToggleState (! button.getToggleState(), juce::sendNotificationSync);

            // Timers (meters, fades) and the attachments' updates from other threads.
            juce::MessageManager::getInstance()->runDispatchLoopUntil (5);
        }

        processor.editorBeingDeleted (editor.get());
        editor.reset();
    }

    std::unique_ptr<juce::XmlElement> documentOf (const juce::MemoryBlock& state)
    {
        return juce::AudioProcessor::getXmlFromBinary (state.getData(), (int) state.getSize());
    }
}

class ThreadStress : public ::testing::TestWithParam<int> {};

TEST_P (ThreadStress, AudioAutomationProjectAndEditorAtOnce)
{
    const int channels = GetParam();
    const auto duration = std::chrono::duration<double> (stressSeconds());
    auto p = makeProcessor (channels, 48000.0, 2048, false);
    auto& parameters = p->getParameters();

    std::atomic<bool> playing { true }, automating { true };
    std::atomic<int> blocks { 0 };
    std::atomic<int> badBlocks { 0 };

    std::thread audio ([&]
    {
        juce::AudioBuffer<float> buffer (channels, 4096);
        juce::MidiBuffer midi;
        juce::Random random (1);

        while (playing.load())
        {
            buffer.setSize (channels, 1 + random.nextInt (2048), false, false, true);

            for (int ch = 0; ch < channels; ++ch)
                for (int i = 0; i < buffer.getNumSamples(); ++i)
                    buffer.setSample (ch, i, 0.8f * (random.nextFloat() - 0.5f));

            p->processBlock (buffer, midi);

            if (! isFiniteAndBounded (buffer, 1.0e6f))
                ++badBlocks;

            ++blocks;
        }
    });

    std::thread automation ([&]
    {
        juce::Random random (2);

        for (int i = 0; automating.load(); ++i)
        {
            parameters[random.nextInt (parameters.size())]->setValueNotifyingHost (random.nextFloat());

            if (i % 50 == 0)
                p->setCurrentProgram (random.nextInt (VeloraAudioProcessor::numPrograms));

            if (i % 70 == 0)
                setHostValue (*p, "oversampling", random.nextBool() ? 1.0f : 0.0f);

            std::this_thread::sleep_for (std::chrono::microseconds (200));
        }
    });

    juce::Random projectRandom (3);
    const auto finalState = randomState (projectRandom);

    std::thread project ([&]
    {
        juce::Random random (4);
        juce::MemoryBlock saved;
        const auto end = Clock::now() + duration;

        while (Clock::now() < end)
        {
            p->getStateInformation (saved);
            std::this_thread::sleep_for (std::chrono::milliseconds (random.nextInt (5)));
            p->setStateInformation (saved.getData(), (int) saved.getSize());
        }

        // The user's last action: the project is loaded once more, after the automation
        // has stopped.
        while (automating.load())
            std::this_thread::yield();

        p->setStateInformation (finalState.getData(), (int) finalState.getSize());
    });

    juce::Random editorRandom (5);
    const auto end = Clock::now() + duration;

    while (Clock::now() < end)
        openDriveAndClose (*p, editorRandom);

    automating = false;
    project.join();
    automation.join();

    // Let the audio thread take what was handed over last, and the message thread deliver
    // what is queued.
    const int seen = blocks.load();

    while (blocks.load() < seen + 4)
        juce::MessageManager::getInstance()->runDispatchLoopUntil (1);

    playing = false;
    audio.join();

    EXPECT_EQ (badBlocks.load(), 0) << "of " << blocks.load() << " blocks";
    EXPECT_GT (blocks.load(), 100);

    // The settings are the ones loaded last, in the parameters and in both engines.
    juce::MemoryBlock stored;
    p->getStateInformation (stored);
    const auto expected = documentOf (finalState);
    const auto actual = documentOf (stored);
    ASSERT_NE (actual, nullptr);
    EXPECT_TRUE (actual->isEquivalentTo (expected.get(), false))
        << actual->toString().toStdString() << "\nexpected\n" << expected->toString().toStdString();

    VeloraAudioProcessor reference;
    reference.setStateInformation (finalState.getData(), (int) finalState.getSize());

    JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")
    for (int i = 0; i < reference.getEqEngine().getNumParameters(); ++i)
        EXPECT_EQ (p->getEqEngine().getParameter (i), reference.getEqEngine().getParameter (i)) << "equaliser parameter " << i;

    // Index 10 is the level readout: the detector's output, not a setting.
    for (int i = 0; i < reference.getCompressorEngine().getNumParameters(); ++i)
    {
        if (i == 10)
            continue;

        EXPECT_EQ (p->getCompressorEngine().getParameter (i), reference.getCompressorEngine().getParameter (i)) << "compressor parameter " << i;
    }
    JUCE_END_IGNORE_WARNINGS_GCC_LIKE
}

INSTANTIATE_TEST_SUITE_P (MonoAndStereo, ThreadStress, ::testing::Values (1, 2),
                          [] (const auto& testInfo) { return testInfo.param == 1 ? std::string ("Mono") : std::string ("Stereo"); });
