#pragma once

#include "editor/EditorLayout.h"

#include <cmath>

/** The frame layouts the look-and-feel reads the images with, and the angles and positions
    the frames show. The panel's scales are drawn from the same functions. */
namespace ArtworkGeometry
{
    constexpr double pi = 3.14159265358979323846;

    constexpr int knobFrames = 101;
    constexpr int knobFrameSize = 60;

    /** A knob sweeps 270 degrees, from -135 (lower left) to +135 (lower right) about straight
        up, linear in the frame number. Radians, clockwise from straight up. */
    inline double knobAngle (double proportion)
    {
        return (-135.0 + 270.0 * proportion) * pi / 180.0;
    }

    inline double knobFrameAngle (int frame)
    {
        return knobAngle (frame / (double) (knobFrames - 1));
    }

    constexpr int vuFrames = 100;
    constexpr int vuWidth = 162;
    constexpr int vuHeight = 85;

    /** The VU needle's half sweep; frame 0 rests on the left stop, the last one on the right. */
    constexpr double vuHalfSweepDegrees = 44.0;

    inline double vuFrameAngle (int frame)
    {
        const auto t = frame / (double) (vuFrames - 1);
        return (-vuHalfSweepDegrees + 2.0 * vuHalfSweepDegrees * t) * pi / 180.0;
    }

    /** The frame the look-and-feel shows for a needle position t: trunc (100 t) in single
        precision, with t = 1 read as 0.999. */
    inline int vuFrameForPosition (float t)
    {
        const auto p = t == 1.0f ? 0.999f : t;
        return (int) ((float) vuFrames * p);
    }

    /** The needle position for a gain change in dB, as the meter refresh computes it. */
    inline float needlePosition (double decibels)
    {
        return EditorLayout::needlePosition (decibels);
    }

    /** The angle the needle shows for a gain change, quantised to the frame it lands on. */
    inline double vuAngleForDecibels (double decibels)
    {
        return vuFrameAngle (vuFrameForPosition (needlePosition (decibels)));
    }

    constexpr int meterColumnFrames = 7;
    constexpr int meterColumnWidth = 14;
    constexpr int meterColumnHeight = 104;
    constexpr int meterColumnLeds = 6;

    /** Centre of LED i (0 = top) in a column frame. */
    inline float meterColumnLedCentreY (int i)
    {
        return (float) meterColumnHeight * ((float) i + 0.5f) / (float) meterColumnLeds;
    }

    constexpr int gridFrames = 13;
    constexpr int gridFrameWidth = 15;
    constexpr int gridHeight = 120;
    constexpr int gridBars = 12;
    constexpr int gridBarPitch = 10;

    /** Centre of bar j (1 = bottom, 12 = top) in a grid frame. */
    inline float gridBarCentreY (int j)
    {
        return (float) (gridHeight - gridBarPitch * j) + (float) gridBarPitch * 0.5f;
    }

    constexpr int ledSize = 18;
    constexpr int faderCapWidth = 18;
    constexpr int faderCapHeight = 35;
} // namespace ArtworkGeometry
