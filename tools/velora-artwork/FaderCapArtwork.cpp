#include "FaderCapArtwork.h"

#include "ArtworkGeometry.h"

namespace FaderCapArtwork
{
    using juce::Colour;

    juce::Image render()
    {
        const auto w = (float) ArtworkGeometry::faderCapWidth;
        const auto h = (float) ArtworkGeometry::faderCapHeight;
        juce::Image image (juce::Image::ARGB, ArtworkGeometry::faderCapWidth, ArtworkGeometry::faderCapHeight, true);
        juce::Graphics g (image);

        const juce::Rectangle<float> body (0.5f, 0.5f, w - 1.0f, h - 1.0f);

        // The cap's front is a saddle: bright where its upper face meets the light, darker
        // towards the middle, brighter again on the lower face.
        juce::ColourGradient face (Colour (0xffe4e4e2), 0.0f, 0.5f, Colour (0xff8a8b8d), 0.0f, h - 0.5f, false);
        face.addColour (0.12, Colour (0xffc9c9c8));
        face.addColour (0.46, Colour (0xff7d7e80));
        face.addColour (0.54, Colour (0xff9fa0a2));
        face.addColour (0.88, Colour (0xff6c6d70));
        g.setGradientFill (face);
        g.fillRoundedRectangle (body, 2.5f);

        // Side shading, so the cap reads as a solid block.
        juce::ColourGradient sides (Colour (0x30ffffff), 0.5f, 0.0f, Colour (0x50000000), w - 0.5f, 0.0f, false);
        sides.addColour (0.3, Colour (0x00000000));
        sides.addColour (0.7, Colour (0x00000000));
        g.setGradientFill (sides);
        g.fillRoundedRectangle (body, 2.5f);

        // Grip ridges: a dark groove with a highlight just below it.
        for (int i = 0; i < 5; ++i)
        {
            for (const auto y : { 4.0f + 2.5f * (float) i, h - 5.0f - 2.5f * (float) i })
            {
                g.setColour (Colour (0x70000000));
                g.fillRect (2.0f, y, w - 4.0f, 1.0f);
                g.setColour (Colour (0x50ffffff));
                g.fillRect (2.0f, y + 1.0f, w - 4.0f, 0.8f);
            }
        }

        // The centre line the reading is taken at.
        const auto mid = h * 0.5f;
        g.setColour (Colour (0xff1a1a1a));
        g.fillRect (1.0f, mid - 1.5f, w - 2.0f, 3.0f);
        g.setColour (Colour (0xfff8f8f4));
        g.fillRect (1.0f, mid - 0.5f, w - 2.0f, 1.0f);

        g.setColour (Colour (0xc0202020));
        g.drawRoundedRectangle (body, 2.5f, 1.0f);
        return image;
    }
} // namespace FaderCapArtwork
