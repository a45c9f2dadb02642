#include "KnobScales.h"

#include "ArtworkGeometry.h"
#include "PanelStyle.h"

#include <cstring>

namespace KnobScales
{
    namespace
    {
        /** Where an end value goes when the default spot, below the end of the travel, is
            taken by a switch: then it sits higher, beside the knob's lower side. */
        enum class EndPlacement
        {
            belowEnd,
            besideEnd
        };

        struct Scale
        {
            const char* parameterId;
            const char* name;
            const char* unit;
            const char* left;
            const char* top;
            const char* right;
            int ticks;
            EndPlacement leftPlacement = EndPlacement::belowEnd;
            EndPlacement rightPlacement = EndPlacement::belowEnd;
        };

        // "\xe2\x88\x92" is the minus sign.
        const Scale scales[] = {
            { "HighpassFreq", "HP", "Hz", "30", nullptr, "300", 11, EndPlacement::besideEnd },
            { "LowpassFreq", "LP", "kHz", "2.5", nullptr, "25", 11, EndPlacement::belowEnd, EndPlacement::besideEnd },
            { "HighGain", "GAIN", "dB", "\xe2\x88\x92" "12", "0", "+12", 13 },
            { "HighFreq", "FREQ", "kHz", "2.5", nullptr, "25", 11 },
            { "HighMidGain", "GAIN", "dB", "\xe2\x88\x92" "12", "0", "+12", 13 },
            { "HighMidFreq", "FREQ", "kHz", "1.8", nullptr, "16", 11 },
            { "HighMidQ", "Q", nullptr, "0.7", nullptr, "5.0", 11 },
            { "MidGain", "GAIN", "dB", "\xe2\x88\x92" "12", "0", "+12", 13 },
            { "MidFreq", "FREQ", "Hz", "330", nullptr, "2.5K", 11 },
            { "MidQ", "Q", nullptr, "0.7", nullptr, "5.0", 11 },
            { "LowMidGain", "GAIN", "dB", "\xe2\x88\x92" "12", "0", "+12", 13 },
            { "LowMidFreq", "FREQ", "Hz", "50", nullptr, "400", 11 },
            { "LowMidQ", "Q", nullptr, "0.7", nullptr, "5.0", 11 },
            { "LowGain", "GAIN", "dB", "\xe2\x88\x92" "12", "0", "+12", 13 },
            { "LowFreq", "FREQ", "Hz", "30", nullptr, "300", 11 },
            { "gateThreshold", "THRESH.", nullptr, "\xe2\x88\x92" "100", nullptr, "0", 11 },
            { "gateRange", "RANGE", nullptr, "3.0", nullptr, "50", 11 },
            { "gateAttack", "ATTACK", nullptr, "1.0", nullptr, "50", 11 },
            { "gateRelease", "RELEASE", nullptr, "1.0", nullptr, "1K", 11 },
            { "compThreshold", "THRESH.", nullptr, "\xe2\x88\x92" "40", nullptr, "0", 11 },
            { "compRatio", "RATIO", nullptr, "1:1", nullptr, "10:1", 11 },
            { "compAttack", "ATTACK", nullptr, "0.02", nullptr, "180", 11 },
            { "compRelease", "RELEASE", nullptr, "2.0", nullptr, "1.8K", 11 },
            { "inputGain", "GAIN", "dB", "\xe2\x88\x92" "100", "0", "+24", 11 },
        };

        juce::String text (const char* utf8) { return juce::String (juce::CharPointer_UTF8 (utf8)); }

        juce::Point<float> polar (juce::Point<float> c, double angle, float radius)
        {
            return { c.x + radius * (float) std::sin (angle), c.y - radius * (float) std::cos (angle) };
        }

        void drawTicks (juce::Graphics& g, juce::Point<float> c, const Scale& s)
        {
            const auto centreTick = s.top != nullptr ? (s.ticks - 1) / 2 : -1;

            for (int i = 0; i < s.ticks; ++i)
            {
                const auto major = i == 0 || i == s.ticks - 1 || i == centreTick;
                const auto a = ArtworkGeometry::knobAngle (i / (double) (s.ticks - 1));
                g.setColour (PanelStyle::tick);
                g.drawLine (juce::Line<float> (polar (c, a, 23.0f), polar (c, a, major ? 27.5f : 25.8f)), major ? 1.3f : 0.9f);
            }
        }

        void drawEnds (juce::Graphics& g, const ArtworkFonts& fonts, juce::Point<float> c, const Scale& s)
        {
            const auto font = fonts.regular (PanelStyle::numberHeight);
            g.setColour (PanelStyle::legend);

            if (s.leftPlacement == EndPlacement::belowEnd)
                Legend::draw (g, text (s.left), font, c.x - 18.0f, c.y + 23.5f, Legend::Align::right);
            else
                Legend::draw (g, text (s.left), font, c.x - 21.0f, c.y + 12.5f, Legend::Align::right);

            if (s.rightPlacement == EndPlacement::belowEnd)
                Legend::draw (g, text (s.right), font, c.x + 18.5f, c.y + 23.5f, Legend::Align::left);
            else
                Legend::draw (g, text (s.right), font, c.x + 21.0f, c.y + 12.5f, Legend::Align::left);

            if (s.top != nullptr)
                Legend::draw (g, text (s.top), font, c.x, c.y - 32.5f, Legend::Align::centre);
        }

        void drawName (juce::Graphics& g, const ArtworkFonts& fonts, juce::Point<float> c, const Scale& s)
        {
            const auto nameFont = fonts.bold (PanelStyle::nameHeight).withHorizontalScale (std::strlen (s.name) > 5 ? 0.86f : 0.95f);
            g.setColour (PanelStyle::legend);
            Legend::draw (g, s.name, nameFont, c.x, c.y + 24.5f, Legend::Align::centre);

            if (s.unit != nullptr)
            {
                g.setColour (PanelStyle::dimLegend);
                Legend::draw (g, s.unit, fonts.regular (PanelStyle::unitHeight), c.x, c.y + 31.5f, Legend::Align::centre);
            }
        }
    } // namespace

    bool drawAll (juce::Graphics& g, const ArtworkFonts& fonts)
    {
        for (std::size_t i = 0; i < EditorLayout::numKnobs; ++i)
        {
            const auto& knob = EditorLayout::continuousControls[i];
            const auto s = std::find_if (std::begin (scales), std::end (scales),
                                         [&knob] (const Scale& e) { return std::strcmp (e.parameterId, knob.parameterId) == 0; });

            if (s == std::end (scales))
                return false;

            const juce::Point<float> c (knob.control.getCentreX(), knob.control.getCentreY());
            drawTicks (g, c, *s);
            drawEnds (g, fonts, c, *s);
            drawName (g, fonts, c, *s);
        }

        return true;
    }
} // namespace KnobScales
