#pragma once

#include <array>

/** The console shapes behind the LF, HF and mid-band knobs, and their lookups.

    The shape tables hold, per knob frequency point and whole dB of knob gain (0..12),
    the frequency, gain and Q (or bandwidth) of the shelf and the bell that make up a band,
    each as a normalised value (see the column notes in EqShapeTables.cpp). The mid-band
    table maps a knob Q and a gain size to the value behind the designed Q.
*/
namespace EqShapeTables
{
    constexpr int numGainSteps = 13;  // 0, 1, ..., 12 dB
    constexpr int numLfPoints = 10;   // 30, 60, ..., 300 Hz
    constexpr int numHfPoints = 11;
    constexpr int numQPoints = 11;

    using ShapeRow = std::array<float, 6>;
    using MidQRow = std::array<float, 3>;

    /** Row 13·k + n: LF point 30·(k + 1) Hz at n dB. Columns: shelf frequency (30 + 270·x Hz),
        shelf gain (24·x − 12 dB), shelf Q − 0.5, bell frequency (50 + 350·x Hz),
        bell gain (24·x − 12 dB), bell Q (2·x + 0.1). */
    extern const std::array<ShapeRow, numLfPoints * numGainSteps> lfShapeTable;

    /** Row 13·k + n: HF breakpoint k at n dB. Columns: bell frequency (330 + 15670·x Hz),
        bell gain (24·x − 12 dB), bell bandwidth (2·x + 0.1 octaves), shelf frequency
        (1000 + 22000·x Hz), shelf gain (24·x − 12 dB), shelf Q − 0.5. */
    extern const std::array<ShapeRow, numHfPoints * numGainSteps> hfShapeTable;

    /** Row 11·n + c: n dB and knob-Q breakpoint c; one column each for LMF, MF, HMF.
        The designed Q is 3·x + 0.1. */
    extern const std::array<MidQRow, numGainSteps * numQPoints> midQTable;

    extern const std::array<int, numHfPoints> hfFrequencyBreakpoints;
    extern const std::array<float, numQPoints> midQBreakpoints;

    /** The six LF shape values at a knob frequency of 30..300 Hz and a gain size of 0..12 dB,
        bilinear between the grid points (single precision). */
    ShapeRow lookupLfShape (float frequency, float gainSize) noexcept;

    /** The same for the HF band, knob frequency 2500..25000 Hz. */
    ShapeRow lookupHfShape (float frequency, float gainSize) noexcept;

    /** The knob-Q interval c of a knob Q: breakpoint[c] <= knobQ < breakpoint[c + 1],
        or 10 when the knob Q lies in none of them (5.0 and above). */
    int midQInterval (float knobQ) noexcept;

    /** The mid-band Q value x (designed Q = 3·x + 0.1) for band column 0 (LMF), 1 (MF)
        or 2 (HMF), a knob Q of 0.7..5.0 and a gain size of 0..12 dB. */
    float lookupMidQ (int column, float knobQ, float gainSize) noexcept;
}
