#include "PanelArtwork.h"

#include "ArtworkGeometry.h"
#include "KnobScales.h"
#include "PanelStyle.h"
#include "PanelSymbols.h"
#include "PanelTexture.h"

namespace PanelArtwork
{
    using juce::Colour;
    using EditorLayout::Bounds;
    using Shape = PanelSymbols::Shape;

    namespace
    {
        juce::Rectangle<float> toRect (Bounds b)
        {
            return { (float) b.x, (float) b.y, (float) b.width, (float) b.height };
        }

        const EditorLayout::Switch& switchNamed (const char* name)
        {
            for (const auto& s : EditorLayout::switches)
                if (juce::String (s.name) == name)
                    return s;

            for (const auto& s : EditorLayout::overloadLeds)
                if (juce::String (s.name) == name)
                    return s;

            jassertfalse;
            return EditorLayout::switches.front();
        }

        /** A section: a slightly recessed field with an engraved outline and its caption set
            into the top edge, the line broken around the caption and the switch beside it. */
        struct Section
        {
            juce::Rectangle<float> area;
            juce::String caption;
            float captionRight;   // the caption ends here
            float gapRight;       // the top line resumes here (past the switch, if any)
        };

        juce::Font captionFont (const ArtworkFonts& fonts)
        {
            return fonts.bold (PanelStyle::captionHeight).withExtraKerningFactor (0.06f);
        }

        /** A section with no switch beside its caption, the caption centred on x. */
        Section centredSection (const ArtworkFonts& fonts, juce::Rectangle<float> area, const juce::String& caption, float x)
        {
            const auto right = x + Legend::width (caption, captionFont (fonts)) * 0.5f;
            return { area, caption, right, right };
        }

        void drawSection (juce::Graphics& g, const ArtworkFonts& fonts, const Section& s)
        {
            const auto font = captionFont (fonts);
            const auto captionLeft = s.captionRight - Legend::width (s.caption, font);
            const auto r = s.area;

            g.setColour (Colour (0x24000000));
            g.fillRoundedRectangle (r, 4.0f);

            juce::Path outline;
            outline.addRoundedRectangle (r, 4.0f);

            {
                juce::Graphics::ScopedSaveState state (g);
                g.excludeClipRegion (juce::Rectangle<float> (captionLeft - 4.0f, r.getY() - 6.0f,
                                                             s.gapRight - captionLeft + 8.0f, 12.0f)
                                         .getSmallestIntegerContainer());
                g.setColour (Colour (0x90000000));
                g.strokePath (outline, juce::PathStrokeType (1.0f));
                g.setColour (PanelStyle::frameLine.withAlpha (0.28f));
                g.strokePath (outline, juce::PathStrokeType (1.0f), juce::AffineTransform::translation (1.0f, 1.0f));
            }

            g.setColour (PanelStyle::legend);
            Legend::draw (g, s.caption, font, s.captionRight, r.getY(), Legend::Align::right);
        }

        void drawDivider (juce::Graphics& g, float x1, float x2, float y)
        {
            g.setColour (Colour (0x80000000));
            g.fillRect (x1, y, x2 - x1, 1.0f);
            g.setColour (Colour (0x22ffffff));
            g.fillRect (x1, y + 1.0f, x2 - x1, 1.0f);
        }

        /** A recess the size of a display, with a dark bevel round it. */
        void drawWindowBezel (juce::Graphics& g, juce::Rectangle<float> window, float border, float corner)
        {
            const auto outer = window.expanded (border);
            juce::ColourGradient bevel (Colour (0xff0a0a0b), outer.getX(), outer.getY(),
                                        Colour (0xff5a5b5e), outer.getRight(), outer.getBottom(), false);
            g.setGradientFill (bevel);
            g.fillRoundedRectangle (outer, corner);
            g.setColour (Colour (0xff050505));
            g.fillRect (window.expanded (0.5f));
        }

        /** The dark ring a panel-mounted LED switch sits in. */
        void drawSwitchSeat (juce::Graphics& g, const EditorLayout::Switch& s)
        {
            const auto b = toRect (s.getBounds());
            g.setColour (Colour (0x90000000));
            g.fillEllipse (b.expanded (1.2f).translated (0.0f, 0.6f));
            g.setColour (Colour (0x1cffffff));
            g.drawEllipse (b.expanded (1.6f), 0.6f);
        }

        void drawEqSection (juce::Graphics& g, const ArtworkFonts& fonts)
        {
            const auto& eqOn = switchNamed ("eqOn");
            drawSection (g, fonts, { { 2.5f, 48.0f, 177.0f, 620.0f }, "EQ", (float) eqOn.x - 4.0f, (float) eqOn.x + 20.0f });

            for (const auto y : { 131.0f, 209.0f, 333.0f, 459.0f, 582.0f })
                drawDivider (g, 7.0f, 175.0f, y);

            const auto titleFont = fonts.bold (PanelStyle::titleHeight).withExtraKerningFactor (0.04f);

            // HP and LP share a row: the title between the knobs, a slope over each knob's outer side.
            g.setColour (PanelStyle::legend);
            Legend::draw (g, "HP / LP", titleFont, 90.0f, 70.0f, Legend::Align::centre);
            PanelSymbols::drawFilterShape (g, Shape::highPass, { 12.5f, 59.0f, 15.0f, 8.0f }, PanelStyle::legend);
            PanelSymbols::drawFilterShape (g, Shape::lowPass, { 152.5f, 59.0f, 15.0f, 8.0f }, PanelStyle::legend);

            // Each band: its title and filter shape above its in/out switch, between the knobs.
            struct Band
            {
                const char* title;
                const char* switchName;
                Shape shape;
            };

            const Band bands[] = { { "HF", "hfOn", Shape::highShelf }, { "HMF", "hmfOn", Shape::bell }, { "MF", "mfOn", Shape::bell },
                                   { "LMF", "lmfOn", Shape::bell }, { "LF", "lfOn", Shape::lowShelf } };

            for (const auto& band : bands)
            {
                const auto sw = toRect (switchNamed (band.switchName).getBounds());
                g.setColour (PanelStyle::legend);
                Legend::draw (g, band.title, titleFont, sw.getCentreX(), sw.getY() - 18.0f, Legend::Align::centre);
                PanelSymbols::drawFilterShape (g, band.shape, { sw.getCentreX() - 8.0f, sw.getY() - 11.5f, 16.0f, 8.0f }, PanelStyle::legend);
            }
        }

        void drawGateSection (juce::Graphics& g, const ArtworkFonts& fonts)
        {
            const auto& gateOn = switchNamed ("gateOn");
            drawSection (g, fonts, { { 182.5f, 47.0f, 173.0f, 163.0f }, "GATE", (float) gateOn.x - 4.0f, (float) gateOn.x + 20.0f });

            const auto column = toRect (EditorLayout::gateMeter.bounds);
            drawWindowBezel (g, column, 2.0f, 2.5f);

            g.setColour (PanelStyle::legend);
            Legend::draw (g, "GR", fonts.bold (PanelStyle::nameHeight), column.getCentreX(), column.getY() - 9.0f, Legend::Align::centre);

            const auto font = fonts.regular (PanelStyle::numberHeight - 0.5f);
            const char* labels[] = { "50", "40", "30", "20", "10", "0" };

            for (int i = 0; i < ArtworkGeometry::meterColumnLeds; ++i)
            {
                const auto y = column.getY() + ArtworkGeometry::meterColumnLedCentreY (i);
                g.setColour (PanelStyle::legend);
                Legend::draw (g, labels[i], font, column.getX() - 4.0f, y, Legend::Align::right);
            }
        }

        void drawCompressorSection (juce::Graphics& g, const ArtworkFonts& fonts)
        {
            const auto& compOn = switchNamed ("compOn");
            drawSection (g, fonts, { { 182.5f, 220.0f, 173.0f, 261.0f }, "COMPRESSOR", (float) compOn.x - 4.0f, (float) compOn.x + 20.0f });
            drawWindowBezel (g, toRect (EditorLayout::vuMeter.bounds), 3.0f, 4.0f);
        }

        void drawOverloadMark (juce::Graphics& g, const ArtworkFonts& fonts, const EditorLayout::Switch& led, bool textOnLeft)
        {
            const auto b = toRect (led.getBounds());
            g.setColour (PanelStyle::warning);
            const auto font = fonts.bold (PanelStyle::nameHeight);

            if (textOnLeft)
                Legend::draw (g, "OL", font, b.getX() - 3.0f, b.getCentreY(), Legend::Align::right);
            else
                Legend::draw (g, "OL", font, b.getRight() + 3.0f, b.getCentreY(), Legend::Align::left);
        }

        void drawInputSection (juce::Graphics& g, const ArtworkFonts& fonts)
        {
            drawSection (g, fonts, centredSection (fonts, { 182.5f, 489.0f, 86.0f, 95.0f }, "INPUT", 225.5f));
            drawOverloadMark (g, fonts, switchNamed ("inputOverload"), false);
        }

        void drawOutputSection (juce::Graphics& g, const ArtworkFonts& fonts)
        {
            drawSection (g, fonts, centredSection (fonts, { 272.5f, 489.0f, 83.0f, 179.0f }, "OUTPUT", 302.0f));
            drawOverloadMark (g, fonts, switchNamed ("outputOverload"), true);

            const auto left = toRect (EditorLayout::outputMeterLeft.bounds);
            const auto right = toRect (EditorLayout::outputMeterRight.bounds);
            drawWindowBezel (g, left, 2.0f, 2.0f);
            drawWindowBezel (g, right, 2.0f, 2.0f);

            // The scale between the columns, one number per bar, the top bar first.
            const char* labels[] = { "0", "3", "6", "10", "15", "20", "25", "30", "35", "40", "50", "60" };
            const auto font = fonts.regular (PanelStyle::numberHeight - 1.0f);
            const auto stretch = left.getHeight() / (float) ArtworkGeometry::gridHeight;
            const auto x = (left.getRight() + right.getX()) * 0.5f;

            for (int i = 0; i < ArtworkGeometry::gridBars; ++i)
            {
                const auto bar = ArtworkGeometry::gridBars - i;
                const auto y = left.getY() + ArtworkGeometry::gridBarCentreY (bar) * stretch;
                g.setColour (i == 0 ? PanelStyle::warning : PanelStyle::legend);
                Legend::draw (g, labels[i], font, x + 0.5f, y, Legend::Align::centre);
            }

            g.setColour (PanelStyle::legend);
            const auto letters = fonts.bold (PanelStyle::nameHeight + 0.5f);
            Legend::draw (g, "L", letters, left.getCentreX(), left.getBottom() + 7.0f, Legend::Align::centre);
            Legend::draw (g, "R", letters, right.getCentreX(), right.getBottom() + 7.0f, Legend::Align::centre);

            // The fader's slot, along the travel of the cap's centre line.
            const auto fader = toRect (EditorLayout::continuousControls[EditorLayout::outputFaderIndex].control);
            const auto capHalf = (float) (ArtworkGeometry::faderCapHeight / 2);
            const auto top = fader.getY() + capHalf;
            const auto bottom = fader.getBottom() - capHalf;
            const auto capCentreX = fader.getX() + (float) ArtworkGeometry::faderCapWidth * 0.5f;
            const juce::Rectangle<float> slot (capCentreX - 2.0f, top - 6.0f, 4.0f, bottom - top + 12.0f);
            g.setColour (Colour (0xff060606));
            g.fillRoundedRectangle (slot, 2.0f);
            g.setColour (Colour (0x30ffffff));
            g.drawRoundedRectangle (slot.expanded (0.8f).translated (0.5f, 0.5f), 2.5f, 0.6f);

            // Fader marks: +12 at the top, 0 dB at three quarters of the travel, then -20, -60, -100.
            const float marks[] = { 1.0f, 0.75f, 0.6f, 0.3f, 0.0f };

            for (const auto p : marks)
            {
                const auto y = std::round (bottom - p * (bottom - top)) + 0.5f;
                g.setColour (p == 0.75f ? PanelStyle::legend : PanelStyle::tick.withAlpha (0.7f));
                g.drawLine (fader.getRight() + 0.5f, y, fader.getRight() + (p == 0.75f ? 4.0f : 2.5f), y, 1.0f);
            }
        }

        void drawRoutingLabels (juce::Graphics& g, const ArtworkFonts& fonts)
        {
            struct Label
            {
                const char* switchName;
                const char* text;
            };

            const Label labels[] = { { "phaseInvert", "PHASE INVERT" }, { "oversampling", "OVERSAMPLING" } };
            const auto font = fonts.bold (PanelStyle::nameHeight).withHorizontalScale (0.95f);
            g.setColour (PanelStyle::legend);

            for (const auto& l : labels)
            {
                const auto b = toRect (switchNamed (l.switchName).getBounds());
                Legend::draw (g, l.text, font, b.getRight() + 4.0f, b.getCentreY(), Legend::Align::left);
            }

            // "COMP >= EQ" with the sign drawn as strokes: the font's glyph blurs at this size.
            const auto b = toRect (switchNamed ("compBeforeEq").getBounds());
            const auto x = b.getRight() + 4.0f;
            const auto y = b.getCentreY();
            Legend::draw (g, "COMP", font, x, y, Legend::Align::left);

            const auto signX = std::round (x + Legend::width ("COMP", font) + 2.0f) + 0.5f;
            const auto base = Legend::baseline (font, y);
            const auto signTop = base - Legend::capHeight (font) + 0.5f;
            juce::Path chevron;
            chevron.startNewSubPath (signX, signTop);
            chevron.lineTo (signX + 4.0f, signTop + 1.6f);
            chevron.lineTo (signX, signTop + 3.2f);
            g.strokePath (chevron, juce::PathStrokeType (1.0f, juce::PathStrokeType::mitered, juce::PathStrokeType::butt));
            g.fillRect (signX - 0.5f, base - 1.0f, 5.0f, 1.0f);

            Legend::draw (g, "EQ", font, signX + 7.5f, y, Legend::Align::left);
        }

        void drawTopAndTitleBand (juce::Graphics& g, const ArtworkFonts& fonts)
        {
            const auto w = (float) EditorLayout::referenceWidth;
            const auto h = (float) EditorLayout::referenceHeight;

            g.setColour (PanelStyle::dimLegend);
            Legend::draw (g, "CONSOLE CHANNEL", fonts.bold (7.5f).withExtraKerningFactor (0.18f), w - 20.0f, 20.0f, Legend::Align::right);

            // The name plate along the bottom edge.
            const juce::Rectangle<float> band (0.0f, h - 21.0f, w, 21.0f);
            juce::ColourGradient plate (Colour (0xff1a1b1d), 0.0f, band.getY(), Colour (0xff0e0e10), 0.0f, h, false);
            g.setGradientFill (plate);
            g.fillRect (band);
            g.setColour (Colour (0x38ffffff));
            g.fillRect (0.0f, band.getY(), w, 1.0f);
            g.setColour (Colour (0xff000000));
            g.fillRect (0.0f, band.getY() - 1.0f, w, 1.0f);

            // Letter spacing leaves a space after the last letter: centre on the letters' ink.
            const auto nameFont = fonts.bold (13.0f).withExtraKerningFactor (0.45f);
            const auto ink = Legend::inkExtent ("VELORA", nameFont);
            const auto nameWidth = ink.getLength();
            g.setColour (PanelStyle::legend);
            Legend::draw (g, "VELORA", nameFont, (w - nameWidth) * 0.5f - ink.getStart(), band.getCentreY(), Legend::Align::left);

            g.setColour (PanelStyle::warning);
            g.fillRect (std::round ((w - nameWidth) * 0.5f) - 40.0f, band.getCentreY() - 0.5f, 30.0f, 1.0f);
            g.fillRect (std::round ((w + nameWidth) * 0.5f) + 10.0f, band.getCentreY() - 0.5f, 30.0f, 1.0f);

            PanelSymbols::drawScrew (g, { 9.0f, 10.0f }, 0.6f);
            PanelSymbols::drawScrew (g, { w - 9.0f, 10.0f }, 2.1f);
            PanelSymbols::drawScrew (g, { 9.0f, band.getCentreY() }, 1.2f);
            PanelSymbols::drawScrew (g, { w - 9.0f, band.getCentreY() }, 2.7f);
        }
    } // namespace

    juce::Image render (const ArtworkFonts& fonts)
    {
        auto image = PanelTexture::renderBrushedPlate (EditorLayout::referenceWidth, EditorLayout::referenceHeight);
        juce::Graphics g (image);

        drawEqSection (g, fonts);
        drawGateSection (g, fonts);
        drawCompressorSection (g, fonts);
        drawInputSection (g, fonts);
        drawOutputSection (g, fonts);
        drawRoutingLabels (g, fonts);

        for (const auto& s : EditorLayout::switches)
            drawSwitchSeat (g, s);

        for (const auto& s : EditorLayout::overloadLeds)
            drawSwitchSeat (g, s);

        if (! KnobScales::drawAll (g, fonts))
            return {};

        drawTopAndTitleBand (g, fonts);
        return image;
    }
} // namespace PanelArtwork
