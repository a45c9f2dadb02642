#include "ArtworkPreview.h"

#include "ArtworkGeometry.h"

namespace ArtworkPreview
{
    using namespace ArtworkGeometry;

    namespace
    {
        juce::String knobFileFor (const char* colour)
        {
            const juce::String c (colour);

            if (c == "red")
                return "knob_red_frames.png";
            if (c == "blue")
                return "knob_black_frames.png";
            if (c == "gray")
                return "knob_teal_frames.png";
            return "knob_grey_frames.png";
        }
    } // namespace

    juce::Image render (const std::map<juce::String, juce::Image>& images, const ArtworkFonts& fonts)
    {
        auto preview = images.at ("panel.png").createCopy();
        juce::Graphics g (preview);
        g.setImageResamplingQuality (juce::Graphics::highResamplingQuality);

        for (std::size_t i = 0; i < EditorLayout::numKnobs; ++i)
        {
            const auto& k = EditorLayout::continuousControls[i];
            const auto& frames = images.at (knobFileFor (k.colour));
            constexpr int centreFrame = 50;
            g.drawImage (frames, k.control.x, k.control.y, knobFrameSize, knobFrameSize, 0, centreFrame * knobFrameSize, knobFrameSize, knobFrameSize);
        }

        const auto& fader = EditorLayout::continuousControls[EditorLayout::outputFaderIndex].control;
        const auto sliderPos = (float) fader.y + 17.0f + 0.25f * 104.0f; // 0 dB, three quarters up
        g.drawImageAt (images.at ("fader_cap.png"), fader.x, (int) (sliderPos - faderCapHeight * 0.5));

        const auto& vu = EditorLayout::vuMeter.bounds;
        const auto vuFrame = vuFrameForPosition (needlePosition (-3.0));
        g.drawImage (images.at ("vu_needle_frames.png"), vu.x, vu.y, vu.width, vu.height, 0, vuFrame * vuHeight, vuWidth, vuHeight);

        const auto& gate = EditorLayout::gateMeter.bounds;
        g.drawImage (images.at ("meter_column_frames.png"), gate.x, gate.y, gate.width, gate.height, 0, 4 * meterColumnHeight, meterColumnWidth, meterColumnHeight);

        const auto& left = EditorLayout::outputMeterLeft.bounds;
        const auto& right = EditorLayout::outputMeterRight.bounds;
        const auto& grid = images.at ("display_grid_frames.png");
        g.drawImage (grid, left.x, left.y, left.width, left.height, 9 * gridFrameWidth, 0, gridFrameWidth, gridHeight);
        g.drawImage (grid, right.x, right.y, right.width, right.height, 12 * gridFrameWidth, 0, gridFrameWidth, gridHeight);

        for (std::size_t i = 0; i < EditorLayout::switches.size(); ++i)
        {
            const auto& s = EditorLayout::switches[i];
            g.drawImageAt (images.at (i % 2 == 0 ? "led_green.png" : "led_off.png"), s.x, s.y);
        }

        g.drawImageAt (images.at ("led_red.png"), EditorLayout::overloadLeds[0].x, EditorLayout::overloadLeds[0].y);
        g.drawImageAt (images.at ("led_off.png"), EditorLayout::overloadLeds[1].x, EditorLayout::overloadLeds[1].y);

        // The editor's own version caption, grey 11 point, centred in its box.
        const auto& caption = EditorLayout::versionCaption;
        g.setColour (juce::Colours::grey);
        g.setFont (fonts.regular (11.0f));
        g.drawText ("v" VELORA_VERSION_STRING, caption.x, caption.y, caption.width, caption.height, juce::Justification::centred, false);

        return preview;
    }

    juce::Image renderSheet (const std::map<juce::String, juce::Image>& images)
    {
        juce::Image sheet (juce::Image::RGB, 330, 400, true);
        juce::Graphics g (sheet);
        g.fillAll (juce::Colour (0xff2c2d31));

        const char* knobs[] = { "knob_black_frames.png", "knob_teal_frames.png", "knob_red_frames.png", "knob_grey_frames.png" };

        for (int row = 0; row < 4; ++row)
            for (int i = 0; i < 5; ++i)
                g.drawImage (images.at (knobs[row]), 5 + i * 62, 5 + row * 62, knobFrameSize, knobFrameSize,
                             0, i * 25 * knobFrameSize, knobFrameSize, knobFrameSize);

        for (int k = 0; k < meterColumnFrames; ++k)
            g.drawImage (images.at ("meter_column_frames.png"), 5 + k * 18, 260, meterColumnWidth, meterColumnHeight,
                         0, k * meterColumnHeight, meterColumnWidth, meterColumnHeight);

        g.drawImageAt (images.at ("display_grid_frames.png"), 130, 255);
        g.drawImageAt (images.at ("led_off.png"), 5, 375);
        g.drawImageAt (images.at ("led_red.png"), 27, 375);
        g.drawImageAt (images.at ("led_green.png"), 49, 375);
        g.drawImageAt (images.at ("fader_cap.png"), 80, 365);
        return sheet;
    }

    juce::Image enlarge (const juce::Image& image, int factor)
    {
        juce::Image big (juce::Image::RGB, image.getWidth() * factor, image.getHeight() * factor, true);
        juce::Graphics g (big);
        g.setImageResamplingQuality (juce::Graphics::lowResamplingQuality);
        g.drawImageTransformed (image, juce::AffineTransform::scale ((float) factor));
        return big;
    }
} // namespace ArtworkPreview
