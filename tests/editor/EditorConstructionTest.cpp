#include "EditorTestSupport.h"

using namespace testing_support;

namespace
{
    enum class Part
    {
        control,
        label,
        meter,
        switchButton,
        led,
        version
    };

    struct Placement
    {
        const char* name;
        Part part;
        int index;
        int x, y, w, h;
    };

    // The panel's design bounds, written out independently of the layout header.
    const Placement placements[] = {
        { "HighpassFreq", Part::control, 0, 12, 64, 60, 60 },     { "HighpassFreqLabel", Part::label, 0, 12, 124, 60, 20 },
        { "LowpassFreq", Part::control, 1, 108, 64, 60, 60 },     { "LowpassFreqLabel", Part::label, 1, 108, 124, 60, 20 },
        { "HighGain", Part::control, 2, 12, 138, 60, 60 },        { "HighGainLabel", Part::label, 2, 12, 198, 60, 20 },
        { "HighFreq", Part::control, 3, 108, 138, 60, 60 },       { "HighFreqLabel", Part::label, 3, 108, 198, 60, 20 },
        { "HighMidGain", Part::control, 4, 12, 216, 60, 60 },     { "HighMidGainLabel", Part::label, 4, 12, 276, 60, 20 },
        { "HighMidFreq", Part::control, 5, 108, 216, 60, 60 },    { "HighMidFreqLabel", Part::label, 5, 108, 276, 60, 20 },
        { "HighMidQ", Part::control, 6, 61, 265, 60, 60 },        { "HighMidQLabel", Part::label, 6, 61, 325, 60, 20 },
        { "MidGain", Part::control, 7, 12, 340, 60, 60 },         { "MidGainLabel", Part::label, 7, 12, 400, 60, 20 },
        { "MidFreq", Part::control, 8, 108, 340, 60, 60 },        { "MidFreqLabel", Part::label, 8, 108, 400, 60, 20 },
        { "MidQ", Part::control, 9, 61, 388, 60, 60 },            { "MidQLabel", Part::label, 9, 61, 448, 60, 20 },
        { "LowMidGain", Part::control, 10, 12, 466, 60, 60 },     { "LowMidGainLabel", Part::label, 10, 12, 526, 60, 20 },
        { "LowMidFreq", Part::control, 11, 108, 466, 60, 60 },    { "LowMidFreqLabel", Part::label, 11, 108, 526, 60, 20 },
        { "LowMidQ", Part::control, 12, 61, 515, 60, 60 },        { "LowMidQLabel", Part::label, 12, 61, 575, 60, 20 },
        { "LowGain", Part::control, 13, 12, 589, 60, 60 },        { "LowGainLabel", Part::label, 13, 12, 649, 60, 20 },
        { "LowFreq", Part::control, 14, 108, 589, 60, 60 },       { "LowFreqLabel", Part::label, 14, 108, 649, 60, 20 },
        { "gateThreshold", Part::control, 15, 192, 64, 60, 60 },  { "gateThresholdLabel", Part::label, 15, 192, 124, 60, 20 },
        { "gateRange", Part::control, 16, 285, 64, 60, 60 },      { "gateRangeLabel", Part::label, 16, 285, 124, 60, 20 },
        { "gateAttack", Part::control, 17, 192, 139, 60, 60 },    { "gateAttackLabel", Part::label, 17, 192, 199, 60, 20 },
        { "gateRelease", Part::control, 18, 285, 139, 60, 60 },   { "gateReleaseLabel", Part::label, 18, 285, 199, 60, 20 },
        { "compThreshold", Part::control, 19, 192, 341, 60, 60 }, { "compThresholdLabel", Part::label, 19, 192, 401, 60, 20 },
        { "compRatio", Part::control, 20, 285, 341, 60, 60 },     { "compRatioLabel", Part::label, 20, 285, 401, 60, 20 },
        { "compAttack", Part::control, 21, 192, 417, 60, 60 },    { "compAttackLabel", Part::label, 21, 192, 477, 60, 20 },
        { "compRelease", Part::control, 22, 285, 417, 60, 60 },   { "compReleaseLabel", Part::label, 22, 285, 477, 60, 20 },
        { "inputGain", Part::control, 23, 192, 516, 60, 60 },     { "inputGainLabel", Part::label, 23, 192, 576, 60, 20 },
        { "outputGain", Part::control, 24, 332, 520, 19, 138 },   { "outputGainLabel", Part::label, 24, 310, 650, 60, 20 },
        { "vuMeter", Part::meter, 0, 188, 246, 162, 85 },
        { "gateMeter", Part::meter, 1, 267, 79, 14, 104 },
        { "outputMeterLeft", Part::meter, 2, 279, 524, 15, 125 },
        { "outputMeterRight", Part::meter, 3, 307, 524, 15, 125 },
        { "eqOn", Part::switchButton, 0, 103, 39, 18, 18 },
        { "hpOn", Part::switchButton, 1, 5, 112, 18, 18 },
        { "lpOn", Part::switchButton, 2, 159, 112, 18, 18 },
        { "hfOn", Part::switchButton, 3, 82, 162, 18, 18 },
        { "hmfOn", Part::switchButton, 4, 82, 240, 18, 18 },
        { "mfOn", Part::switchButton, 5, 81, 365, 18, 18 },
        { "lmfOn", Part::switchButton, 6, 82, 491, 18, 18 },
        { "lfOn", Part::switchButton, 7, 82, 615, 18, 18 },
        { "gateOn", Part::switchButton, 8, 307, 38, 18, 18 },
        { "compOn", Part::switchButton, 9, 321, 211, 18, 18 },
        { "phaseInvert", Part::switchButton, 10, 183, 591, 18, 18 },
        { "compBeforeEq", Part::switchButton, 11, 183, 612, 18, 18 },
        { "oversampling", Part::switchButton, 12, 183, 634, 18, 18 },
        { "inputOverload", Part::led, 0, 197, 494, 18, 18 },
        { "outputOverload", Part::led, 1, 322, 494, 18, 18 },
        { "versionLabel", Part::version, 0, 45, 5, 50, 10 },
    };

    juce::Component& find (VeloraAudioProcessorEditor& editor, const Placement& p)
    {
        switch (p.part)
        {
            case Part::control:      return editor.getControl (p.index);
            case Part::label:        return editor.getValueLabel (p.index);
            case Part::meter:        return editor.getMeter (p.index);
            case Part::switchButton: return editor.getSwitch (p.index);
            case Part::led:          return editor.getOverloadLed (p.index);
            case Part::version:      break;
        }

        return editor.getVersionLabel();
    }

    void PrintTo (const Placement& p, std::ostream* os) { *os << p.name; }

    struct EditorPlacement : public EditorFixture, public ::testing::WithParamInterface<Placement>
    {
    };

    std::string placementName (const ::testing::TestParamInfo<Placement>& info) { return info.param.name; }
} // namespace

TEST_P (EditorPlacement, SitsAtItsDesignBoundsInsideTheContentComponent)
{
    const auto& p = GetParam();
    auto& c = find (*editor, p);

    EXPECT_EQ (c.getParentComponent(), &editor->getContentComponent());
    EXPECT_TRUE (c.isVisible());
    EXPECT_EQ (c.getBounds(), juce::Rectangle<int> (p.x, p.y, p.w, p.h));
}

TEST_P (EditorPlacement, AtHalfWidthEveryCoordinateIsHalvedAndTruncated)
{
    const auto& p = GetParam();

    // The height plays no part in the scale.
    editor->setSize (179, 500);

    EXPECT_EQ (find (*editor, p).getBounds(), juce::Rectangle<int> (p.x / 2, p.y / 2, p.w / 2, p.h / 2));
}

INSTANTIATE_TEST_SUITE_P (Editor, EditorPlacement, ::testing::ValuesIn (placements), placementName);

using EditorConstruction = EditorFixture;

TEST_F (EditorConstruction, OpensAtThePanelSizeWithTheContentAsItsOnlyChild)
{
    EXPECT_EQ (editor->getWidth(), 358);
    EXPECT_EQ (editor->getHeight(), 692);
    EXPECT_FALSE (editor->isResizable());

    ASSERT_EQ (editor->getNumChildComponents(), 1);
    EXPECT_EQ (editor->getChildComponent (0), &editor->getContentComponent());
    EXPECT_EQ (editor->getContentComponent().getBounds(), juce::Rectangle<int> (0, 0, 358, 692));

    // 25 controls with their labels, 4 meters, 13 switches, 2 LEDs and the version caption.
    EXPECT_EQ (editor->getContentComponent().getNumChildComponents(), 25 * 2 + 4 + 13 + 2 + 1);

    // The half-width layout does not move the content component.
    editor->setSize (179, 346);
    EXPECT_EQ (editor->getContentComponent().getBounds(), juce::Rectangle<int> (0, 0, 358, 692));
}

TEST_F (EditorConstruction, EachValueLabelLiesAboveItsOwnControl)
{
    auto& content = editor->getContentComponent();

    for (int i = 0; i < VeloraAudioProcessorEditor::numControls; ++i)
        EXPECT_GT (content.getIndexOfChildComponent (&editor->getValueLabel (i)),
                   content.getIndexOfChildComponent (&editor->getControl (i)))
            << i;
}

TEST_F (EditorConstruction, KnobsCarryTheirColoursAndTheFaderNone)
{
    const char* colours[] = { "white", "white", "red", "gray", "red", "gray", "blue", "red", "gray", "blue", "red", "gray",
                              "blue", "red", "gray", "blue", "blue", "blue", "blue", "blue", "blue", "blue", "blue", "red" };

    for (int i = 0; i < 24; ++i)
    {
        auto& knob = editor->getControl (i);
        EXPECT_EQ (knob.getProperties()["colour"].toString(), juce::String (colours[i])) << i;
        EXPECT_FALSE (knob.getProperties().contains ("type")) << i;
        EXPECT_EQ (knob.getSliderStyle(), juce::Slider::RotaryVerticalDrag) << i;
        EXPECT_EQ (knob.getTextBoxPosition(), juce::Slider::NoTextBox) << i;
    }

    auto& fader = editor->getControl (24);
    EXPECT_FALSE (fader.getProperties().contains ("colour"));
    EXPECT_EQ (fader.getSliderStyle(), juce::Slider::LinearVertical);
    EXPECT_EQ (fader.getTextBoxPosition(), juce::Slider::NoTextBox);
}

TEST_F (EditorConstruction, MetersCarryTheirTypesAndStartAtRest)
{
    const char* types[] = { "vumeter", "gatevumeter", "vumeterout", "vumeterout" };

    for (int i = 0; i < 4; ++i)
    {
        auto& meter = editor->getMeter (i);
        EXPECT_EQ (meter.getProperties()["type"].toString(), juce::String (types[i])) << i;
        EXPECT_EQ (meter.getSliderStyle(), juce::Slider::RotaryVerticalDrag) << i;
        EXPECT_EQ (meter.getMinimum(), 0.0) << i;
        EXPECT_EQ (meter.getMaximum(), 1.0) << i;
        EXPECT_EQ (meter.getTextBoxPosition(), juce::Slider::NoTextBox) << i;
    }

    EXPECT_DOUBLE_EQ (editor->getMeter (0).getValue(), 0.66);
    EXPECT_FALSE (editor->getMeter (1).isEnabled());
    EXPECT_TRUE (editor->getMeter (0).isEnabled());
    EXPECT_TRUE (editor->getMeter (2).isEnabled());
}

TEST_F (EditorConstruction, SwitchesKeepTheirNamesShowNoTextAndToggleTheirParameterOnClick)
{
    const char* parameters[] = { "eqOn", "Lowcut_In", "Highcut_In", "HF_In", "HMF_In", "MF_In", "LMF_In",
                                 "LF_In", "gateOn", "compOn", "phaseInvert", "compBeforeEq", "oversampling" };

    for (int i = 0; i < VeloraAudioProcessorEditor::numSwitches; ++i)
    {
        auto& button = editor->getSwitch (i);
        EXPECT_EQ (button.getName(), juce::String (EditorLayout::switches[(size_t) i].name));
        EXPECT_TRUE (button.getButtonText().isEmpty()) << button.getName();
        EXPECT_TRUE (button.getClickingTogglesState()) << button.getName();

        // The switch shows the parameter, and a click flips the parameter.
        const auto before = hostValue (*processor, parameters[i]);
        EXPECT_EQ (button.getToggleState(), before >= 0.5f) << button.getName();

        button.triggerClick();
        runMessageLoop (20);
        EXPECT_EQ (hostValue (*processor, parameters[i]), before >= 0.5f ? 0.0f : 1.0f) << button.getName();
        EXPECT_EQ (button.getToggleState(), before < 0.5f) << button.getName();
    }
}

TEST_F (EditorConstruction, OverloadLedsAreDisabledAndNeverToggleOnClick)
{
    for (int i = 0; i < 2; ++i)
    {
        auto& led = editor->getOverloadLed (i);
        EXPECT_EQ (led.getName(), juce::String (i == 0 ? "inputOverload" : "outputOverload"));
        EXPECT_TRUE (led.getButtonText().isEmpty());
        EXPECT_EQ (led.getProperties()["type"].toString(), "overload");
        EXPECT_FALSE (led.isEnabled());
        EXPECT_FALSE (led.getClickingTogglesState());
        EXPECT_FALSE (led.getToggleState());
    }
}

TEST_F (EditorConstruction, VersionCaptionIsSmallGreyAndCentred)
{
    auto& caption = editor->getVersionLabel();
    EXPECT_EQ (caption.getText(), "v1.1.1");
    EXPECT_EQ (caption.findColour (juce::Label::textColourId), juce::Colours::grey);
    EXPECT_EQ (caption.getFont().getHeight(), 11.0f);
    EXPECT_FALSE (caption.getFont().isBold());
    EXPECT_FALSE (caption.getFont().isItalic());
    EXPECT_EQ (caption.getJustificationType(), juce::Justification::centred);
}

TEST_F (EditorConstruction, ControlsFollowTheirParametersAndReopeningChangesNone)
{
    setHostValue (*processor, "LowGain", 0.2f);
    setHostValue (*processor, "outputGain", 0.9f);
    EXPECT_DOUBLE_EQ (control ("LowGain").getValue(), (double) 0.2f);

    closeEditor();

    juce::Array<float> before;
    for (auto* p : processor->getParameters())
        before.add (p->getValue());

    openEditor();

    EXPECT_DOUBLE_EQ (control ("LowGain").getValue(), (double) 0.2f);
    EXPECT_DOUBLE_EQ (control ("outputGain").getValue(), (double) 0.9f);

    int i = 0;
    for (auto* p : processor->getParameters())
        EXPECT_EQ (p->getValue(), before[i++]) << p->getName (64);
}

namespace
{
    /** A double-click as the mouse delivers it to a slider. */
    void doubleClick (juce::Slider& slider)
    {
        const auto centre = slider.getLocalBounds().getCentre().toFloat();
        const auto now = juce::Time::getCurrentTime();
        const juce::MouseEvent e (juce::Desktop::getInstance().getMainMouseSource(), centre, juce::ModifierKeys(),
                                  juce::MouseInputSource::defaultPressure, juce::MouseInputSource::defaultOrientation,
                                  juce::MouseInputSource::defaultRotation, juce::MouseInputSource::defaultTiltX,
                                  juce::MouseInputSource::defaultTiltY, &slider, &slider, now, centre, now, 2, false);
        slider.mouseDoubleClick (e);
    }

    struct DoubleClickCase
    {
        const char* parameterId;
        float returnValue;
    };

    void PrintTo (const DoubleClickCase& c, std::ostream* os) { *os << c.parameterId; }

    struct DoubleClickReturn : public EditorFixture, public ::testing::WithParamInterface<DoubleClickCase>
    {
    };
} // namespace

TEST_P (DoubleClickReturn, SetsTheParameterAsADragOfOneStep)
{
    const auto& c = GetParam();
    auto& slider = control (c.parameterId);

    EXPECT_TRUE (slider.isDoubleClickReturnEnabled());
    EXPECT_EQ (slider.getDoubleClickReturnValue(), (double) c.returnValue);

    setHostValue (*processor, c.parameterId, 0.1f);
    auto& l = label (c.parameterId);
    l.setText ({}, juce::dontSendNotification);

    doubleClick (slider);

    EXPECT_EQ (hostValue (*processor, c.parameterId), c.returnValue);
    EXPECT_FALSE (l.getText().isEmpty());   // the new value was written
    EXPECT_FALSE (l.isVisible());           // and the drag ended at once
}

INSTANTIATE_TEST_SUITE_P (Editor, DoubleClickReturn,
                          ::testing::Values (DoubleClickCase { "HighpassFreq", 0.5f }, DoubleClickCase { "HighGain", 0.5f },
                                             DoubleClickCase { "MidQ", 0.5f }, DoubleClickCase { "gateRelease", 0.5f },
                                             DoubleClickCase { "compAttack", 0.5f }, DoubleClickCase { "inputGain", 0.5f },
                                             DoubleClickCase { "outputGain", 0.75f }),
                          [] (const auto& testCase) { return std::string (testCase.param.parameterId); });

TEST_F (EditorConstruction, EveryControlReturnsToItsTableValueOnDoubleClick)
{
    for (int i = 0; i < VeloraAudioProcessorEditor::numControls; ++i)
    {
        auto& slider = editor->getControl (i);
        EXPECT_TRUE (slider.isDoubleClickReturnEnabled()) << i;
        EXPECT_EQ (slider.getDoubleClickReturnValue(), i == 24 ? 0.75 : 0.5) << i;
        EXPECT_EQ (slider.getMinimum(), 0.0) << i;
        EXPECT_EQ (slider.getMaximum(), 1.0) << i;
    }
}
