#include "common/BiquadResponse.h"
#include "eq/EqFilterDesign.h"
#include "eq/EqShapeTables.h"

#include <gtest/gtest.h>

#include <cstring>

using testing_support::magnitudeAt;
using testing_support::toDecibels;
using P = EqParameterTable::Index;

namespace
{
    EqParameterSnapshot defaults()
    {
        EqParameterSnapshot v {};
        for (size_t i = 0; i < v.size(); ++i)
            v[i] = EqParameterTable::entries[i].defaultValue;
        return v;
    }

    bool sameBits (const BiquadCoefficients& a, const BiquadCoefficients& b)
    {
        return std::memcmp (&a, &b, sizeof (BiquadCoefficients)) == 0;
    }

    /** Radius of the larger pole of 1 + a1·z^-1 + a2·z^-2. */
    double poleRadius (const BiquadCoefficients& c)
    {
        const double disc = c.a1 * c.a1 - 4.0 * c.a2;

        if (disc < 0.0)
            return std::sqrt (c.a2);

        const double s = std::sqrt (disc);
        return std::max (std::abs (-c.a1 + s), std::abs (-c.a1 - s)) / 2.0;
    }

    bool isFinite (const BiquadCoefficients& c)
    {
        return std::isfinite (c.b0) && std::isfinite (c.b1) && std::isfinite (c.b2)
            && std::isfinite (c.a1) && std::isfinite (c.a2);
    }

    const double frequencies[] = { 10, 31.5, 63, 125, 250, 500, 1000, 2000, 4000, 8000, 12000, 16000, 20000, 23900 };
}

//==============================================================================
TEST (EqDesign, FlatGainsPassTheSignalUnchanged)
{
    const auto d = designEqualiser (defaults(), 48000.0f);

    // Shelves and the HF bell are designed with A = 1: numerator equals denominator.
    for (auto s : { EqDesign::lfShelf, EqDesign::hfShelf, EqDesign::hfBell })
    {
        const auto& c = d.sections[(size_t) s];
        EXPECT_EQ (c.b0, 1.0) << s;
        EXPECT_EQ (c.b1, c.a1) << s;
        EXPECT_EQ (c.b2, c.a2) << s;
    }

    // The LF bell and the peaks have no 0 dB design: they are the identity.
    for (auto s : { EqDesign::lfBell, EqDesign::lmfPeak, EqDesign::mfPeak, EqDesign::hmfPeak })
        EXPECT_TRUE (sameBits (d.sections[(size_t) s], BiquadCoefficients::identity())) << s;
}

//==============================================================================
struct PeakCase
{
    float gainDb;
    double frequency;
    float q;
    double sampleRate;
};

void PrintTo (const PeakCase& c, std::ostream* os)
{
    *os << c.gainDb << " dB at " << c.frequency << " Hz, q " << c.q << ", " << c.sampleRate << " Hz";
}

class PeakFilter : public ::testing::TestWithParam<PeakCase> {};

TEST_P (PeakFilter, MeetsItsPeakBandEdgeDcAndNyquistGains)
{
    const auto tc = GetParam();
    const auto omega = (float) (2.0 * tc.frequency * (double) 3.1415927f / tc.sampleRate);
    const auto c = designPeakFilter (tc.gainDb, omega, tc.q);
    const double centre = omega * tc.sampleRate / (2.0 * 3.141592653589793);

    const double d = std::abs ((double) tc.gainDb);
    const double sign = tc.gainDb < 0.0f ? -1.0 : 1.0;

    EXPECT_NEAR (toDecibels (magnitudeAt (c, 0.0, tc.sampleRate)), 0.0, 1e-9);
    EXPECT_NEAR (toDecibels (magnitudeAt (c, centre, tc.sampleRate)), sign * d, 1e-6);

    // The lower band edge, placed by the bandwidth q implies, sits at half the dB gain.
    const double h = 1.0 / (2.0 * tc.q);
    const double octaves = 2.0 * std::asinh (h) / std::log (2.0);
    EXPECT_NEAR (toDecibels (magnitudeAt (c, centre * std::pow (2.0, -octaves / 2.0), tc.sampleRate)), sign * d / 2.0, 1e-6);

    // The Nyquist gain is the analog prototype's gain at half the sample rate (44.1 kHz
    // scaling, which cancels out): |H(jΩ)|² = ((Ω² − Ω0²)² + (G·Δ·Ω)²) / ((Ω² − Ω0²)² + (Δ·Ω)²).
    const double G = std::pow (10.0, d / 20.0);
    const double GB2 = std::pow (10.0, d / 20.0);
    const double bandwidth = std::sqrt (std::abs (GB2 - 1.0) / std::abs (G * G - GB2))
                           * (std::pow (2.0, octaves / 2.0) - std::pow (2.0, -octaves / 2.0)) * (double) omega * 44100.0;
    const double nyquist = 3.141592653589793 * 44100.0;
    const double centreRad = (double) omega * 44100.0;
    const double v = nyquist * nyquist - centreRad * centreRad;
    const double g1 = std::sqrt ((v * v + std::pow (G * bandwidth * nyquist, 2.0)) / (v * v + std::pow (bandwidth * nyquist, 2.0)));
    EXPECT_NEAR (magnitudeAt (c, tc.sampleRate / 2.0, tc.sampleRate), tc.gainDb < 0.0f ? 1.0 / g1 : g1, 1e-6 * g1);

    EXPECT_LT (poleRadius (c), 1.0);
}

INSTANTIATE_TEST_SUITE_P (Designs, PeakFilter, ::testing::Values (
    PeakCase { 12.0f,  1000.0,  2.41795f, 48000.0 },
    PeakCase { -12.0f, 1000.0,  2.41795f, 48000.0 },
    PeakCase { 1.0f,   225.0,   0.20089f, 44100.0 },
    PeakCase { 6.0f,   8900.0,  0.7f,     44100.0 },
    PeakCase { -3.5f,  16000.0, 0.3f,     96000.0 },
    PeakCase { 0.5f,   50.0,    2.0f,     192000.0 },
    PeakCase { 9.0f,   2500.0,  1.2f,     8000.0 }));

//==============================================================================
struct MirrorCase
{
    const char* name;
    P gainIndex;
    P frequencyIndex;
    double frequency;
    EqDesign::Section section;
};

void PrintTo (const MirrorCase& c, std::ostream* os) { *os << c.name; }

class MirroredGain : public ::testing::TestWithParam<MirrorCase> {};

TEST_P (MirroredGain, CutIsTheReciprocalOfTheEqualBoost)
{
    const auto tc = GetParam();

    for (double db : { 0.5, 3.0, 6.0, 11.5, 12.0 })
    {
        auto boost = defaults();
        boost[(size_t) tc.gainIndex] = (db + 12.0) / 24.0;
        boost[(size_t) tc.frequencyIndex] = tc.frequency;
        auto cut = boost;
        cut[(size_t) tc.gainIndex] = (12.0 - db) / 24.0;

        const auto up = designEqualiser (boost, 48000.0f).sections[(size_t) tc.section];
        const auto down = designEqualiser (cut, 48000.0f).sections[(size_t) tc.section];

        for (double f : frequencies)
            // Within double rounding (evaluating |H| near DC loses a few digits to cancellation).
            EXPECT_NEAR (magnitudeAt (up, f, 48000.0) * magnitudeAt (down, f, 48000.0), 1.0, 1e-10)
                << db << " dB at " << f << " Hz";
    }
}

INSTANTIATE_TEST_SUITE_P (Bands, MirroredGain, ::testing::Values (
    MirrorCase { "lfBell",    P::lowGain,     P::lowFreq,     0.5,  EqDesign::lfBell },
    MirrorCase { "lfBellTop", P::lowGain,     P::lowFreq,     1.0,  EqDesign::lfBell },
    MirrorCase { "lmf",       P::lowMidGain,  P::lowMidFreq,  0.3,  EqDesign::lmfPeak },
    MirrorCase { "mf",        P::midGain,     P::midFreq,     0.8,  EqDesign::mfPeak },
    MirrorCase { "hmf",       P::highMidGain, P::highMidFreq, 1.0,  EqDesign::hmfPeak }),
    [] (const ::testing::TestParamInfo<MirrorCase>& p) { return std::string (p.param.name); });

TEST (EqDesign, MidBandQFollowsTheGain)
{
    // +12 dB at knob Q 5.0 designs q = 3·0.77265 + 0.1; +1 dB at knob Q 0.7 (the 1 dB row
    // repeats the 0 dB row) designs q = 3·0.03363 + 0.1.
    struct { float gainValue, qValue, expectedQ; } cases[] = { { 1.0f, 1.0f, 2.41795f }, { 13.0f / 24.0f, 0.0f, 0.20089f } };

    for (const auto& c : cases)
    {
        auto v = defaults();
        v[P::lowMidGain] = c.gainValue;
        v[P::lowMidQ] = c.qValue;
        const auto designed = designEqualiser (v, 48000.0f).sections[EqDesign::lmfPeak];

        // The product 3·x is a float, then 0.1 is added in double: that lands within a
        // float step of the five-decimal value.
        const float x = c.expectedQ > 1.0f ? 0.77265f : 0.03363f;
        const auto q = (float) ((double) (3.0f * x) + 0.1);
        EXPECT_NEAR (q, c.expectedQ, 2e-7);

        const auto gain = (float) (24.0 * (double) c.gainValue - 12.0);
        const auto omega = (float) (2.0 * 225.0 * (double) 3.1415927f / 48000.0);
        EXPECT_TRUE (sameBits (designed, designPeakFilter (gain, omega, q))) << c.expectedQ;
    }
}

//==============================================================================
TEST (EqDesign, HighPassAndLowPassCornersAtTheirEnds)
{
    // The cookbook sections reach |H| = Q at their corner: for the high-pass
    // Q = 1 / (2·sinh (ln2/2 · 1.739 · ω/sin ω)), for the low-pass 0.5.
    struct { double v, corner, sampleRate; } highPass[] = { { 0.0, 10.0, 48000.0 }, { 1.0, 200.0, 48000.0 }, { 0.0, 10.0, 8000.0 }, { 1.0, 200.0, 192000.0 } };

    for (const auto& c : highPass)
    {
        auto values = defaults();
        values[P::highpassFreq] = c.v;
        const auto hp = designEqualiser (values, (float) c.sampleRate).sections[EqDesign::highPass];
        const double w = 2.0 * 3.141592653589793 * c.corner / c.sampleRate;
        const double q = 1.0 / (2.0 * std::sinh (std::log (2.0) / 2.0 * 1.739 * w / std::sin (w)));

        EXPECT_NEAR (magnitudeAt (hp, c.corner, c.sampleRate), q, 1e-9) << c.corner;
        EXPECT_NEAR (toDecibels (magnitudeAt (hp, c.corner, c.sampleRate)), -2.14, 0.02) << c.corner;
        EXPECT_NEAR (magnitudeAt (hp, c.sampleRate / 2.0, c.sampleRate), 1.0, 1e-9);
        EXPECT_LT (magnitudeAt (hp, c.corner / 10.0, c.sampleRate), 0.02);
    }

    struct { double v, corner, sampleRate; } lowPass[] = { { 0.0, 5000.0, 48000.0 }, { 1.0, 22000.0, 48000.0 }, { 1.0, 22000.0, 44100.0 }, { 0.5, 13500.0, 96000.0 } };

    for (const auto& c : lowPass)
    {
        auto values = defaults();
        values[P::lowpassFreq] = c.v;
        const auto lp = designEqualiser (values, (float) c.sampleRate).sections[EqDesign::lowPass];

        EXPECT_NEAR (magnitudeAt (lp, c.corner, c.sampleRate), 0.5, 1e-9) << c.corner;
        EXPECT_NEAR (magnitudeAt (lp, 0.0, c.sampleRate), 1.0, 1e-12);
        EXPECT_NEAR (magnitudeAt (lp, c.sampleRate / 2.0, c.sampleRate), 0.0, 1e-12);
    }
}

TEST (EqDesign, ShelvesAndBellsSitWhereTheShapeTablesPutThem)
{
    // A cookbook shelf reaches half its dB gain at its frequency and the full gain at the
    // far end; the HF bell reaches its full gain at its centre.
    for (double vG : { 0.0, 0.2, 0.75, 1.0 })
        for (double vF : { 0.0, 0.37, 1.0 })
        {
            auto v = defaults();
            v[P::lowFreq] = vF;
            v[P::lowGain] = vG;
            v[P::highFreq] = vF;
            v[P::highGain] = vG;
            const auto d = designEqualiser (v, 96000.0f);

            const auto gain = (float) (24.0 * vG - 12.0);
            auto t = EqShapeTables::lookupLfShape ((float) (30.0 + 270.0 * vF), std::abs (gain));
            auto h = EqShapeTables::lookupHfShape ((float) (2500.0 + 22500.0 * vF), std::abs (gain));
            const double lfShelfDb = gain < 0 ? 12.0 - 24.0 * t[1] : 24.0 * t[1] - 12.0;
            const double hfShelfDb = gain < 0 ? 12.0 - 24.0 * h[4] : 24.0 * h[4] - 12.0;
            const double hfBellDb = gain < 0 ? 12.0 - 24.0 * h[1] : 24.0 * h[1] - 12.0;

            const auto& lfShelf = d.sections[EqDesign::lfShelf];
            const auto& hfShelf = d.sections[EqDesign::hfShelf];
            const auto& hfBell = d.sections[EqDesign::hfBell];

            EXPECT_NEAR (toDecibels (magnitudeAt (lfShelf, 30.0 + 270.0 * t[0], 96000.0)), lfShelfDb / 2.0, 1e-4);
            EXPECT_NEAR (toDecibels (magnitudeAt (lfShelf, 0.0, 96000.0)), lfShelfDb, 1e-4);
            EXPECT_NEAR (toDecibels (magnitudeAt (hfShelf, 1000.0 + 22000.0 * h[3], 96000.0)), hfShelfDb / 2.0, 1e-4);
            EXPECT_NEAR (toDecibels (magnitudeAt (hfShelf, 48000.0, 96000.0)), hfShelfDb, 1e-4);
            EXPECT_NEAR (toDecibels (magnitudeAt (hfBell, 330.0 + 15670.0 * h[0], 96000.0)), hfBellDb, 1e-4);
            EXPECT_NEAR (toDecibels (magnitudeAt (hfBell, 0.0, 96000.0)), 0.0, 1e-9);
        }
}

//==============================================================================
TEST (NyquistGuard, LeavesCommonRatesBitIdentical)
{
    // Every design frequency stays below the guard's limits at 44.1 kHz and above, so the
    // guarded design must be the plain formulas to the bit.
    juce::Random random (99);

    for (float rate : { 44100.0f, 48000.0f, 88200.0f, 96000.0f, 192000.0f })
        for (int trial = 0; trial < 600; ++trial)
        {
            auto v = defaults();

            for (int i = 0; i < P::outgain; ++i)
                v[(size_t) i] = trial < 64 ? (double) ((trial >> (i % 6)) & 1) : (double) random.nextFloat();

            v[P::highpassFreq] = trial < 64 ? (double) (trial & 1) : (double) random.nextFloat();
            v[P::lowpassFreq] = trial < 64 ? (double) ((trial >> 1) & 1) : (double) random.nextFloat();

            const auto guarded = designEqualiser (v, rate);
            const auto plain = designEqualiser (v, rate, NyquistGuard::off);

            for (int s = 0; s < EqDesign::numSections; ++s)
                ASSERT_TRUE (sameBits (guarded.sections[(size_t) s], plain.sections[(size_t) s]))
                    << rate << " Hz, trial " << trial << ", section " << s;
        }
}

class LowSampleRate : public ::testing::TestWithParam<float> {};

TEST_P (LowSampleRate, EverySectionIsFiniteAndStable)
{
    const float rate = GetParam();
    constexpr int steps = 20;
    double worst = 0.0;

    for (int a = 0; a <= steps; ++a)
        for (int b = 0; b <= steps; ++b)
            for (int q = 0; q <= 4; ++q)
            {
                // Every band at once: frequencies on a, gains on b, Qs on q.
                auto v = defaults();
                const double va = a / (double) steps, vb = b / (double) steps, vq = q / 4.0;

                for (auto i : { P::lowFreq, P::lowMidFreq, P::midFreq, P::highMidFreq, P::highFreq, P::highpassFreq, P::lowpassFreq })
                    v[(size_t) i] = va;

                for (auto i : { P::lowGain, P::lowMidGain, P::midGain, P::highMidGain, P::highGain })
                    v[(size_t) i] = vb;

                for (auto i : { P::lowMidQ, P::midQ, P::highMidQ })
                    v[(size_t) i] = vq;

                const auto d = designEqualiser (v, rate);

                for (int s = 0; s < EqDesign::numSections; ++s)
                {
                    const auto& c = d.sections[(size_t) s];
                    ASSERT_TRUE (isFinite (c)) << "section " << s << " at " << va << ", " << vb << ", " << vq;
                    ASSERT_LT (poleRadius (c), 1.0) << "section " << s << " at " << va << ", " << vb << ", " << vq;
                    worst = std::max (worst, poleRadius (c));
                }
            }

    // The same sweep without the guard does fail here: the guard is what keeps it stable.
    bool plainFails = false;

    for (int a = 0; a <= steps && ! plainFails; ++a)
    {
        auto v = defaults();
        v[P::lowpassFreq] = v[P::highMidFreq] = v[P::highFreq] = a / (double) steps;
        v[P::highMidGain] = v[P::highGain] = 1.0;
        const auto d = designEqualiser (v, rate, NyquistGuard::off);

        for (const auto& c : d.sections)
            plainFails = plainFails || ! isFinite (c) || poleRadius (c) >= 1.0;
    }

    EXPECT_TRUE (plainFails);
    RecordProperty ("worstPoleRadius", std::to_string (worst));
}

INSTANTIATE_TEST_SUITE_P (Rates, LowSampleRate, ::testing::Values (8000.0f, 11025.0f, 16000.0f, 22050.0f, 32000.0f));
