#include "processor/HalfBandFilter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace
{
    constexpr double pi = 3.141592653589793;

    double rms (const std::vector<float>& x, size_t from)
    {
        double sum = 0.0;
        for (size_t i = from; i < x.size(); ++i)
            sum += (double) x[i] * x[i];
        return std::sqrt (sum / (double) (x.size() - from));
    }
}

TEST (HalfBandFilter, DesignGivesTheTwoAllpassCoefficients)
{
    std::array<double, 2> c {};
    HalfBandFilter::designHalfBandCoefficients (c);

    EXPECT_EQ (c[0], 0.23647102099689224);
    EXPECT_EQ (c[1], 0.7145421497126001);
    EXPECT_EQ (HalfBandFilter().getDesignedCoefficients(), c);
}

TEST (HalfBandFilter, TransitionBandConstantsFollowFromTheirDefinitions)
{
    // k = tan^2 (0.2 pi); the nome q from k; and its fourth root, as the design stores them.
    const double k = std::pow (std::tan (0.2 * pi), 2.0);
    const double s = std::pow (1.0 - k * k, 0.25);
    const double e = 0.5 * (1.0 - s) / (1.0 + s);
    const double q = e + 2.0 * std::pow (e, 5.0) + 15.0 * std::pow (e, 9.0) + 150.0 * std::pow (e, 13.0);

    EXPECT_NEAR (k, 0.5278640450004206, 1e-15);
    EXPECT_NEAR (q, 0.020402271398940137, 1e-16);
    EXPECT_NEAR (std::pow (q, 0.25), 0.37793719033230966, 1e-15);
}

class HalfBandPassband : public ::testing::TestWithParam<double> {};

TEST_P (HalfBandPassband, UpThenDownKeepsTheMagnitude)
{
    // A host-rate sine through the upsampler and straight back down.
    const double hostRate = 48000.0, frequency = GetParam();
    const int n = 48000;

    std::vector<float> input ((size_t) n), up ((size_t) (2 * n)), output ((size_t) n);
    for (int i = 0; i < n; ++i)
        input[(size_t) i] = (float) (0.5 * std::sin (2.0 * pi * frequency * i / hostRate));

    HalfBandFilter upsampler, downsampler;
    upsampler.setNumSamples (n);
    downsampler.setNumSamples (n);
    upsampler.upsample (input.data(), up.data());
    downsampler.downsample (up.data(), output.data());

    const double gainDb = 20.0 * std::log10 (rms (output, 4800) / rms (input, 4800));
    EXPECT_NEAR (gainDb, 0.0, 0.001) << frequency << " Hz";
}

// Up to 0.4 of the host rate, which is 0.2 of the oversampled rate.
INSTANTIATE_TEST_SUITE_P (HostRateSines, HalfBandPassband, ::testing::Values (50.0, 1000.0, 6000.0, 12000.0, 16000.0, 19000.0));

class HalfBandStopband : public ::testing::TestWithParam<double> {};

TEST_P (HalfBandStopband, DownsamplerRejectsTheUpperBand)
{
    // A sine at this fraction of the oversampled rate, fed to the downsampler.
    const double fraction = GetParam();
    const int n = 24000;

    std::vector<float> input ((size_t) (2 * n)), output ((size_t) n);
    for (size_t i = 0; i < input.size(); ++i)
        input[i] = (float) (0.5 * std::sin (2.0 * pi * fraction * (double) i + 0.3));

    HalfBandFilter downsampler;
    downsampler.setNumSamples (n);
    downsampler.downsample (input.data(), output.data());

    const double inputRms = 0.5 / std::sqrt (2.0);
    EXPECT_LT (20.0 * std::log10 (rms (output, 2000) / inputRms), -36.0) << fraction;
}

INSTANTIATE_TEST_SUITE_P (OversampledFractions, HalfBandStopband, ::testing::Values (0.3, 0.33, 0.38, 0.42, 0.46, 0.49));

TEST (HalfBandFilter, StateCarriesAcrossBlocksOfAnyLength)
{
    std::vector<float> input (768), one (1536), split (1536);
    for (size_t i = 0; i < input.size(); ++i)
        input[i] = (float) std::sin (0.01 * (double) i * (double) i);

    HalfBandFilter whole, pieces;
    whole.setNumSamples (768);
    whole.upsample (input.data(), one.data());

    pieces.upsample (input.data(), split.data());  // 512, the initial length
    pieces.setNumSamples (256);
    pieces.upsample (input.data() + 512, split.data() + 1024);

    EXPECT_EQ (one, split);
    EXPECT_EQ (whole.getState(), pieces.getState());

    // Zero samples leave the state alone.
    const auto before = pieces.getState();
    pieces.setNumSamples (0);
    pieces.upsample (input.data(), split.data());
    pieces.downsample (split.data(), input.data());
    EXPECT_EQ (pieces.getState(), before);
}

TEST (HalfBandFilter, StereoPairMatchesTwoSingleChannelsBitForBit)
{
    const int n = 777;
    std::vector<float> left ((size_t) n), right ((size_t) n);
    for (int i = 0; i < n; ++i)
    {
        left[(size_t) i] = (float) std::sin (0.013 * i * i);
        right[(size_t) i] = (float) std::cos (0.37 * i) * 0.8f;
    }

    HalfBandFilter upL, upR, downL, downR, pairUpL, pairUpR, pairDownL, pairDownR;
    for (auto* f : { &upL, &upR, &downL, &downR, &pairUpL, &pairUpR, &pairDownL, &pairDownR })
        f->setNumSamples (n);

    std::vector<float> wideL ((size_t) (2 * n)), wideR ((size_t) (2 * n)), pairWideL ((size_t) (2 * n)), pairWideR ((size_t) (2 * n));
    std::vector<float> outL ((size_t) n), outR ((size_t) n), pairOutL ((size_t) n), pairOutR ((size_t) n);

    // Twice, so the second pass starts from carried state.
    for (int pass = 0; pass < 2; ++pass)
    {
        upL.upsample (left.data(), wideL.data());
        upR.upsample (right.data(), wideR.data());
        downL.downsample (wideR.data(), outL.data());   // crossed on purpose: any signal will do
        downR.downsample (wideL.data(), outR.data());

        HalfBandFilter::upsampleStereo (pairUpL, pairUpR, left.data(), right.data(), pairWideL.data(), pairWideR.data());
        HalfBandFilter::downsampleStereo (pairDownL, pairDownR, pairWideR.data(), pairWideL.data(), pairOutL.data(), pairOutR.data());

        EXPECT_EQ (wideL, pairWideL);
        EXPECT_EQ (wideR, pairWideR);
        EXPECT_EQ (outL, pairOutL);
        EXPECT_EQ (outR, pairOutR);
    }

    EXPECT_EQ (upL.getState(), pairUpL.getState());
    EXPECT_EQ (upR.getState(), pairUpR.getState());
    EXPECT_EQ (downL.getState(), pairDownL.getState());
    EXPECT_EQ (downR.getState(), pairDownR.getState());
}
