#include "VuMeterArtwork.h"

#include "ArtworkGeometry.h"

namespace VuMeterArtwork
{
    using juce::Colour;
    using namespace ArtworkGeometry;

    namespace
    {
        const juce::Point<float> pivot (81.0f, 123.0f);
        constexpr float scaleRadius = 92.0f;

        const Colour ink (0xff1c1a16);
        const Colour redInk (0xffc8261c);

        juce::Point<float> polar (double angle, float radius)
        {
            return { pivot.x + radius * (float) std::sin (angle), pivot.y - radius * (float) std::cos (angle) };
        }

        void arc (juce::Graphics& g, double from, double to, float radius, float thickness, Colour colour)
        {
            juce::Path p;
            p.addCentredArc (pivot.x, pivot.y, radius, radius, 0.0f, (float) from, (float) to, true);
            g.setColour (colour);
            g.strokePath (p, juce::PathStrokeType (thickness, juce::PathStrokeType::curved, juce::PathStrokeType::butt));
        }

        void tick (juce::Graphics& g, double angle, float inner, float outer, float thickness, Colour colour)
        {
            g.setColour (colour);
            g.drawLine (juce::Line<float> (polar (angle, inner), polar (angle, outer)), thickness);
        }

        void drawFaceBackground (juce::Graphics& g)
        {
            // Backlight: warm and bright in the middle, falling off towards the bezel.
            juce::ColourGradient light (Colour (0xfffbf3d8), pivot.x, 40.0f,
                                        Colour (0xffd9c99a), pivot.x + 100.0f, 40.0f, true);
            light.addColour (0.55, Colour (0xfff2e6c0));
            g.setGradientFill (light);
            g.fillRect (0, 0, vuWidth, vuHeight);

            juce::ColourGradient top (Colour (0x38000000), 0.0f, 0.0f, Colour (0x00000000), 0.0f, 10.0f, false);
            g.setGradientFill (top);
            g.fillRect (0, 0, vuWidth, 10);
        }

        void drawDecibelScale (juce::Graphics& g, const ArtworkFonts& fonts)
        {
            const auto zero = vuAngleForDecibels (0.0);
            const auto left = vuFrameAngle (0);
            const auto right = vuFrameAngle (vuFrames - 1);

            arc (g, left, right, scaleRadius + 0.5f, 1.0f, ink);
            arc (g, zero, right, scaleRadius + 3.0f, 4.0f, redInk);

            struct Mark
            {
                double decibels;
                const char* text;
            };

            const Mark labelled[] = { { -20.0, "20" }, { -10.0, "10" }, { -7.0, "7" }, { -5.0, "5" }, { -3.0, "3" },
                                      { -1.0, "1" }, { 0.0, "0" }, { 3.0, "3" }, { 5.0, "5" } };
            const double minor[] = { -15.0, -4.0, -2.0, 1.0, 2.0, 4.0, 6.0, 7.0 };

            const auto numberFont = fonts.bold (9.0f);

            for (const auto& m : labelled)
            {
                const auto a = vuAngleForDecibels (m.decibels);
                const auto colour = m.decibels >= 0.0 ? redInk : ink;
                tick (g, a, scaleRadius, scaleRadius + 6.0f, 1.2f, ink);
                g.setColour (colour);
                const auto at = polar (a, scaleRadius + 12.0f);
                Legend::draw (g, m.text, numberFont, at.x, at.y, Legend::Align::centre);
            }

            for (const auto db : minor)
                tick (g, vuAngleForDecibels (db), scaleRadius, scaleRadius + 3.5f, 0.9f, ink);

            g.setColour (redInk);
            const auto plus = polar (right, scaleRadius + 9.0f);
            Legend::draw (g, "+", fonts.bold (12.0f), plus.x + 3.0f, plus.y + 3.0f, Legend::Align::centre);
            g.setColour (ink);
            const auto minus = polar (left, scaleRadius + 9.0f);
            Legend::draw (g, juce::String (juce::CharPointer_UTF8 ("\xe2\x88\x92")), fonts.bold (12.0f), minus.x - 3.0f, minus.y + 3.0f, Legend::Align::centre);
        }

        void drawPercentScale (juce::Graphics& g, const ArtworkFonts& fonts)
        {
            const auto font = fonts.regular (7.0f);
            arc (g, vuFrameAngle (0), vuAngleForDecibels (0.0), scaleRadius - 4.0f, 0.7f, ink);

            for (int percent = 0; percent <= 100; percent += 10)
            {
                const auto db = percent == 0 ? -1000.0 : 20.0 * std::log10 (percent / 100.0);
                const auto a = percent == 0 ? vuFrameAngle (0) : vuAngleForDecibels (db);
                const auto major = percent % 20 == 0;
                tick (g, a, scaleRadius - (major ? 7.0f : 5.5f), scaleRadius - 4.0f, major ? 0.9f : 0.7f, ink);

                if (major)
                {
                    g.setColour (ink);
                    const auto at = polar (a, scaleRadius - 12.5f);
                    Legend::draw (g, juce::String (percent), font, at.x, at.y, Legend::Align::centre);
                }
            }
        }

        void drawLegends (juce::Graphics& g, const ArtworkFonts& fonts)
        {
            g.setColour (ink);
            Legend::draw (g, "VU", fonts.bold (14.0f), pivot.x, 64.0f, Legend::Align::centre);
        }

        void drawNeedle (juce::Graphics& g, double angle)
        {
            const auto from = polar (angle, 36.0f);
            const auto to = polar (angle, scaleRadius + 7.0f);

            g.setColour (Colour (0x28000000));
            g.drawLine (juce::Line<float> (from.translated (1.6f, 1.8f), to.translated (1.6f, 1.8f)), 1.6f);

            juce::Path needle;
            needle.startNewSubPath (from);
            needle.lineTo (to);
            g.setColour (Colour (0xff121110));
            g.strokePath (needle, juce::PathStrokeType (1.25f, juce::PathStrokeType::mitered, juce::PathStrokeType::rounded));
        }

        void drawPivotCover (juce::Graphics& g)
        {
            juce::ColourGradient cover (Colour (0xff3a3835), pivot.x, 78.0f, Colour (0xff141312), pivot.x, 85.0f, false);
            g.setGradientFill (cover);
            g.fillEllipse (pivot.x - 30.0f, 79.0f, 60.0f, 30.0f);
            g.setColour (Colour (0x50ffffff));
            g.drawEllipse (pivot.x - 30.0f, 79.0f, 60.0f, 30.0f, 0.6f);
        }

        void drawGlass (juce::Graphics& g)
        {
            // A faint reflection across the upper half and a shadow cast by the bezel.
            juce::Path reflection;
            reflection.startNewSubPath (0.0f, 0.0f);
            reflection.lineTo ((float) vuWidth, 0.0f);
            reflection.lineTo ((float) vuWidth, 14.0f);
            reflection.quadraticTo (pivot.x, 34.0f, 0.0f, 22.0f);
            reflection.closeSubPath();
            g.setColour (Colour (0x12ffffff));
            g.fillPath (reflection);

            g.setColour (Colour (0x50000000));
            g.drawRect (0, 0, vuWidth, vuHeight, 1);
            g.setColour (Colour (0x20000000));
            g.drawRect (1, 1, vuWidth - 2, vuHeight - 2, 1);
        }
    } // namespace

    juce::Image renderFace (const ArtworkFonts& fonts)
    {
        juce::Image face (juce::Image::RGB, vuWidth, vuHeight, true);
        juce::Graphics g (face);
        drawFaceBackground (g);
        drawPercentScale (g, fonts);
        drawDecibelScale (g, fonts);
        drawLegends (g, fonts);
        return face;
    }

    juce::Image renderNeedleFrames (const ArtworkFonts& fonts)
    {
        const auto face = renderFace (fonts);
        juce::Image image (juce::Image::RGB, vuWidth, vuHeight * vuFrames, true);
        juce::Graphics g (image);

        for (int frame = 0; frame < vuFrames; ++frame)
        {
            juce::Graphics::ScopedSaveState state (g);
            g.reduceClipRegion (0, frame * vuHeight, vuWidth, vuHeight);
            g.setOrigin (0, frame * vuHeight);
            g.drawImageAt (face, 0, 0);
            drawNeedle (g, vuFrameAngle (frame));
            drawPivotCover (g);
            drawGlass (g);
        }

        return image;
    }
} // namespace VuMeterArtwork
