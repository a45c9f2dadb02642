#include "EditorImages.h"
#include "editor/FrameStrip.h"
#include "editor/VeloraLookAndFeel.h"

#include <gtest/gtest.h>

namespace
{
    /** Paints a component on its own, through the look-and-feel, onto a transparent image. */
    juce::Image paint (juce::Component& c)
    {
        juce::Image image (juce::Image::ARGB, c.getWidth(), c.getHeight(), true);
        juce::Graphics g (image);
        c.paintEntireComponent (g, false);
        return image;
    }

    bool samePixels (const juce::Image& a, const juce::Image& b)
    {
        if (a.getWidth() != b.getWidth() || a.getHeight() != b.getHeight())
            return false;

        for (int y = 0; y < a.getHeight(); ++y)
            for (int x = 0; x < a.getWidth(); ++x)
                if (a.getPixelAt (x, y) != b.getPixelAt (x, y))
                    return false;

        return true;
    }

    bool isTransparent (const juce::Image& image)
    {
        for (int y = 0; y < image.getHeight(); ++y)
            for (int x = 0; x < image.getWidth(); ++x)
                if (image.getPixelAt (x, y).getAlpha() != 0)
                    return false;

        return true;
    }

    /** Frame k of a strip, as a separate image. */
    juce::Image frameOf (const juce::Image& strip, int k, int frameWidth, int frameHeight, bool sideBySide)
    {
        const auto area = sideBySide ? juce::Rectangle<int> (k * frameWidth, 0, frameWidth, frameHeight)
                                     : juce::Rectangle<int> (0, k * frameHeight, frameWidth, frameHeight);
        return strip.getClippedImage (area).createCopy();
    }

    struct StripCase
    {
        const char* name;
        const char* type;      // nullptr: no "type" property
        const char* colour;    // nullptr: no "colour" property
        EditorImage image;
        int frameWidth, frameHeight;
        bool sideBySide;
        float proportion;
        int expectedFrame;
    };

    void PrintTo (const StripCase& c, std::ostream* os) { *os << c.name; }

    class RotaryFrames : public ::testing::TestWithParam<StripCase>
    {
    };

    std::string stripCaseName (const ::testing::TestParamInfo<StripCase>& info) { return info.param.name; }
} // namespace

TEST_P (RotaryFrames, PaintTheExpectedFrameOfItsImage)
{
    const auto& c = GetParam();
    VeloraLookAndFeel lf;

    juce::Slider slider (juce::Slider::RotaryVerticalDrag, juce::Slider::NoTextBox);
    slider.setLookAndFeel (&lf);
    slider.setRange (0.0, 1.0, 0.0);
    slider.setSize (c.frameWidth, c.frameHeight);

    if (c.type != nullptr)
        slider.getProperties().set ("type", c.type);

    if (c.colour != nullptr)
        slider.getProperties().set ("colour", c.colour);

    slider.setValue (c.proportion, juce::dontSendNotification);
    const auto painted = paint (slider);
    slider.setLookAndFeel (nullptr);

    const auto strip = c.image.load();
    const auto frames = c.sideBySide ? strip.getWidth() / c.frameWidth : strip.getHeight() / c.frameHeight;

    int matched = -1;

    for (int k = 0; k < frames && matched < 0; ++k)
        if (samePixels (painted, frameOf (strip, k, c.frameWidth, c.frameHeight, c.sideBySide)))
            matched = k;

    EXPECT_EQ (matched, c.expectedFrame);
    EXPECT_EQ (FrameStrip::frameIndex (FrameStrip::kindFor (slider.getProperties()), strip.getWidth(), strip.getHeight(),
                                       c.proportion),
               c.expectedFrame);
}

INSTANTIATE_TEST_SUITE_P (
    Editor, RotaryFrames,
    ::testing::Values (
        StripCase { "PlainKnobAt0", nullptr, nullptr, knobGreyFrames, 60, 60, false, 0.0f, 0 },
        StripCase { "PlainKnobAtHalf", nullptr, nullptr, knobGreyFrames, 60, 60, false, 0.5f, 50 },
        StripCase { "PlainKnobAt1", nullptr, nullptr, knobGreyFrames, 60, 60, false, 1.0f, 100 },
        StripCase { "WhiteKnobAtHalf", nullptr, "white", knobGreyFrames, 60, 60, false, 0.5f, 50 },
        StripCase { "RedKnobAt0", nullptr, "red", knobRedFrames, 60, 60, false, 0.0f, 0 },
        StripCase { "RedKnobAt1", nullptr, "red", knobRedFrames, 60, 60, false, 1.0f, 100 },
        StripCase { "BlueKnobIsBlackAtHalf", nullptr, "blue", knobBlackFrames, 60, 60, false, 0.5f, 50 },
        StripCase { "GrayKnobIsTealAt1", nullptr, "gray", knobTealFrames, 60, 60, false, 1.0f, 100 },
        StripCase { "UnknownTypeWhiteIsGrey", "knob", "white", knobGreyFrames, 60, 60, false, 0.25f, 25 },
        StripCase { "UnknownTypeRedIsRed", "knob", "red", knobRedFrames, 60, 60, false, 0.75f, 75 },
        StripCase { "VuNeedleAt0", "vumeter", nullptr, vuNeedleFrames, 162, 85, false, 0.0f, 0 },
        StripCase { "VuNeedleAtHalf", "vumeter", nullptr, vuNeedleFrames, 162, 85, false, 0.5f, 50 },
        StripCase { "VuNeedleAt1", "vumeter", nullptr, vuNeedleFrames, 162, 85, false, 1.0f, 99 },
        StripCase { "VuNeedleIgnoresColour", "vumeter", "red", vuNeedleFrames, 162, 85, false, 0.66f, 66 },
        StripCase { "GridAt0", "vumeterout", nullptr, displayGridImage, 15, 120, true, 0.0f, 0 },
        StripCase { "GridAtHalf", "vumeterout", nullptr, displayGridImage, 15, 120, true, 0.5f, 6 },
        StripCase { "GridAt1", "vumeterout", nullptr, displayGridImage, 15, 120, true, 1.0f, 12 },
        StripCase { "GateColumnAt0", "gatevumeter", nullptr, meterColumnFrames, 14, 104, false, 0.0f, 6 },
        StripCase { "GateColumnAtFifth", "gatevumeter", nullptr, meterColumnFrames, 14, 104, false, 0.2f, 5 },
        StripCase { "GateColumnAtHalf", "gatevumeter", nullptr, meterColumnFrames, 14, 104, false, 0.5f, 3 },
        StripCase { "GateColumnAt1", "gatevumeter", nullptr, meterColumnFrames, 14, 104, false, 1.0f, 0 }),
    stripCaseName);

TEST (RotaryFrames, GridFrameIsStretchedOverTheEditorsTallerColumn)
{
    VeloraLookAndFeel lf;
    juce::Slider slider (juce::Slider::RotaryVerticalDrag, juce::Slider::NoTextBox);
    slider.setLookAndFeel (&lf);
    slider.setRange (0.0, 1.0, 0.0);
    slider.getProperties().set ("type", "vumeterout");
    slider.setSize (15, 125);
    slider.setValue (0.5, juce::dontSendNotification);
    const auto painted = paint (slider);
    slider.setLookAndFeel (nullptr);

    // Which frame it resembles most, sampling each row at its place in the 120-row frame.
    const auto grid = displayGridImage.load();
    int best = -1;
    auto bestError = 1.0e30;

    for (int k = 0; k < 13; ++k)
    {
        auto error = 0.0;

        for (int y = 0; y < 125; ++y)
            for (int x = 0; x < 15; ++x)
            {
                const auto a = painted.getPixelAt (x, y);
                const auto b = grid.getPixelAt (k * 15 + x, (int) ((y + 0.5) * 120.0 / 125.0));
                error += std::abs (a.getPerceivedBrightness() - b.getPerceivedBrightness());
            }

        if (error < bestError)
        {
            bestError = error;
            best = k;
        }
    }

    EXPECT_EQ (best, 6);

    // Drawn over the whole height: the bottom row and the top row both carry the frame.
    EXPECT_GT (painted.getPixelAt (7, 124).getAlpha(), 0);
    EXPECT_GT (painted.getPixelAt (7, 0).getAlpha(), 0);
}

TEST (RotaryFrames, NothingIsDrawnWhenThePropertiesNameNoImage)
{
    VeloraLookAndFeel lf;

    for (const auto* colour : { "", "purple" })
    {
        juce::Slider slider (juce::Slider::RotaryVerticalDrag, juce::Slider::NoTextBox);
        slider.setLookAndFeel (&lf);
        slider.setRange (0.0, 1.0, 0.0);
        slider.getProperties().set ("type", "dial");

        if (*colour != 0)
            slider.getProperties().set ("colour", colour);

        slider.setSize (60, 60);
        slider.setValue (0.5, juce::dontSendNotification);
        EXPECT_TRUE (isTransparent (paint (slider))) << colour;
        slider.setLookAndFeel (nullptr);
    }

    // Without a type, an unknown colour still gets the grey knob.
    juce::NamedValueSet properties;
    properties.set ("colour", "purple");
    EXPECT_EQ (FrameStrip::kindFor (properties), FrameStrip::Kind::knobGrey);
}

//==============================================================================
namespace
{
    struct LedCase
    {
        const char* name;
        const char* type;
        bool on;
        juce::Button::ButtonState mouse;
        EditorImage expected;
    };

    void PrintTo (const LedCase& c, std::ostream* os) { *os << c.name; }

    class ButtonLeds : public ::testing::TestWithParam<LedCase>
    {
    };
} // namespace

TEST_P (ButtonLeds, ShowTheirStateWhateverTheMouseDoes)
{
    const auto& c = GetParam();
    VeloraLookAndFeel lf;
    juce::TextButton button ("switch");
    button.setLookAndFeel (&lf);
    button.setButtonText ({});
    button.setSize (18, 18);

    if (c.type != nullptr)
        button.getProperties().set ("type", c.type);

    button.setToggleState (c.on, juce::dontSendNotification);
    button.setState (c.mouse);

    EXPECT_TRUE (samePixels (paint (button), c.expected.load()));
    button.setLookAndFeel (nullptr);
}

INSTANTIATE_TEST_SUITE_P (Editor, ButtonLeds,
                          ::testing::Values (LedCase { "OffIsDark", nullptr, false, juce::Button::buttonNormal, ledOffImage },
                                             LedCase { "OffAndPressedIsDark", nullptr, false, juce::Button::buttonDown, ledOffImage },
                                             LedCase { "OverloadOffIsDark", "overload", false, juce::Button::buttonOver, ledOffImage },
                                             LedCase { "OnIsGreen", nullptr, true, juce::Button::buttonNormal, ledGreenImage },
                                             LedCase { "OnAndHoveredIsGreen", nullptr, true, juce::Button::buttonOver, ledGreenImage },
                                             LedCase { "OtherTypeOnIsGreen", "vumeter", true, juce::Button::buttonNormal, ledGreenImage },
                                             LedCase { "OverloadOnIsRed", "overload", true, juce::Button::buttonNormal, ledRedImage },
                                             LedCase { "OverloadOnAndPressedIsRed", "overload", true, juce::Button::buttonDown, ledRedImage }),
                          [] (const auto& testCase) { return std::string (testCase.param.name); });

//==============================================================================
TEST (FaderLook, ThumbRadiusIsHalfTheCapForTheVerticalFaderOnly)
{
    VeloraLookAndFeel lf;
    juce::Slider vertical (juce::Slider::LinearVertical, juce::Slider::NoTextBox);
    juce::Slider horizontal (juce::Slider::LinearHorizontal, juce::Slider::NoTextBox);
    juce::Slider rotary (juce::Slider::RotaryVerticalDrag, juce::Slider::NoTextBox);

    EXPECT_EQ (lf.getSliderThumbRadius (vertical), 17);
    EXPECT_EQ (lf.getSliderThumbRadius (horizontal), 10);
    EXPECT_EQ (lf.getSliderThumbRadius (rotary), 10);
}

TEST (FaderLook, CapIsCentredOnTheThumbPositionAndTheTrackIsInvisible)
{
    VeloraLookAndFeel lf;
    juce::Slider fader (juce::Slider::LinearVertical, juce::Slider::NoTextBox);
    fader.setSize (18, 200);

    juce::Image image (juce::Image::ARGB, 18, 200, true);
    {
        juce::Graphics g (image);
        lf.drawLinearSliderBackground (g, 0, 17, 18, 166, 100.0f, 17.0f, 183.0f, juce::Slider::LinearVertical, fader);
    }
    EXPECT_TRUE (isTransparent (image));

    {
        juce::Graphics g (image);
        lf.drawLinearSliderThumb (g, 0, 17, 18, 166, 100.0f, 17.0f, 183.0f, juce::Slider::LinearVertical, fader);
    }

    // trunc (100 - 35 / 2) = 82: the cap occupies rows 82 to 116, pixel for pixel.
    const auto cap = faderCapImage.load();
    EXPECT_TRUE (samePixels (image.getClippedImage ({ 0, 82, 18, 35 }).createCopy(), cap));
    EXPECT_TRUE (isTransparent (image.getClippedImage ({ 0, 0, 18, 82 }).createCopy()));
    EXPECT_TRUE (isTransparent (image.getClippedImage ({ 0, 117, 18, 83 }).createCopy()));
}
