#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The console look: knobs, meters, LEDs and the fader cap are copied from the embedded
    images rather than drawn. Components choose their picture through their "type" and
    "colour" properties; everything not overridden here keeps the V3 look. */
class VeloraLookAndFeel final : public juce::LookAndFeel_V3
{
public:
    VeloraLookAndFeel();

    void drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour& backgroundColour,
                               bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;

    void drawLinearSliderBackground (juce::Graphics& g, int x, int y, int width, int height, float sliderPos,
                                     float minSliderPos, float maxSliderPos, juce::Slider::SliderStyle style,
                                     juce::Slider& slider) override;

    void drawLinearSliderThumb (juce::Graphics& g, int x, int y, int width, int height, float sliderPos,
                                float minSliderPos, float maxSliderPos, juce::Slider::SliderStyle style,
                                juce::Slider& slider) override;

    void drawRotarySlider (juce::Graphics& g, int x, int y, int width, int height, float sliderPosProportional,
                           float rotaryStartAngle, float rotaryEndAngle, juce::Slider& slider) override;

    int getSliderThumbRadius (juce::Slider& slider) override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VeloraLookAndFeel)
};
