#pragma once

#include "editor/VeloraAudioProcessorEditor.h"
#include "processor/ProcessorTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace testing_support
{
    /** Pumps the message loop, so timers, async updates and fades run. */
    inline void runMessageLoop (int milliseconds)
    {
        juce::MessageManager::getInstance()->runDispatchLoopUntil (milliseconds);
    }

    /** A prepared stereo processor at 44.1 kHz and its editor, opened and closed the way a
        host does it. */
    struct EditorFixture : public ::testing::Test
    {
        void SetUp() override
        {
            processor = makeProcessor (2, 44100.0, 512, false);
            openEditor();
        }

        void TearDown() override { closeEditor(); }

        void openEditor()
        {
            auto* created = processor->createEditorIfNeeded();
            editor.reset (dynamic_cast<VeloraAudioProcessorEditor*> (created));
            ASSERT_NE (editor, nullptr);
        }

        void closeEditor()
        {
            if (editor != nullptr)
            {
                processor->editorBeingDeleted (editor.get());
                editor.reset();
            }
        }

        juce::Slider& control (const char* parameterId) const
        {
            for (int i = 0; i < VeloraAudioProcessorEditor::numControls; ++i)
                if (juce::String (EditorLayout::continuousControls[(size_t) i].parameterId) == parameterId)
                    return editor->getControl (i);

            ADD_FAILURE() << "no control for " << parameterId;
            return editor->getControl (0);
        }

        MySliderLabel& label (const char* parameterId) const
        {
            for (int i = 0; i < VeloraAudioProcessorEditor::numControls; ++i)
                if (juce::String (EditorLayout::continuousControls[(size_t) i].parameterId) == parameterId)
                    return editor->getValueLabel (i);

            ADD_FAILURE() << "no label for " << parameterId;
            return editor->getValueLabel (0);
        }

        std::unique_ptr<VeloraAudioProcessor> processor;
        std::unique_ptr<VeloraAudioProcessorEditor> editor;
    };
}
