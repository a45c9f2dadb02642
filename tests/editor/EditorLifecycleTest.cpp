#include "EditorTestSupport.h"

#include <atomic>
#include <thread>
#include <vector>

using namespace testing_support;

namespace
{
    // A parameter's listener list is private. Explicit instantiation may name a private
    // member, which lets the test count the registrations an editor leaves behind.
    using ListenerList = juce::Array<juce::AudioProcessorParameter::Listener*>;
    using ListenerMember = ListenerList juce::AudioProcessorParameter::*;

    ListenerMember listenerMember();

    template <ListenerMember member>
    struct ListenerMemberAccess
    {
        friend ListenerMember listenerMember() { return member; }
    };

    template struct ListenerMemberAccess<&juce::AudioProcessorParameter::listeners>;

    std::vector<int> listenerCounts (juce::AudioProcessor& processor)
    {
        std::vector<int> counts;

        for (auto* parameter : processor.getParameters())
            counts.push_back ((parameter->*listenerMember()).size());

        return counts;
    }

    /** Plays a loud sine through the processor on its own thread and automates a knob and
        a switch the way a host does, from the audio thread. */
    class AudioThread
    {
    public:
        explicit AudioThread (VeloraAudioProcessor& p) : processor (p), thread ([this] { run(); }) {}

        ~AudioThread()
        {
            running = false;
            thread.join();
        }

        int blocks() const noexcept { return blockCount.load(); }

    private:
        void run()
        {
            juce::AudioBuffer<float> buffer (2, 512);
            auto* gain = processor.getParameterTree().getParameter ("HighGain");
            auto* invert = processor.getParameterTree().getParameter ("phaseInvert");
            int block = 0;

            while (running)
            {
                fillSine (buffer, 220.0, 44100.0, 1.2f, block * 512);
                process (processor, buffer);

                gain->setValueNotifyingHost ((float) (block % 10) / 10.0f);
                invert->setValueNotifyingHost ((block / 7) % 2 == 0 ? 0.0f : 1.0f);

                ++block;
                blockCount = block;
                std::this_thread::sleep_for (std::chrono::milliseconds (2));
            }
        }

        VeloraAudioProcessor& processor;
        std::atomic<bool> running { true };
        std::atomic<int> blockCount { 0 };
        std::thread thread;
    };
} // namespace

TEST (EditorLifecycle, OpensAndClosesRepeatedlyWhileAudioRunsAndLeavesNoListenerBehind)
{
    auto processor = makeProcessor (2, 44100.0, 512, false);
    setHostValue (*processor, "compOn", 1.0f);
    setHostValue (*processor, "gateOn", 1.0f);

    const auto before = listenerCounts (*processor);

    {
        AudioThread audio (*processor);

        for (int round = 0; round < 20; ++round)
        {
            std::unique_ptr<juce::AudioProcessorEditor> editor (processor->createEditorIfNeeded());
            ASSERT_NE (dynamic_cast<VeloraAudioProcessorEditor*> (editor.get()), nullptr);

            // Every other round on screen, so painting and label fades run as well.
            if (round % 2 == 0)
            {
                editor->addToDesktop (0);
                editor->setVisible (true);
            }

            auto& e = static_cast<VeloraAudioProcessorEditor&> (*editor);
            e.sliderDragStarted (&e.getControl (round % VeloraAudioProcessorEditor::numControls));
            runMessageLoop (30 + 7 * (round % 5));
            e.sliderDragEnded (&e.getControl (round % VeloraAudioProcessorEditor::numControls));
            runMessageLoop (10);

            EXPECT_EQ (processor->getActiveEditor(), editor.get());
            EXPECT_NE (listenerCounts (*processor), before) << "the attachments listen while the editor is open";

            processor->editorBeingDeleted (editor.get());
            editor.reset();
            runMessageLoop (5);
        }

        EXPECT_GT (audio.blocks(), 20);
    }

    // Whatever was still queued for the closed editors is delivered to nobody.
    runMessageLoop (600);

    EXPECT_EQ (processor->getActiveEditor(), nullptr);
    EXPECT_EQ (listenerCounts (*processor), before);

    // The parameters still work after all the editors are gone.
    setHostValue (*processor, "HighGain", 0.3f);
    EXPECT_EQ (hostValue (*processor, "HighGain"), 0.3f);
}
