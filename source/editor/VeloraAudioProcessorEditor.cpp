#include "VeloraAudioProcessorEditor.h"

#include "MeterValues.h"
#include "common/ParameterUnits.h"
#include "compressor/CompressorFilter.h"
#include "processor/VeloraAudioProcessor.h"

#include <VeloraImages.h>

namespace
{
    void setBoundsScaled (juce::Component& c, EditorLayout::Bounds design, float scale)
    {
        const auto b = EditorLayout::scaled (design, scale);
        c.setBounds (b.x, b.y, b.width, b.height);
    }

    // "oversampling" sits below "compBeforeEq" on the panel but is created first.
    constexpr std::array<int, 13> switchCreationOrder { 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 11 };
    static_assert (switchCreationOrder.size() == EditorLayout::switches.size());
} // namespace

VeloraAudioProcessorEditor::VeloraAudioProcessorEditor (VeloraAudioProcessor& processorToEdit)
    : juce::AudioProcessorEditor (processorToEdit),
      panelImage (juce::ImageCache::getFromMemory (VeloraImages::panel_png, VeloraImages::panel_pngSize)),
      audioProcessor (processorToEdit)
{
    setLookAndFeel (&lookAndFeel);

    addAndMakeVisible (contentComponent);
    contentComponent.setBounds (0, 0, panelImage.getWidth(), panelImage.getHeight());

    auto& tree = audioProcessor.getParameterTree();

    for (size_t i = 0; i < controls.size(); ++i)
    {
        const auto& layout = EditorLayout::continuousControls[i];
        auto& slider = controls[i];

        slider = std::make_unique<juce::Slider>();
        contentComponent.addAndMakeVisible (*slider);
        slider->setSliderStyle (layout.colour != nullptr ? juce::Slider::RotaryVerticalDrag : juce::Slider::LinearVertical);
        slider->setTextBoxStyle (juce::Slider::NoTextBox, false, 0, 0);

        if (layout.colour != nullptr)
            slider->getProperties().set ("colour", layout.colour);

        slider->setRange (0.0, 1.0, 0.0);

        // Attached before the editor listens, so the initial value leaves the label empty.
        sliderAttachments.add (new juce::AudioProcessorValueTreeState::SliderAttachment (tree, layout.parameterId, *slider));
        slider->setDoubleClickReturnValue (true, layout.doubleClickValue);
        slider->addListener (this);

        // Added after its own control, so the label lies above it.
        contentComponent.addAndMakeVisible (valueLabels[i]);
    }

    vuMeter = std::make_unique<juce::Slider>();
    gateMeter = std::make_unique<juce::Slider>();
    outputMeterLeft = std::make_unique<juce::Slider>();
    outputMeterRight = std::make_unique<juce::Slider>();

    for (int i = 0; i < numMeters; ++i)
    {
        auto& meter = getMeter (i);
        contentComponent.addAndMakeVisible (meter);
        meter.setSliderStyle (juce::Slider::RotaryVerticalDrag);
        meter.setTextBoxStyle (juce::Slider::NoTextBox, false, 0, 0);
        meter.setRange (0.0, 1.0, 0.0);
        meter.getProperties().set ("type", EditorLayout::meters[(size_t) i].type);

        // The needle rests at its 0 dB mark until the first tick moves it.
        if (&meter == vuMeter.get())
            meter.setValue (0.66, juce::sendNotificationAsync);

        if (&meter == gateMeter.get())
            meter.setEnabled (false);
    }

    for (const auto index : switchCreationOrder)
    {
        const auto& layout = EditorLayout::switches[(size_t) index];
        auto& button = switches[(size_t) index];

        button = std::make_unique<juce::TextButton> (layout.name);
        contentComponent.addAndMakeVisible (*button);
        button->setClickingTogglesState (true);
        button->setButtonText ({});
        buttonAttachments.add (new juce::AudioProcessorValueTreeState::ButtonAttachment (tree, layout.parameterId, *button));
    }

    inputOverload = std::make_unique<juce::TextButton> (EditorLayout::overloadLeds[0].name);
    outputOverload = std::make_unique<juce::TextButton> (EditorLayout::overloadLeds[1].name);

    for (auto* led : { inputOverload.get(), outputOverload.get() })
    {
        contentComponent.addAndMakeVisible (*led);
        led->setButtonText ({});
        led->getProperties().set ("type", "overload");
        led->setEnabled (false);
    }

    versionLabel.setColour (juce::Label::textColourId, juce::Colours::grey);
    versionLabel.setFont (juce::Font (11.0f, juce::Font::plain));
    versionLabel.setJustificationType (juce::Justification::centred);
    contentComponent.addAndMakeVisible (versionLabel);
    versionLabel.setText ("v" + juce::String (VELORA_VERSION_STRING), juce::dontSendNotification);

    setSize (panelImage.getWidth(), panelImage.getHeight());
    startTimer (timerPeriodMs);
}

VeloraAudioProcessorEditor::~VeloraAudioProcessorEditor()
{
    setLookAndFeel (nullptr);
    stopTimer();
}

juce::Slider& VeloraAudioProcessorEditor::getMeter (int index) const
{
    switch (index)
    {
        case 0:  return *vuMeter;
        case 1:  return *gateMeter;
        case 2:  return *outputMeterLeft;
        default: return *outputMeterRight;
    }
}

//==============================================================================
void VeloraAudioProcessorEditor::paint (juce::Graphics& g)
{
    g.setImageResamplingQuality (juce::Graphics::highResamplingQuality);

    if (panelImage.isValid())
        g.drawImageAt (panelImage, 0, 0);
}

void VeloraAudioProcessorEditor::resized()
{
    const auto scale = EditorLayout::scaleForWidth (getWidth());

    for (size_t i = 0; i < controls.size(); ++i)
    {
        setBoundsScaled (*controls[i], EditorLayout::continuousControls[i].control, scale);
        setBoundsScaled (valueLabels[i], EditorLayout::continuousControls[i].label, scale);
    }

    for (int i = 0; i < numMeters; ++i)
        setBoundsScaled (getMeter (i), EditorLayout::meters[(size_t) i].bounds, scale);

    for (size_t i = 0; i < switches.size(); ++i)
        setBoundsScaled (*switches[i], EditorLayout::switches[i].getBounds(), scale);

    setBoundsScaled (*inputOverload, EditorLayout::overloadLeds[0].getBounds(), scale);
    setBoundsScaled (*outputOverload, EditorLayout::overloadLeds[1].getBounds(), scale);
    setBoundsScaled (versionLabel, EditorLayout::versionCaption, scale);
}

//==============================================================================
int VeloraAudioProcessorEditor::indexOfControl (const juce::Slider* slider) const noexcept
{
    for (size_t i = 0; i < controls.size(); ++i)
        if (controls[i].get() == slider)
            return (int) i;

    return -1;
}

void VeloraAudioProcessorEditor::sliderValueChanged (juce::Slider* slider)
{
    const auto index = indexOfControl (slider);

    if (index < 0)
        return;

    const auto text = ParameterUnits::valueLabelText (EditorLayout::continuousControls[(size_t) index].parameterId,
                                                      slider->getValue(), audioProcessor.getSampleRate());

    if (text.has_value())
        valueLabels[(size_t) index].setText (*text, juce::dontSendNotification);
}

void VeloraAudioProcessorEditor::sliderDragStarted (juce::Slider* slider)
{
    const auto index = indexOfControl (slider);

    if (index < 0)
        return;

    auto& label = valueLabels[(size_t) index];
    label.setVisible (true);
    label.setAlpha (1.0f);

    // Above its knob and above a snapshot of itself that may still be fading out.
    label.toFront (false);
}

void VeloraAudioProcessorEditor::sliderDragEnded (juce::Slider* slider)
{
    const auto index = indexOfControl (slider);

    if (index >= 0)
        juce::Desktop::getInstance().getAnimator().fadeOut (&valueLabels[(size_t) index], 500);
}

//==============================================================================
void VeloraAudioProcessorEditor::timerCallback()
{
    const auto now = juce::Time::getApproximateMillisecondCounter();

    outputMeterLeft->setValue (MeterValues::outputColumn (audioProcessor.getOutputPeakLeft(), now), juce::sendNotificationAsync);
    outputMeterRight->setValue (MeterValues::outputColumn (audioProcessor.getOutputPeakRight(), now), juce::sendNotificationAsync);

    gateMeter->setValue (MeterValues::gateColumn (audioProcessor.isGateEnabled(), audioProcessor.getGateGain()),
                         juce::sendNotificationAsync);

    auto& compressorEngine = audioProcessor.getCompressorEngine();
    const auto target = MeterValues::needleTarget (audioProcessor.isCompEnabled(), compressorEngine.getCurrentGain(),
                                                   compressorEngine.getWetGain());
    vuMeter->setValue (MeterValues::needleStep (vuMeter->getValue(), target), juce::sendNotificationAsync);

    inputOverload->setToggleState (audioProcessor.isInputOverloaded(), juce::dontSendNotification);
    outputOverload->setToggleState (audioProcessor.isOutputOverloaded(), juce::dontSendNotification);

    repaint();
}
