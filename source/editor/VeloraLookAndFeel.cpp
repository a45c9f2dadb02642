#include "VeloraLookAndFeel.h"

#include "FrameStrip.h"

#include <VeloraImages.h>

#include <cmath>

namespace
{
    juce::Image faderCap()
    {
        return juce::ImageCache::getFromMemory (VeloraImages::fader_cap_png, VeloraImages::fader_cap_pngSize);
    }

    juce::Image ledImage (bool lit, bool overload)
    {
        if (! lit)
            return juce::ImageCache::getFromMemory (VeloraImages::led_off_png, VeloraImages::led_off_pngSize);

        if (overload)
            return juce::ImageCache::getFromMemory (VeloraImages::led_red_png, VeloraImages::led_red_pngSize);

        return juce::ImageCache::getFromMemory (VeloraImages::led_green_png, VeloraImages::led_green_pngSize);
    }
} // namespace

VeloraLookAndFeel::VeloraLookAndFeel()
{
    // The value labels keep the default label look, but its black text is lost on the dark
    // panel: the scheme's label text is the panel's legend colour instead.
    setColour (juce::Label::textColourId, juce::Colour (0xffe8e2d0));
}

void VeloraLookAndFeel::drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour&, bool, bool)
{
    // The LED shows the switch state only; hover and press leave it alone.
    const auto overload = button.getProperties()["type"].toString() == "overload";
    const auto image = ledImage (button.getToggleState(), overload);

    if (image.isValid())
        g.drawImageAt (image, 0, 0);
}

void VeloraLookAndFeel::drawLinearSliderBackground (juce::Graphics&, int, int, int, int, float, float, float,
                                                    juce::Slider::SliderStyle, juce::Slider&)
{
    // The fader's slot is part of the panel picture.
}

void VeloraLookAndFeel::drawLinearSliderThumb (juce::Graphics& g, int x, int, int, int, float sliderPos, float, float,
                                               juce::Slider::SliderStyle, juce::Slider& slider)
{
    const auto cap = faderCap();

    if (! cap.isValid())
        return;

    // A NaN parameter value gives a NaN position, which has no int: the cap rests at the
    // bottom of its travel instead.
    if (std::isnan (sliderPos))
        sliderPos = slider.getPositionOfValue (slider.getMinimum());

    const auto top = (int) ((double) sliderPos - (double) cap.getHeight() * 0.5);
    g.drawImageAt (cap, x, top);
}

void VeloraLookAndFeel::drawRotarySlider (juce::Graphics& g, int x, int y, int width, int height, float sliderPosProportional,
                                          float, float, juce::Slider& slider)
{
    const auto kind = FrameStrip::kindFor (slider.getProperties());

    if (kind == FrameStrip::Kind::none)
        return;

    const auto image = FrameStrip::load (kind);

    if (! image.isValid())
        return;

    const auto source = FrameStrip::sourceArea (kind, image.getWidth(), image.getHeight(), sliderPosProportional,
                                                { x, y, width, height });

    g.drawImage (image, x, y, width, height, source.getX(), source.getY(), source.getWidth(), source.getHeight());
}

int VeloraLookAndFeel::getSliderThumbRadius (juce::Slider& slider)
{
    // The fader's travel ends where the cap's centre can go, half a cap from each end.
    if (slider.getSliderStyle() == juce::Slider::LinearVertical)
        return (int) ((double) faderCap().getHeight() * 0.5);

    return 10;
}
