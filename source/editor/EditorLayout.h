#pragma once

#include <array>
#include <cstddef>

/** Where everything sits on the editor panel, at its reference size.

    One home for the coordinates that the editor lays its controls out with and that the
    artwork generator draws the panel's legends, scales and display windows around, so the
    picture and the controls cannot drift apart. Plain data, no JUCE dependency.
*/
namespace EditorLayout
{
    struct Bounds
    {
        int x, y, width, height;

        constexpr int getRight() const noexcept { return x + width; }
        constexpr int getBottom() const noexcept { return y + height; }
        constexpr float getCentreX() const noexcept { return (float) x + (float) width * 0.5f; }
        constexpr float getCentreY() const noexcept { return (float) y + (float) height * 0.5f; }
    };

    inline constexpr int referenceWidth = 358;
    inline constexpr int referenceHeight = 692;

    inline constexpr int knobSize = 60;
    inline constexpr int switchSize = 18;

    /** The "v1.1.1" caption the editor draws itself; the panel keeps this area empty. */
    inline constexpr Bounds versionCaption { 45, 5, 50, 10 };

    /** A knob or the fader: the parameter it is attached to, its "colour" property (nullptr
        for the fader, which has none), its bounds, the value label directly under it and
        the value a double-click returns to. */
    struct ContinuousControl
    {
        const char* parameterId;
        const char* colour;
        Bounds control;
        Bounds label;
        double doubleClickValue;
    };

    /** The 25 continuous controls in the editor's member order; the last one is the fader. */
    inline constexpr std::array<ContinuousControl, 25> continuousControls { {
        { "HighpassFreq", "white", { 12, 64, 60, 60 }, { 12, 124, 60, 20 }, 0.5 },
        { "LowpassFreq", "white", { 108, 64, 60, 60 }, { 108, 124, 60, 20 }, 0.5 },
        { "HighGain", "red", { 12, 138, 60, 60 }, { 12, 198, 60, 20 }, 0.5 },
        { "HighFreq", "gray", { 108, 138, 60, 60 }, { 108, 198, 60, 20 }, 0.5 },
        { "HighMidGain", "red", { 12, 216, 60, 60 }, { 12, 276, 60, 20 }, 0.5 },
        { "HighMidFreq", "gray", { 108, 216, 60, 60 }, { 108, 276, 60, 20 }, 0.5 },
        { "HighMidQ", "blue", { 61, 265, 60, 60 }, { 61, 325, 60, 20 }, 0.5 },
        { "MidGain", "red", { 12, 340, 60, 60 }, { 12, 400, 60, 20 }, 0.5 },
        { "MidFreq", "gray", { 108, 340, 60, 60 }, { 108, 400, 60, 20 }, 0.5 },
        { "MidQ", "blue", { 61, 388, 60, 60 }, { 61, 448, 60, 20 }, 0.5 },
        { "LowMidGain", "red", { 12, 466, 60, 60 }, { 12, 526, 60, 20 }, 0.5 },
        { "LowMidFreq", "gray", { 108, 466, 60, 60 }, { 108, 526, 60, 20 }, 0.5 },
        { "LowMidQ", "blue", { 61, 515, 60, 60 }, { 61, 575, 60, 20 }, 0.5 },
        { "LowGain", "red", { 12, 589, 60, 60 }, { 12, 649, 60, 20 }, 0.5 },
        { "LowFreq", "gray", { 108, 589, 60, 60 }, { 108, 649, 60, 20 }, 0.5 },
        { "gateThreshold", "blue", { 192, 64, 60, 60 }, { 192, 124, 60, 20 }, 0.5 },
        { "gateRange", "blue", { 285, 64, 60, 60 }, { 285, 124, 60, 20 }, 0.5 },
        { "gateAttack", "blue", { 192, 139, 60, 60 }, { 192, 199, 60, 20 }, 0.5 },
        { "gateRelease", "blue", { 285, 139, 60, 60 }, { 285, 199, 60, 20 }, 0.5 },
        { "compThreshold", "blue", { 192, 341, 60, 60 }, { 192, 401, 60, 20 }, 0.5 },
        { "compRatio", "blue", { 285, 341, 60, 60 }, { 285, 401, 60, 20 }, 0.5 },
        { "compAttack", "blue", { 192, 417, 60, 60 }, { 192, 477, 60, 20 }, 0.5 },
        { "compRelease", "blue", { 285, 417, 60, 60 }, { 285, 477, 60, 20 }, 0.5 },
        { "inputGain", "red", { 192, 516, 60, 60 }, { 192, 576, 60, 20 }, 0.5 },
        { "outputGain", nullptr, { 332, 520, 19, 138 }, { 310, 650, 60, 20 }, 0.75 },
    } };

    inline constexpr std::size_t numKnobs = 24;
    inline constexpr std::size_t outputFaderIndex = 24;

    /** A meter: the editor's member name, its "type" property and its bounds. */
    struct Meter
    {
        const char* name;
        const char* type;
        Bounds bounds;
    };

    inline constexpr std::array<Meter, 4> meters { {
        { "vuMeter", "vumeter", { 188, 246, 162, 85 } },
        { "gateMeter", "gatevumeter", { 267, 79, 14, 104 } },
        { "outputMeterLeft", "vumeterout", { 279, 524, 15, 125 } },
        { "outputMeterRight", "vumeterout", { 307, 524, 15, 125 } },
    } };

    inline constexpr const Meter& vuMeter = meters[0];
    inline constexpr const Meter& gateMeter = meters[1];
    inline constexpr const Meter& outputMeterLeft = meters[2];
    inline constexpr const Meter& outputMeterRight = meters[3];

    /** A switch or an overload LED, 18 x 18 at (x, y). The LEDs have no parameter. */
    struct Switch
    {
        const char* name;
        const char* parameterId;
        int x, y;

        constexpr Bounds getBounds() const noexcept { return { x, y, switchSize, switchSize }; }
    };

    /** The thirteen switches in the editor's member order. */
    inline constexpr std::array<Switch, 13> switches { {
        { "eqOn", "eqOn", 103, 39 },
        { "hpOn", "Lowcut_In", 5, 112 },
        { "lpOn", "Highcut_In", 159, 112 },
        { "hfOn", "HF_In", 82, 162 },
        { "hmfOn", "HMF_In", 82, 240 },
        { "mfOn", "MF_In", 81, 365 },
        { "lmfOn", "LMF_In", 82, 491 },
        { "lfOn", "LF_In", 82, 615 },
        { "gateOn", "gateOn", 307, 38 },
        { "compOn", "compOn", 321, 211 },
        { "phaseInvert", "phaseInvert", 183, 591 },
        { "compBeforeEq", "compBeforeEq", 183, 612 },
        { "oversampling", "oversampling", 183, 634 },
    } };

    inline constexpr std::array<Switch, 2> overloadLeds { {
        { "inputOverload", nullptr, 197, 494 },
        { "outputOverload", nullptr, 322, 494 },
    } };

    /** The compressor needle's calibration: gain change in dB against the needle position
        0..1. The meter refresh interpolates linearly between these points and the VU face
        prints its marks where the needle points for them, so the two must stay one table. */
    struct NeedlePoint
    {
        double decibels;
        double position;
    };

    inline constexpr std::array<NeedlePoint, 11> needleTable { {
        { -40.0, 0.0 },
        { -20.0, 0.14 },
        { -10.0, 0.26 },
        { -7.0, 0.34 },
        { -5.0, 0.42 },
        { -3.0, 0.51 },
        { -1.0, 0.60 },
        { 0.0, 0.66 },
        { 3.0, 0.79 },
        { 5.0, 0.89 },
        { 8.0, 1.0 },
    } };

    /** The needle position for a gain change in dB: piecewise linear through the table, in
        double, narrowed to float; below the first point, and for a non-numeric value, 0;
        from the last point on, 1. The meter refresh and the painted VU face share it. */
    inline float needlePosition (double decibels) noexcept
    {
        if (! (decibels >= needleTable.front().decibels))
            return 0.0f;

        for (std::size_t i = 0; i + 1 < needleTable.size(); ++i)
        {
            const auto a = needleTable[i].decibels;
            const auto b = needleTable[i + 1].decibels;

            if (decibels >= a && decibels < b)
                return (float) ((needleTable[i].position * (b - decibels) + needleTable[i + 1].position * (decibels - a)) / (b - a));
        }

        return 1.0f;
    }

    /** A design coordinate at another editor width: value times (width / 358), the scale
        narrowed to float, the product truncated toward zero. Each coordinate on its own. */
    inline constexpr int scaleCoordinate (int designValue, float scale) noexcept
    {
        return (int) ((float) designValue * scale);
    }

    constexpr float scaleForWidth (int editorWidth) noexcept
    {
        return (float) ((double) editorWidth / (double) referenceWidth);
    }

    constexpr Bounds scaled (Bounds b, float scale) noexcept
    {
        return { scaleCoordinate (b.x, scale), scaleCoordinate (b.y, scale),
                 scaleCoordinate (b.width, scale), scaleCoordinate (b.height, scale) };
    }
} // namespace EditorLayout
