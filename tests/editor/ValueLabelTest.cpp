#include "EditorTestSupport.h"

using namespace testing_support;

namespace
{
    struct LabelCase
    {
        const char* parameterId;
        float value;
        const char* text;
    };

    void PrintTo (const LabelCase& c, std::ostream* os) { *os << c.parameterId << " = " << c.value; }

    struct EditorValueLabelText : public EditorFixture, public ::testing::WithParamInterface<LabelCase>
    {
    };

    std::string labelCaseName (const ::testing::TestParamInfo<LabelCase>& info)
    {
        return std::string (info.param.parameterId) + "At" + std::to_string ((int) std::round (info.param.value * 100.0f));
    }
} // namespace

TEST_P (EditorValueLabelText, ShowsTheParameterInItsUnits)
{
    const auto& c = GetParam();

    // Move away first, so the value set below is a change whatever the default.
    setHostValue (*processor, c.parameterId, c.value == 0.0f ? 1.0f : 0.0f);
    setHostValue (*processor, c.parameterId, c.value);

    EXPECT_EQ (label (c.parameterId).getText(), juce::String (c.text));
}

// Values by hand from each knob's scale; the compressor times at the fixture's 44.1 kHz.
INSTANTIATE_TEST_SUITE_P (Editor, EditorValueLabelText,
                          ::testing::Values (LabelCase { "HighpassFreq", 0.0f, "30.0 Hz" },
                                             LabelCase { "HighpassFreq", 1.0f, "300.0 Hz" },
                                             LabelCase { "LowpassFreq", 1.0f, "25.0 kHz" },
                                             LabelCase { "LowpassFreq", 0.0f, "2.5 kHz" },
                                             LabelCase { "HighGain", 0.75f, "6.0 dB" },
                                             LabelCase { "HighFreq", 0.5f, "13.8 kHz" },
                                             LabelCase { "HighMidGain", 0.0f, "-12.0 dB" },
                                             LabelCase { "HighMidFreq", 1.0f, "16.0 kHz" },
                                             LabelCase { "HighMidQ", 0.0f, "0.7" },
                                             LabelCase { "HighMidQ", 1.0f, "5.0" },
                                             LabelCase { "MidGain", 1.0f, "12.0 dB" },
                                             LabelCase { "MidFreq", 0.5f, "1415.0 Hz" },
                                             LabelCase { "MidQ", 0.2f, "1.6" },
                                             LabelCase { "LowMidGain", 0.25f, "-6.0 dB" },
                                             LabelCase { "LowMidFreq", 0.5f, "225.0 Hz" },
                                             LabelCase { "LowMidQ", 1.0f, "5.0" },
                                             LabelCase { "LowGain", 0.5f, "0.0 dB" },
                                             LabelCase { "LowFreq", 1.0f, "300.0 Hz" },
                                             LabelCase { "gateThreshold", 0.25f, "-75.0 dB" },
                                             LabelCase { "gateRange", 0.0f, "3.0 dB" },
                                             LabelCase { "gateAttack", 1.0f, "50.0 ms" },
                                             LabelCase { "gateRelease", 0.5f, "500.5 ms" },
                                             LabelCase { "compThreshold", 0.5f, "-20.0 dB" },
                                             LabelCase { "compRatio", 0.0f, "1.0:1" },
                                             LabelCase { "compRatio", 1.0f, "10.0:1" },
                                             LabelCase { "compAttack", 0.0f, "0.02 ms" },
                                             LabelCase { "compAttack", 1.0f, "180.95 ms" },
                                             LabelCase { "compRelease", 0.0f, "2.27 ms" },
                                             LabelCase { "compRelease", 1.0f, "1801.20 ms" },
                                             LabelCase { "inputGain", 0.25f, "-50.0 dB" },
                                             LabelCase { "inputGain", 1.0f, "24.0 dB" },
                                             LabelCase { "outputGain", 0.75f, "-0.0" },
                                             LabelCase { "outputGain", 1.0f, "12.0" },
                                             LabelCase { "outputGain", 0.0f, "-100.0" }),
                          labelCaseName);

using EditorValueLabels = EditorFixture;

TEST_F (EditorValueLabels, AreEmptyWhenTheEditorOpensAndOnlyTheMovedControlFillsItsLabel)
{
    for (int i = 0; i < VeloraAudioProcessorEditor::numControls; ++i)
    {
        EXPECT_TRUE (editor->getValueLabel (i).getText().isEmpty()) << i;
        EXPECT_TRUE (editor->getValueLabel (i).isVisible()) << i;
    }

    control ("LowFreq").setValue (0.5, juce::sendNotificationSync);

    for (int i = 0; i < VeloraAudioProcessorEditor::numControls; ++i)
    {
        const auto isLowFreq = juce::String (EditorLayout::continuousControls[(size_t) i].parameterId) == "LowFreq";
        EXPECT_EQ (editor->getValueLabel (i).getText(), isLowFreq ? juce::String ("165.0 Hz") : juce::String()) << i;
    }

    // Reopening starts empty again.
    closeEditor();
    openEditor();
    EXPECT_TRUE (label ("LowFreq").getText().isEmpty());
}

TEST_F (EditorValueLabels, CompressorTimesAreLeftUnchangedWhileTheSampleRateIsUnknown)
{
    setHostValue (*processor, "compAttack", 1.0f);
    setHostValue (*processor, "compRelease", 1.0f);
    ASSERT_EQ (label ("compAttack").getText(), "180.95 ms");

    processor->setRateAndBufferSizeDetails (0.0, 512);
    setHostValue (*processor, "compAttack", 0.0f);
    setHostValue (*processor, "compRelease", 0.0f);
    setHostValue (*processor, "compRatio", 1.0f);

    EXPECT_EQ (label ("compAttack").getText(), "180.95 ms");
    EXPECT_EQ (label ("compRelease").getText(), "1801.20 ms");
    EXPECT_EQ (label ("compRatio").getText(), "10.0:1");

    // The times follow the host rate, not a fixed one.
    processor->setRateAndBufferSizeDetails (88200.0, 512);
    setHostValue (*processor, "compAttack", 1.0f);
    EXPECT_EQ (label ("compAttack").getText(), "90.48 ms");
}

TEST_F (EditorValueLabels, MetersWriteNoLabel)
{
    for (int i = 0; i < VeloraAudioProcessorEditor::numMeters; ++i)
    {
        editor->getMeter (i).setValue (0.3, juce::sendNotificationSync);
        editor->sliderValueChanged (&editor->getMeter (i));
    }

    for (int i = 0; i < VeloraAudioProcessorEditor::numControls; ++i)
        EXPECT_TRUE (editor->getValueLabel (i).getText().isEmpty()) << i;
}

//==============================================================================
using EditorValueLabelDrag = EditorFixture;

TEST_F (EditorValueLabelDrag, DragStartShowsOnlyThatLabelOpaqueAndInFront)
{
    auto& content = editor->getContentComponent();
    auto& highGain = label ("HighGain");
    highGain.setVisible (false);
    highGain.setAlpha (0.25f);

    editor->sliderDragStarted (&control ("HighGain"));

    EXPECT_TRUE (highGain.isVisible());
    EXPECT_EQ (highGain.getAlpha(), 1.0f);
    EXPECT_EQ (content.getIndexOfChildComponent (&highGain), content.getNumChildComponents() - 1);
    EXPECT_FALSE (highGain.hasKeyboardFocus (false));

    // The other labels are left as they were.
    EXPECT_TRUE (label ("HighFreq").isVisible());
    EXPECT_EQ (content.getIndexOfChildComponent (&label ("HighFreq")),
               content.getIndexOfChildComponent (&control ("HighFreq")) + 1);
}

TEST_F (EditorValueLabelDrag, DragEndHidesTheLabelAtOnceAndLeavesTheOthers)
{
    editor->sliderDragStarted (&control ("MidQ"));
    editor->sliderDragEnded (&control ("MidQ"));

    EXPECT_FALSE (label ("MidQ").isVisible());

    for (int i = 0; i < VeloraAudioProcessorEditor::numControls; ++i)
    {
        if (&editor->getValueLabel (i) != &label ("MidQ"))
        {
            EXPECT_TRUE (editor->getValueLabel (i).isVisible()) << i;
        }
    }

    // A drag of a meter touches no label.
    editor->sliderDragStarted (&editor->getMeter (0));
    editor->sliderDragEnded (&editor->getMeter (2));
    EXPECT_FALSE (label ("MidQ").isVisible());
    EXPECT_TRUE (label ("MidFreq").isVisible());
}

TEST_F (EditorValueLabelDrag, OnScreenTheLabelFadesAsASnapshotThatANewDragCovers)
{
    editor->addToDesktop (0);
    editor->setVisible (true);
    runMessageLoop (50);

    auto& content = editor->getContentComponent();
    auto& l = label ("LowGain");
    ASSERT_TRUE (l.isShowing());
    const auto childrenBefore = content.getChildren();

    editor->sliderDragStarted (&control ("LowGain"));
    editor->sliderDragEnded (&control ("LowGain"));

    // The label is hidden at once; a snapshot of it fades in its place.
    EXPECT_FALSE (l.isVisible());
    ASSERT_EQ (content.getNumChildComponents(), childrenBefore.size() + 1);

    juce::Component* snapshot = nullptr;
    for (auto* child : content.getChildren())
        if (! childrenBefore.contains (child))
            snapshot = child;

    ASSERT_NE (snapshot, nullptr);
    EXPECT_EQ (snapshot->getBounds(), l.getBounds());
    EXPECT_TRUE (juce::Desktop::getInstance().getAnimator().isAnimating (&l));

    // A new drag during the fade shows the label again, in front of the snapshot.
    runMessageLoop (100);
    editor->sliderDragStarted (&control ("LowGain"));
    EXPECT_TRUE (l.isVisible());
    EXPECT_EQ (l.getAlpha(), 1.0f);
    EXPECT_GT (content.getIndexOfChildComponent (&l), content.getIndexOfChildComponent (snapshot));

    // After the 500 ms the snapshot is gone.
    editor->sliderDragEnded (&control ("LowGain"));
    runMessageLoop (900);
    EXPECT_EQ (content.getNumChildComponents(), childrenBefore.size());
    EXPECT_FALSE (l.isVisible());

    editor->removeFromDesktop();
}
