#pragma once

#include <array>

/** A two-path polyphase IIR half-band filter (two first-order allpass sections, filter
    order 5) that doubles or halves the sample rate of one channel.

    The state carries across calls and is never reset, so consecutive blocks (of any
    length) join seamlessly.
*/
class HalfBandFilter final
{
public:
    HalfBandFilter();

    /** The elliptic half-band design for a transition band from 0.2 to 0.3 of the
        oversampled rate. */
    static void designHalfBandCoefficients (std::array<double, 2>& coefficients);

    /** Host-rate samples handled by one call. */
    void setNumSamples (int newNumSamples) noexcept     { numSamples = newNumSamples; }
    int getNumSamples() const noexcept                  { return numSamples; }

    /** Reads numSamples samples, writes 2 * numSamples. */
    void upsample (const float* input, float* output) noexcept;

    /** Reads 2 * numSamples samples, writes numSamples. */
    void downsample (const float* input, float* output) noexcept;

    /** The same as upsample and downsample on a left and a right filter, run together so
        that the four allpass recursions overlap: every lane does the arithmetic of the
        single-channel loop, so the results are identical. Both filters must have the same
        numSamples. */
    static void upsampleStereo (HalfBandFilter& left, HalfBandFilter& right,
                                const float* inputLeft, const float* inputRight,
                                float* outputLeft, float* outputRight) noexcept;

    static void downsampleStereo (HalfBandFilter& left, HalfBandFilter& right,
                                  const float* inputLeft, const float* inputRight,
                                  float* outputLeft, float* outputRight) noexcept;

    const std::array<double, 2>& getDesignedCoefficients() const noexcept { return designed; }

    struct State
    {
        float x0, x1, y0, y1;

        bool operator== (const State& other) const noexcept
        {
            return x0 == other.x0 && x1 == other.x1 && y0 == other.y0 && y1 == other.y1;
        }
    };

    State getState() const noexcept { return { x0, x1, y0, y1 }; }

    /** Clears the memory if it is no longer finite (a bad input must not stop the chain). */
    void clearNonFiniteState() noexcept;

private:
    int numSamples = 512;
    std::array<double, 2> designed {};
    float c0 = 0.0f, c1 = 0.0f;
    float x0 = 0.0f, x1 = 0.0f, y0 = 0.0f, y1 = 0.0f;
};
