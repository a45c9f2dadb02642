#pragma once

#include "EditorLayout.h"
#include "MySliderLabel.h"
#include "VeloraLookAndFeel.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <array>
#include <memory>

class VeloraAudioProcessor;

/** The channel strip's window: the panel picture with the knobs, the fader, the switches,
    the meters and the value labels on it, all bound to the processor's parameter tree.

    Every control lives inside contentComponent, the editor's only child. The attachments
    are declared after the controls, so they are destroyed before the controls they are
    attached to; the destructor takes the look-and-feel off the editor before its member
    goes.
*/
class VeloraAudioProcessorEditor final : public juce::AudioProcessorEditor,
                                         public juce::Slider::Listener,
                                         public juce::Timer
{
public:
    static constexpr int numControls = (int) EditorLayout::continuousControls.size();
    static constexpr int numMeters = (int) EditorLayout::meters.size();
    static constexpr int numSwitches = (int) EditorLayout::switches.size();
    static constexpr int timerPeriodMs = 50;

    explicit VeloraAudioProcessorEditor (VeloraAudioProcessor& processorToEdit);
    ~VeloraAudioProcessorEditor() override;

    void paint (juce::Graphics& g) override;
    void resized() override;

    void sliderValueChanged (juce::Slider* slider) override;
    void sliderDragStarted (juce::Slider* slider) override;
    void sliderDragEnded (juce::Slider* slider) override;

    void timerCallback() override;

    /** The components, in the order of the layout tables, for inspection. */
    juce::Slider& getControl (int index) const              { return *controls[(size_t) index]; }
    juce::Slider& getMeter (int index) const;
    MySliderLabel& getValueLabel (int index)                { return valueLabels[(size_t) index]; }
    juce::Label& getVersionLabel() noexcept                 { return versionLabel; }
    juce::TextButton& getSwitch (int index) const           { return *switches[(size_t) index]; }
    juce::TextButton& getOverloadLed (int index) const      { return index == 0 ? *inputOverload : *outputOverload; }
    juce::Component& getContentComponent() noexcept         { return contentComponent; }

private:
    int indexOfControl (const juce::Slider* slider) const noexcept;

    juce::Image panelImage;

    std::array<std::unique_ptr<juce::Slider>, (size_t) numControls> controls;
    std::unique_ptr<juce::Slider> vuMeter, gateMeter, outputMeterLeft, outputMeterRight;

    std::array<MySliderLabel, (size_t) numControls> valueLabels;
    juce::Label versionLabel;

    std::array<std::unique_ptr<juce::TextButton>, (size_t) numSwitches> switches;
    std::unique_ptr<juce::TextButton> inputOverload, outputOverload;

    juce::OwnedArray<juce::AudioProcessorValueTreeState::SliderAttachment> sliderAttachments;
    juce::OwnedArray<juce::AudioProcessorValueTreeState::ButtonAttachment> buttonAttachments;

    VeloraLookAndFeel lookAndFeel;
    juce::Component contentComponent;
    VeloraAudioProcessor& audioProcessor;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VeloraAudioProcessorEditor)
};
