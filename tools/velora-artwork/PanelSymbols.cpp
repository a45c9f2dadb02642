#include "PanelSymbols.h"

namespace PanelSymbols
{
    namespace
    {
        /** A smooth step from 0 to 1 between a and b. */
        float step (float x, float a, float b)
        {
            const auto t = juce::jlimit (0.0f, 1.0f, (x - a) / (b - a));
            return t * t * (3.0f - 2.0f * t);
        }

        /** The curve's height 0..1 at u in 0..1 across the symbol. */
        float curve (Shape shape, float u)
        {
            switch (shape)
            {
                case Shape::highShelf: return 0.15f + 0.7f * step (u, 0.3f, 0.75f);
                case Shape::lowShelf: return 0.85f - 0.7f * step (u, 0.25f, 0.7f);
                case Shape::bell: return 0.15f + 0.75f * std::exp (-std::pow ((u - 0.5f) / 0.16f, 2.0f));
                case Shape::highPass: return 0.8f * step (u, 0.0f, 0.45f);
                case Shape::lowPass: return 0.8f * (1.0f - step (u, 0.55f, 1.0f));
            }

            return 0.0f;
        }
    } // namespace

    void drawFilterShape (juce::Graphics& g, Shape shape, juce::Rectangle<float> area, juce::Colour colour)
    {
        constexpr int steps = 32;
        juce::Path p;

        for (int i = 0; i <= steps; ++i)
        {
            const auto u = (float) i / (float) steps;
            const juce::Point<float> pt (area.getX() + u * area.getWidth(), area.getBottom() - curve (shape, u) * area.getHeight());

            if (i == 0)
                p.startNewSubPath (pt);
            else
                p.lineTo (pt);
        }

        g.setColour (colour);
        g.strokePath (p, juce::PathStrokeType (1.1f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));
    }

    void drawScrew (juce::Graphics& g, juce::Point<float> c, float slotAngle)
    {
        constexpr float r = 4.5f;

        g.setColour (juce::Colour (0x80000000));
        g.fillEllipse (c.x - r - 0.5f, c.y - r + 0.5f, 2.0f * r + 1.5f, 2.0f * r + 1.5f);

        juce::ColourGradient head (juce::Colour (0xffb8b8b6), c.x - r, c.y - r, juce::Colour (0xff4a4a4c), c.x + r, c.y + r, false);
        g.setGradientFill (head);
        g.fillEllipse (c.x - r, c.y - r, 2.0f * r, 2.0f * r);

        const auto dx = 0.8f * r * std::cos (slotAngle);
        const auto dy = 0.8f * r * std::sin (slotAngle);
        g.setColour (juce::Colour (0xff202022));
        g.drawLine (c.x - dx, c.y - dy, c.x + dx, c.y + dy, 1.4f);
        g.setColour (juce::Colour (0x60ffffff));
        g.drawLine (c.x - dx + 0.5f, c.y - dy + 0.8f, c.x + dx + 0.5f, c.y + dy + 0.8f, 0.5f);
    }
} // namespace PanelSymbols
