#pragma once

namespace compressor
{

/** One side-chain section: coefficients divided by a0, then the filter memory. */
struct SideChainBiquad
{
    double b0 = 0.0, b1 = 0.0, b2 = 0.0, a1 = 0.0, a2 = 0.0;
    double y1 = 0.0, y2 = 0.0, x1 = 0.0, x2 = 0.0;

    /** One step of the direct form I section, summed in this order. */
    double process (double x) noexcept
    {
        const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }

    /** b0 = 1, everything else 0. */
    void reset() noexcept;

    void copyCoefficientsFrom (const SideChainBiquad& other) noexcept;
    void clearState() noexcept;
};

/** The cookbook designs, numbered as the selector expects them. */
enum BiquadType
{
    lowPass,
    highPass,
    bandPass,
    bandPassSkirt,
    notch,
    allPass,
    peak,
    lowShelf,
    highShelf
};

/** Writes the five coefficients of a cookbook design; the state is left alone.
    A type without a design (outside 0..8) gets the flat design of an unused filter. */
void designBiquad (SideChainBiquad& section, int type, double frequency, double sampleRate, double q);

/** The flat design used when the side-chain filter is off: transfer function 1. */
void designIdentity (SideChainBiquad& section, double sampleRate);

/** Designs a section from the compressor's normalised filter settings. */
void selectSideChainDesign (SideChainBiquad& section, float filterType, float freq, float width, float sampleRate);

} // namespace compressor
