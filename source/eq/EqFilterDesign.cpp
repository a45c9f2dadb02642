#include "EqFilterDesign.h"
#include "EqShapeTables.h"

#include <cmath>

namespace
{
    using P = EqParameterTable::Index;

    constexpr double twoPi = 6.283185307179586;
    constexpr double singlePrecisionPi = (double) 3.1415927f; // the peak designs form ω with it

    // A switch counts as on only at exactly 1: 0.999 is off.
    bool isOn (const EqParameterSnapshot& v, P index) noexcept
    {
        return v[(size_t) index] == 1.0;
    }

    double value (const EqParameterSnapshot& v, P index) noexcept
    {
        return v[(size_t) index];
    }

    /** Keeps a design frequency at or below a limit; below the limit it is returned as it is. */
    template <typename Frequency>
    Frequency limited (Frequency frequency, double limit, NyquistGuard guard) noexcept
    {
        if (guard == NyquistGuard::on && ! ((double) frequency < limit))
            return (Frequency) limit;

        return frequency;
    }

    //==============================================================================
    /** Cookbook high-pass in its bandwidth form, fixed bandwidth parameter of 1.739 octaves. */
    BiquadCoefficients designHighPass (double frequency, float sampleRate)
    {
        const double w = twoPi * frequency / sampleRate;
        const double sinW = std::sin (w);
        const double cosW = std::cos (w);
        const double alpha = sinW * std::sinh (0.6026914734968725 * w / sinW);
        const double a0 = 1.0 + alpha;

        BiquadCoefficients c;
        c.b0 = 0.5 * (1.0 + cosW) / a0;
        c.b1 = -(1.0 + cosW) / a0;
        c.b2 = c.b0;
        c.a1 = -2.0 * cosW / a0;
        c.a2 = (1.0 - alpha) / a0;
        return c;
    }

    /** Second-order low-pass with Q = 0.5 (α = sin ω). */
    BiquadCoefficients designLowPass (double frequency, float sampleRate)
    {
        const double w = twoPi * frequency / sampleRate;
        const double sinW = std::sin (w);
        const double cosW = std::cos (w);
        const double a0 = 1.0 + sinW;

        BiquadCoefficients c;
        c.b0 = 0.5 * (1.0 - cosW) / a0;
        c.b1 = (1.0 - cosW) / a0;
        c.b2 = c.b0;
        c.a1 = -2.0 * cosW / a0;
        c.a2 = (1.0 - sinW) / a0;
        return c;
    }

    /** Cookbook low shelf (s = 2·√A·α, α = sin ω / 2Q). */
    BiquadCoefficients designLowShelf (float frequency, float gainDb, float q, float sampleRate)
    {
        const double A = std::pow (10.0, (double) gainDb / 40.0);
        const double w = twoPi * frequency / sampleRate;
        const double cosW = std::cos (w);
        const double s = std::sqrt (A) * std::sin (w) / q;
        const double a0 = (A + 1.0) + (A - 1.0) * cosW + s;

        BiquadCoefficients c;
        c.b0 = A * ((A + 1.0) - (A - 1.0) * cosW + s) / a0;
        c.b1 = 2.0 * A * ((A - 1.0) - (A + 1.0) * cosW) / a0;
        c.b2 = A * ((A + 1.0) - (A - 1.0) * cosW - s) / a0;
        c.a1 = -2.0 * ((A - 1.0) + (A + 1.0) * cosW) / a0;
        c.a2 = ((A + 1.0) + (A - 1.0) * cosW - s) / a0;
        return c;
    }

    /** Cookbook high shelf. */
    BiquadCoefficients designHighShelf (float frequency, float gainDb, float q, float sampleRate)
    {
        const double A = std::pow (10.0, (double) gainDb / 40.0);
        const double w = twoPi * frequency / sampleRate;
        const double cosW = std::cos (w);
        const double s = std::sqrt (A) * std::sin (w) / q;
        const double a0 = (A + 1.0) - (A - 1.0) * cosW + s;

        BiquadCoefficients c;
        c.b0 = A * ((A + 1.0) + (A - 1.0) * cosW + s) / a0;
        c.b1 = -2.0 * A * ((A - 1.0) + (A + 1.0) * cosW) / a0;
        c.b2 = A * ((A + 1.0) + (A - 1.0) * cosW - s) / a0;
        c.a1 = 2.0 * ((A - 1.0) - (A + 1.0) * cosW) / a0;
        c.a2 = ((A + 1.0) - (A - 1.0) * cosW - s) / a0;
        return c;
    }

    /** Cookbook peaking filter in its bandwidth form (octaves). At 0 dB numerator and
        denominator are equal, so it is designed at every gain. */
    BiquadCoefficients designBandwidthBell (float frequency, float gainDb, float bandwidth, float sampleRate)
    {
        const double A = std::pow (10.0, (double) gainDb / 40.0);
        const double w = twoPi * frequency / sampleRate;
        const double sinW = std::sin (w);
        const double cosW = std::cos (w);
        const double alpha = sinW * std::sinh (0.34657359027997264 * bandwidth * w / sinW);
        const double a0 = 1.0 + alpha / A;

        BiquadCoefficients c;
        c.b0 = (1.0 + alpha * A) / a0;
        c.b1 = -2.0 * cosW / a0;
        c.b2 = (1.0 - alpha * A) / a0;
        c.a1 = c.b1;
        c.a2 = (1.0 - alpha / A) / a0;
        return c;
    }

    /** ω of a peak design: formed with single-precision π, handed over as a float. */
    float peakOmega (double doubledFrequency, float sampleRate) noexcept
    {
        return (float) (doubledFrequency * singlePrecisionPi / sampleRate);
    }

    //==============================================================================
    struct Limits
    {
        double lowPass, other;
        NyquistGuard guard;
    };

    void designLfBand (const EqParameterSnapshot& v, float sampleRate, const Limits& limits, EqDesign& design)
    {
        const auto frequency = (float) (30.0 + 270.0 * value (v, P::lowFreq));
        const auto gain = (float) (24.0 * value (v, P::lowGain) - 12.0);
        auto t = EqShapeTables::lookupLfShape (frequency, std::abs (gain));

        // A cut uses the shape of the equal boost with both gains mirrored.
        if (gain < 0.0f)
        {
            t[1] = 1.0f - t[1];
            t[4] = 1.0f - t[4];
        }

        const float shelfFrequency = limited (30.0f + 270.0f * t[0], limits.other, limits.guard);
        const float shelfGain = 24.0f * t[1] - 12.0f;
        const float shelfQ = t[2] + 0.5f;
        design.sections[EqDesign::lfShelf] = designLowShelf (shelfFrequency, shelfGain, shelfQ, sampleRate);

        const float bellGain = 24.0f * t[4] - 12.0f;

        if (std::abs (bellGain) > 0.01)
        {
            const float bellFrequency = limited (50.0f + 350.0f * t[3], limits.other, limits.guard);
            const float q = (float) ((double) (2.0f * t[5]) + 0.1);
            design.sections[EqDesign::lfBell] = designPeakFilter (bellGain, peakOmega (2.0f * bellFrequency, sampleRate), q);
        }
        else
        {
            design.sections[EqDesign::lfBell] = BiquadCoefficients::identity();
        }
    }

    struct MidBand
    {
        P frequency, gain, q;
        double lowest, span;
        int column;
        EqDesign::Section section;
    };

    void designMidBand (const EqParameterSnapshot& v, const MidBand& band, float sampleRate,
                        const Limits& limits, EqDesign& design)
    {
        const auto gain = (float) (24.0 * value (v, band.gain) - 12.0);
        const auto knobQ = (float) (0.7 + 4.3 * value (v, band.q));
        const float x = EqShapeTables::lookupMidQ (band.column, knobQ, std::abs (gain));

        if (std::abs (gain) > 0.01)
        {
            const double centre = limited (band.lowest + band.span * value (v, band.frequency), limits.other, limits.guard);
            const auto q = (float) ((double) (3.0f * x) + 0.1);
            design.sections[(size_t) band.section] = designPeakFilter (gain, peakOmega (2.0 * centre, sampleRate), q);
        }
        else
        {
            design.sections[(size_t) band.section] = BiquadCoefficients::identity();
        }
    }

    void designHfBand (const EqParameterSnapshot& v, float sampleRate, const Limits& limits, EqDesign& design)
    {
        const auto frequency = std::max (2500.0f, (float) (2500.0 + 22500.0 * value (v, P::highFreq)));
        const auto gain = (float) (24.0 * value (v, P::highGain) - 12.0);
        auto h = EqShapeTables::lookupHfShape (frequency, std::abs (gain));

        if (gain < 0.0f)
        {
            h[1] = 1.0f - h[1];
            h[4] = 1.0f - h[4];
        }

        const float bellFrequency = limited (330.0f + 15670.0f * h[0], limits.other, limits.guard);
        const float bellGain = 24.0f * h[1] - 12.0f;
        const auto bandwidth = (float) ((double) (2.0f * h[2]) + 0.1);
        design.sections[EqDesign::hfBell] = designBandwidthBell (bellFrequency, bellGain, bandwidth, sampleRate);

        const float shelfFrequency = limited (1000.0f + 22000.0f * h[3], limits.other, limits.guard);
        const float shelfGain = 24.0f * h[4] - 12.0f;
        const float shelfQ = h[5] + 0.5f;
        design.sections[EqDesign::hfShelf] = designHighShelf (shelfFrequency, shelfGain, shelfQ, sampleRate);
    }

    void designBands (const EqParameterSnapshot& v, float sampleRate, NyquistGuard guard, EqDesign& design)
    {
        const Limits limits { maxLowPassFrequency (sampleRate), maxDesignFrequency (sampleRate), guard };

        const double highPassFrequency = limited (10.0 + 190.0 * value (v, P::highpassFreq), limits.other, guard);
        design.sections[EqDesign::highPass] = designHighPass (highPassFrequency, sampleRate);

        designLfBand (v, sampleRate, limits, design);

        designMidBand (v, { P::lowMidFreq,  P::lowMidGain,  P::lowMidQ,  50.0,   350.0,   0, EqDesign::lmfPeak }, sampleRate, limits, design);
        designMidBand (v, { P::midFreq,     P::midGain,     P::midQ,     330.0,  2170.0,  1, EqDesign::mfPeak },  sampleRate, limits, design);
        designMidBand (v, { P::highMidFreq, P::highMidGain, P::highMidQ, 1800.0, 14200.0, 2, EqDesign::hmfPeak }, sampleRate, limits, design);

        designHfBand (v, sampleRate, limits, design);

        const double lowPassFrequency = limited (5000.0 + 17000.0 * value (v, P::lowpassFreq), limits.lowPass, guard);
        design.sections[EqDesign::lowPass] = designLowPass (lowPassFrequency, sampleRate);
    }
}

//==============================================================================
double maxLowPassFrequency (float sampleRate) noexcept
{
    // The Q = 0.5 low-pass stays stable right up to Nyquist; 22 kHz at 44.1 kHz is below this.
    return 0.499 * (double) sampleRate;
}

double maxDesignFrequency (float sampleRate) noexcept
{
    // The bells lose their damping near Nyquist (the bandwidth form's sinh grows without
    // bound); 16 kHz at 44.1 kHz, the highest of these, is 0.363 of the rate.
    return 0.45 * (double) sampleRate;
}

BiquadCoefficients designPeakFilter (float gainDb, float omega, float q)
{
    const double d = std::abs ((double) gainDb);
    const double G = std::pow (10.0, 0.05 * d);
    const double GB = std::pow (10.0, 0.025 * d);
    const double G2 = G * G;
    const double GB2 = GB * GB;

    const float tw = std::tan (omega / 2.0f);

    // Band edges, in octaves, of the bandwidth that q implies.
    const double h = 1.0 / (double) (q + q);
    const double bw = 2.0 * std::log (std::sqrt (h * h + 1.0) + h) / 0.6931471805599453;
    const double m = std::exp2 (-bw / 2.0);
    const double t = std::exp2 (bw / 2.0);

    const double W = std::tan (m * omega / 2.0);
    const double delta = std::sqrt (std::abs (GB2 - 1.0) / std::abs (G2 - GB2)) * ((t - m) * omega * 44100.0);

    // Nyquist gain of the matching analog peak; 44100 cancels out, so it holds at every rate.
    const double V = 19194505335.282593 - (double) (omega * omega) * 44100.0 * 44100.0;
    const double K2 = 19194505335.282593; // (π·44100)²
    const double G1 = std::sqrt (((G * delta) * (G * delta) * K2 + V * V) / (delta * delta * K2 + V * V));

    const double G11 = std::abs (G2 - G1 * G1);
    const double G00 = std::abs (G2 - 1.0);
    const double W2 = std::sqrt (G11 / G00) * ((double) tw * (double) tw);
    const double Dd = (std::abs (G2 - G1) - std::sqrt (G00 * G11)) * 2.0 * W2;

    const double WW = W * W;
    const double A = std::sqrt ((WW * Dd + (WW - W2) * (WW - W2) * GB2 - (G1 * WW - W2) * (G1 * WW - W2)) / (G2 * WW - GB2 * WW));
    const double B = std::sqrt (G2 * A * A - Dd);

    const double E = 1.0 / (A + W2 + 1.0);

    BiquadCoefficients c;
    c.b0 = (G1 + W2 + B) * E;
    c.b1 = -2.0 * (G1 - W2) * E;
    c.b2 = (G1 - B + W2) * E;
    c.a1 = -2.0 * (1.0 - W2) * E;
    c.a2 = (W2 + 1.0 - A) * E;

    // The cut is the reciprocal of the equal boost.
    if (gainDb < 0.0f)
        c = { 1.0 / c.b0, c.a1 / c.b0, c.a2 / c.b0, c.b1 / c.b0, c.b2 / c.b0 };

    return c;
}

EqDesign designEqualiser (const EqParameterSnapshot& values, float sampleRate, NyquistGuard guard)
{
    EqDesign design;

    designBands (values, sampleRate, guard, design);

    design.allpassCoefficient = -0.7995827f;
    design.outgainFactor = (float) std::pow (10.0, 1.2 * values[P::outgain] - 0.6);

    design.bypassed       = isOn (values, P::bypass);
    design.lmfEnabled     = isOn (values, P::lmfIn);
    design.mfEnabled      = isOn (values, P::mfIn);
    design.hmfEnabled     = isOn (values, P::hmfIn);
    design.filtersEnabled = isOn (values, P::lphpIn);
    design.lfEnabled      = isOn (values, P::lfIn);
    design.hfEnabled      = isOn (values, P::hfIn);
    design.lowCutEnabled  = isOn (values, P::lowcutIn);
    design.highCutEnabled = isOn (values, P::highcutIn);

    return design;
}
