#include "LedArtwork.h"

#include "ArtworkGeometry.h"

namespace LedArtwork
{
    using juce::Colour;

    namespace
    {
        juce::Rectangle<float> circle (juce::Point<float> c, float radius)
        {
            return { c.x - radius, c.y - radius, radius * 2.0f, radius * 2.0f };
        }

        /** A domed lens: a body gradient from hot centre to edge and a small specular dot. */
        void drawLens (juce::Graphics& g, juce::Point<float> c, float radius, Colour centreColour, Colour edgeColour)
        {
            juce::ColourGradient body (centreColour, c.x - radius * 0.2f, c.y - radius * 0.2f,
                                       edgeColour, c.x + radius, c.y + radius, true);
            g.setGradientFill (body);
            g.fillEllipse (circle (c, radius));

            juce::ColourGradient spot (Colour (0xc8ffffff), c.x - radius * 0.35f, c.y - radius * 0.4f,
                                       Colour (0x00ffffff), c.x - radius * 0.35f, c.y + radius * 0.15f, true);
            g.setGradientFill (spot);
            g.fillEllipse (circle ({ c.x - radius * 0.3f, c.y - radius * 0.35f }, radius * 0.55f));
        }

        void drawGlow (juce::Graphics& g, juce::Point<float> c, float innerRadius, float outerRadius, Colour colour)
        {
            juce::ColourGradient glow (colour.withAlpha (0.75f), c.x, c.y,
                                       colour.withAlpha (0.0f), c.x + outerRadius, c.y, true);
            glow.addColour (innerRadius / outerRadius, colour.withAlpha (0.45f));
            g.setGradientFill (glow);
            g.fillEllipse (circle (c, outerRadius));
        }
    } // namespace

    juce::Image renderLed (Lamp lamp)
    {
        const auto size = ArtworkGeometry::ledSize;
        juce::Image image (juce::Image::ARGB, size, size, true);
        juce::Graphics g (image);
        const juce::Point<float> c (size * 0.5f, size * 0.5f);

        // A chrome bezel ring, lit from the upper left.
        juce::ColourGradient ring (Colour (0xffd8d8d8), 2.0f, 2.0f, Colour (0xff2a2a2a), 16.0f, 16.0f, false);
        g.setGradientFill (ring);
        g.fillEllipse (circle (c, 8.6f));
        g.setColour (Colour (0xff101010));
        g.fillEllipse (circle (c, 6.9f));

        switch (lamp)
        {
            case Lamp::off:
                drawLens (g, c, 6.1f, Colour (0xff4b4c45), Colour (0xff161714));
                break;

            case Lamp::red:
                drawGlow (g, c, 6.0f, 8.8f, Colour (0xffff3020));
                drawLens (g, c, 6.1f, Colour (0xffffd0b8), Colour (0xffd01808));
                break;

            case Lamp::green:
                drawGlow (g, c, 6.0f, 8.8f, Colour (0xffc8ff30));
                drawLens (g, c, 6.1f, Colour (0xfff6ffc8), Colour (0xff80b810));
                break;
        }

        g.setColour (Colour (0x90000000));
        g.drawEllipse (circle (c, 8.45f), 0.6f);
        return image;
    }

    juce::Image renderMeterColumnFrames()
    {
        using namespace ArtworkGeometry;
        juce::Image image (juce::Image::RGB, meterColumnWidth, meterColumnHeight * meterColumnFrames, true);
        juce::Graphics g (image);

        for (int frame = 0; frame < meterColumnFrames; ++frame)
        {
            juce::Graphics::ScopedSaveState state (g);
            g.reduceClipRegion (0, frame * meterColumnHeight, meterColumnWidth, meterColumnHeight);
            g.setOrigin (0, frame * meterColumnHeight);

            juce::ColourGradient back (Colour (0xff0c0c0b), 0.0f, 0.0f, Colour (0xff1c1c1a), (float) meterColumnWidth, 0.0f, false);
            g.setGradientFill (back);
            g.fillRect (0, 0, meterColumnWidth, meterColumnHeight);

            for (int i = 0; i < meterColumnLeds; ++i)
            {
                const juce::Point<float> c ((float) meterColumnWidth * 0.5f, meterColumnLedCentreY (i));
                g.setColour (Colour (0xff050505));
                g.fillEllipse (circle (c, 5.6f));

                if (i < frame)
                {
                    drawLens (g, c, 4.8f, Colour (0xff6a5a22), Colour (0xff2a220a));
                }
                else
                {
                    drawGlow (g, c, 4.8f, 7.0f, Colour (0xffffc020));
                    drawLens (g, c, 4.8f, Colour (0xfffff4b0), Colour (0xffe09a00));
                }
            }
        }

        return image;
    }

    juce::Image renderDisplayGridFrames()
    {
        using namespace ArtworkGeometry;
        juce::Image image (juce::Image::RGB, gridFrameWidth * gridFrames, gridHeight, true);
        juce::Graphics g (image);

        const auto barColour = [] (int bar)
        {
            if (bar <= 7)
                return Colour (0xff3ee04a);
            if (bar <= 11)
                return Colour (0xfff2d22a);
            return Colour (0xffff3a28);
        };

        for (int frame = 0; frame < gridFrames; ++frame)
        {
            juce::Graphics::ScopedSaveState state (g);
            g.reduceClipRegion (frame * gridFrameWidth, 0, gridFrameWidth, gridHeight);
            g.setOrigin (frame * gridFrameWidth, 0);

            g.setColour (Colour (0xff0d0e0d));
            g.fillRect (0, 0, gridFrameWidth, gridHeight);

            for (int bar = 1; bar <= gridBars; ++bar)
            {
                const auto cy = gridBarCentreY (bar);
                const juce::Rectangle<float> r (2.0f, cy - 3.5f, (float) gridFrameWidth - 4.0f, 7.0f);
                const auto colour = barColour (bar);

                if (bar <= frame)
                {
                    g.setColour (colour.withAlpha (0.35f));
                    g.fillRoundedRectangle (r.expanded (1.0f), 1.5f);
                    juce::ColourGradient body (colour.brighter (0.6f), r.getX(), r.getY(),
                                               colour.darker (0.25f), r.getX(), r.getBottom(), false);
                    g.setGradientFill (body);
                }
                else
                {
                    juce::ColourGradient body (colour.withMultipliedBrightness (0.26f), r.getX(), r.getY(),
                                               colour.withMultipliedBrightness (0.16f), r.getX(), r.getBottom(), false);
                    g.setGradientFill (body);
                }

                g.fillRoundedRectangle (r, 1.0f);
                g.setColour (Colour (0x30ffffff));
                g.fillRect (r.getX() + 1.0f, r.getY() + 0.5f, r.getWidth() - 2.0f, 1.0f);
            }
        }

        return image;
    }
} // namespace LedArtwork
