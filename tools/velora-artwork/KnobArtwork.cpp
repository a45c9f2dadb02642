#include "KnobArtwork.h"

#include "ArtworkGeometry.h"

namespace KnobArtwork
{
    using juce::Colour;

    Style black() { return { Colour (0xff1d1e21), Colour (0xff5c5e63), Colour (0xff141517), Colour (0xfff4f2ec) }; }
    Style teal() { return { Colour (0xff103c40), Colour (0xff3f8c8f), Colour (0xff0b2d31), Colour (0xfff4f2ec) }; }
    Style red() { return { Colour (0xff5a1210), Colour (0xffb8362e), Colour (0xff4a0c0a), Colour (0xfff4f2ec) }; }
    Style lightGrey() { return { Colour (0xffa9abae), Colour (0xffeeeeec), Colour (0xff9c9ea2), Colour (0xff121212) }; }

    namespace
    {
        constexpr float centre = 30.0f;
        constexpr float skirtRadius = 19.5f;
        constexpr float capRadius = 14.0f;
        constexpr int ridges = 40;

        juce::Point<float> polar (double angle, float radius)
        {
            return { centre + radius * (float) std::sin (angle), centre - radius * (float) std::cos (angle) };
        }

        juce::Rectangle<float> circle (float radius, float dx = 0.0f, float dy = 0.0f)
        {
            return { centre - radius + dx, centre - radius + dy, radius * 2.0f, radius * 2.0f };
        }

        void drawShadow (juce::Graphics& g)
        {
            juce::ColourGradient shadow (Colour (0x90000000), centre + 1.0f, centre + 2.0f,
                                         Colour (0x00000000), centre + 1.0f, centre + 2.0f + 24.0f, true);
            shadow.addColour (0.72, Colour (0x80000000));
            shadow.addColour (0.85, Colour (0x30000000));
            g.setGradientFill (shadow);
            g.fillEllipse (circle (24.0f, 1.0f, 2.0f));
        }

        void drawSkirt (juce::Graphics& g, const Style& style, double angle)
        {
            juce::ColourGradient body (style.skirt.brighter (0.35f), centre - 14.0f, centre - 16.0f,
                                       style.skirt.darker (0.6f), centre + 14.0f, centre + 16.0f, false);
            g.setGradientFill (body);
            g.fillEllipse (circle (skirtRadius));

            // Knurling: each ridge catches the light according to the way it faces.
            for (int i = 0; i < ridges; ++i)
            {
                const auto a = angle + 2.0 * ArtworkGeometry::pi * i / ridges;
                const auto facing = (float) std::cos (a + ArtworkGeometry::pi * 0.25);
                const auto colour = facing > 0.0f ? Colour (0xffffffff).withAlpha (0.10f + 0.16f * facing)
                                                  : Colour (0xff000000).withAlpha (0.15f - 0.25f * facing);
                g.setColour (colour);
                g.drawLine (juce::Line<float> (polar (a, capRadius + 2.2f), polar (a, skirtRadius - 0.6f)), 0.9f);
            }

            g.setColour (Colour (0xd0000000));
            g.drawEllipse (circle (skirtRadius - 0.25f), 0.8f);

            // The rim catches the light along its upper left edge.
            juce::Path rim;
            rim.addCentredArc (centre, centre, skirtRadius - 1.0f, skirtRadius - 1.0f, 0.0f, -2.0f, -0.35f, true);
            g.setColour (Colour (0x40ffffff));
            g.strokePath (rim, juce::PathStrokeType (0.8f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));
        }

        void drawCap (juce::Graphics& g, const Style& style)
        {
            // The chamfer between skirt and cap: bright where it faces the light.
            juce::ColourGradient chamfer (style.capLight.brighter (0.5f), centre - 10.0f, centre - 12.0f,
                                          style.capDark.darker (0.5f), centre + 10.0f, centre + 12.0f, false);
            g.setGradientFill (chamfer);
            g.fillEllipse (circle (capRadius + 1.6f));

            juce::ColourGradient top (style.capLight, centre - 8.0f, centre - 11.0f,
                                      style.capDark, centre + 9.0f, centre + 12.0f, false);
            g.setGradientFill (top);
            g.fillEllipse (circle (capRadius));

            // A soft sheen on the dome, off centre towards the light.
            juce::ColourGradient sheen (Colour (0x48ffffff), centre - 4.5f, centre - 6.0f,
                                        Colour (0x00ffffff), centre - 4.5f, centre - 6.0f + 11.0f, true);
            g.setGradientFill (sheen);
            g.fillEllipse (circle (capRadius - 0.5f));

            g.setColour (Colour (0x60000000));
            g.drawEllipse (circle (capRadius + 0.1f), 0.6f);
        }

        void drawPointer (juce::Graphics& g, const Style& style, double angle)
        {
            const juce::Line<float> line (polar (angle, 4.0f), polar (angle, skirtRadius - 1.2f));
            const auto isLight = style.pointer.getPerceivedBrightness() > 0.5f;

            g.setColour (isLight ? Colour (0x70000000) : Colour (0x50ffffff));
            g.drawLine (line, 3.4f);
            g.setColour (style.pointer);
            g.drawLine (line, 2.0f);
        }
    } // namespace

    void drawKnob (juce::Graphics& g, const Style& style, double angle)
    {
        drawShadow (g);
        drawSkirt (g, style, angle);
        drawCap (g, style);
        drawPointer (g, style, angle);
    }

    juce::Image renderFrames (const Style& style)
    {
        using namespace ArtworkGeometry;
        juce::Image image (juce::Image::ARGB, knobFrameSize, knobFrameSize * knobFrames, true);
        juce::Graphics g (image);

        for (int frame = 0; frame < knobFrames; ++frame)
        {
            juce::Graphics::ScopedSaveState state (g);
            g.reduceClipRegion (0, frame * knobFrameSize, knobFrameSize, knobFrameSize);
            g.setOrigin (0, frame * knobFrameSize);
            drawKnob (g, style, knobFrameAngle (frame));
        }

        return image;
    }
} // namespace KnobArtwork
