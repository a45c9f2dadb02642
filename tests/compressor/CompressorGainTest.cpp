// The gain computer measured through the compressor: static curve, knees, make-up and mix,
// the envelope's attack and release times, the linked stereo detector.

#include "CompressorTestRig.h"
#include "compressor/CompressorGain.h"

#include <gtest/gtest.h>

#include <limits>

using testing_support::CompressorRig;
using testing_support::constantSignal;
using testing_support::sineSignal;

namespace
{
    enum Index { thresholdIndex, ratioIndex, levelIndex, attackIndex, releaseIndex, mixIndex,
                 filterTypeIndex, freqIndex, widthIndex, soloIndex, keyIndex = 12, bypassIndex, kneeIndex = 15 };

    struct CurveCase
    {
        float threshold, ratio, level, input;
    };

    /** The steady-state gain of the hard knee from the parameter formulas, in double. */
    double expectedStaticGain (const CurveCase& c)
    {
        const double t = std::pow (10.0, 2.0 * c.threshold - 2.0);
        const double s = 0.9 * c.ratio;
        const double k = std::pow (10.0, 2.0 * c.level);
        return c.input > t ? k * std::pow (c.input / t, -s) : k;
    }
}

class CompressorStaticCurve : public ::testing::TestWithParam<CurveCase> {};

TEST_P (CompressorStaticCurve, ConstantInputConvergesToTheHardKneeGain)
{
    const auto c = GetParam();
    CompressorRig rig (44100.0, { { thresholdIndex, c.threshold }, { ratioIndex, c.ratio }, { levelIndex, c.level } });

    auto buffer = constantSignal (2, 20000, c.input);
    rig.process (buffer);

    const double expected = expectedStaticGain (c);
    EXPECT_NEAR (buffer.getSample (0, 19999) / c.input, expected, expected * 1e-4);
    EXPECT_NEAR (buffer.getSample (1, 19999) / c.input, expected, expected * 1e-4);
    EXPECT_NEAR (rig.compressor.getCurrentGain(), expected, expected * 1e-4);
}

INSTANTIATE_TEST_SUITE_P (AboveAndBelowThreshold, CompressorStaticCurve, ::testing::Values (
    CurveCase { 0.6f, 1.0f, 0.0f, 1.0f },    // 0.15848933^0.9 = 0.19055, -14.4 dB
    CurveCase { 0.6f, 0.4f, 0.0f, 0.5f },
    CurveCase { 0.3f, 0.7f, 0.25f, 0.9f },
    CurveCase { 0.0f, 1.0f, 0.5f, 0.02f },
    CurveCase { 0.6f, 0.4f, 0.0f, 0.1f },    // below the threshold: K
    CurveCase { 0.9f, 1.0f, 0.3f, 0.5f }));

TEST (CompressorStaticCurve, TenToOneAtMinusSixteenDecibelsReaches0Point19055)
{
    CompressorRig rig (44100.0, { { thresholdIndex, 0.6f }, { ratioIndex, 1.0f } });
    auto buffer = constantSignal (1, 20000, 1.0f);
    rig.process (buffer);

    EXPECT_NEAR (buffer.getSample (0, 19999), 0.19055f, 0.00001f);
}

TEST (CompressorKnee, HardKneeTestIsStrict)
{
    const float t = 0.15848933f, s = 0.9f, k = 2.0f;

    EXPECT_EQ (compressor::hardKneeGain (t, t, s, k), k);
    EXPECT_LT (compressor::hardKneeGain (std::nextafter (t, 1.0f), t, s, k), k);
    EXPECT_EQ (compressor::hardKneeGain (std::nextafter (t, 0.0f), t, s, k), k);
}

struct SoftKneeCase
{
    float ratioToThreshold; // r = E / T
    float threshold;
    float slope;
};

class CompressorSoftKnee : public ::testing::TestWithParam<SoftKneeCase> {};

TEST_P (CompressorSoftKnee, BlendsFromTheWetGainToTheHardKnee)
{
    const auto c = GetParam();
    const float k = 3.0f;
    const float e = c.ratioToThreshold * c.threshold;

    // K*r^(-S) weighted by r^2/(1 + r^2), plus K weighted by 1/(1 + r^2): K at r = 1, K far
    // below the threshold, the hard-knee gain far above it.
    const double r = c.ratioToThreshold;
    const double expected = k * (std::pow (r, -(double) c.slope) * r * r + 1.0) / (1.0 + r * r);
    EXPECT_NEAR (compressor::softKneeGain (e, c.threshold, c.slope, k), expected, expected * 1e-4);
}

INSTANTIATE_TEST_SUITE_P (KneeRegions, CompressorSoftKnee, ::testing::Values (
    SoftKneeCase { 1.0f,    0.15848933f, 0.36f },
    SoftKneeCase { 1.0f,    0.01f,       0.9f },
    SoftKneeCase { 1.0f,    1.0f,        0.9f },
    SoftKneeCase { 0.5f,    0.1f,        0.9f },
    SoftKneeCase { 1000.0f, 0.15848933f, 0.9f },
    SoftKneeCase { 1000.0f, 0.01f,       0.36f },
    SoftKneeCase { 0.001f,  0.15848933f, 0.9f },
    SoftKneeCase { 0.001f,  0.01f,       0.36f }));

TEST (CompressorSoftKnee, ASilentDetectorGivesExactlyTheWetGain)
{
    const float k = 1.5f;

    for (float e : { 0.0f, 1e-12f, 1e-30f, std::numeric_limits<float>::denorm_min() })
        for (float s : { 0.0f, 0.36f, 0.9f })
            EXPECT_EQ (compressor::softKneeGain (e, 0.01f, s, k), k) << "E " << e << ", S " << s;

    // Above the silence level the blend stays finite and near K for every slope in range.
    for (float s : { 0.36f, 0.9f })
    {
        const float g = compressor::softKneeGain (1e-10f, 0.01f, s, k);
        EXPECT_GE (g, k);
        EXPECT_LT (g, 1.2f * k);
    }
}

TEST (CompressorSoftKnee, SilentInputStaysSilentAndFinite)
{
    CompressorRig rig (48000.0, { { kneeIndex, 1.0f }, { ratioIndex, 1.0f }, { levelIndex, 0.5f } });
    auto buffer = constantSignal (2, 4096, 0.0f);
    rig.process (buffer);

    for (int ch = 0; ch < 2; ++ch)
        for (int i = 0; i < 4096; ++i)
            ASSERT_EQ (buffer.getSample (ch, i), 0.0f);

    EXPECT_EQ (rig.compressor.getCurrentGain(), 10.0f);
}

TEST (CompressorSoftKnee, AKeyFallingSilentLeavesTheAudioBounded)
{
    // A loud key that stops while the audio goes on: the envelope decays through the tiny
    // levels inside one long block, where the literal blend would run off to infinity.
    CompressorRig rig (8000.0, { { kneeIndex, 1.0f }, { keyIndex, 1.0f }, { thresholdIndex, 0.0f },
                                 { ratioIndex, 1.0f }, { attackIndex, 0.0f }, { releaseIndex, 0.0f } });

    auto buffer = constantSignal (2, 8192, 0.5f);
    juce::FloatVectorOperations::fill (buffer.getWritePointer (1), 1.0f, 500);
    juce::FloatVectorOperations::clear (buffer.getWritePointer (1) + 500, 8192 - 500);

    rig.process (buffer);

    for (int i = 0; i < 8192; ++i)
    {
        ASSERT_TRUE (std::isfinite (buffer.getSample (0, i))) << i;
        ASSERT_LE (std::abs (buffer.getSample (0, i)), 0.5f * 1.2f) << i;
    }

    EXPECT_EQ (buffer.getSample (0, 8191), 0.5f); // the key is silent: no reduction
}

//==============================================================================
TEST (CompressorMix, MixZeroPassesTheInputUnchangedWhateverTheGain)
{
    for (float knee : { 0.0f, 1.0f })
    {
        CompressorRig rig (44100.0, { { mixIndex, 0.0f }, { thresholdIndex, 0.0f }, { ratioIndex, 1.0f },
                                      { levelIndex, 1.0f }, { kneeIndex, knee } });
        const auto input = sineSignal (2, 4096, 0.9f, 0.013);
        auto buffer = input;
        rig.process (buffer);

        EXPECT_TRUE (testing_support::sameBits (buffer, input)) << "knee " << knee;
        EXPECT_EQ (rig.compressor.getCurrentGain(), 0.0f);
    }
}

TEST (CompressorMix, FullMixWithFullMakeUpBelowThresholdIsForty)
{
    CompressorRig rig (44100.0, { { levelIndex, 1.0f } });
    const auto input = sineSignal (2, 4096, 0.1f, 0.007);
    auto buffer = input;
    rig.process (buffer);

    for (int ch = 0; ch < 2; ++ch)
        for (int i = 0; i < 4096; ++i)
            ASSERT_EQ (buffer.getSample (ch, i), input.getSample (ch, i) * 100.0f) << ch << ", " << i;
}

TEST (CompressorMix, HalfMixAddsTheDrySignalWithoutMakeUp)
{
    // Heavy reduction on the wet half; the dry half carries the input at unity.
    CompressorRig rig (44100.0, { { mixIndex, 0.5f }, { thresholdIndex, 0.0f }, { ratioIndex, 1.0f }, { levelIndex, 0.5f } });
    auto buffer = constantSignal (1, 20000, 1.0f);
    rig.process (buffer);

    const double wet = 10.0 * 0.5 * std::pow (1.0 / 0.01, -0.9);
    EXPECT_NEAR (buffer.getSample (0, 19999), wet + 0.5, 1e-4);
}

//==============================================================================
struct MeasuredTimeCase
{
    int index;          // 3 attack, 4 release
    float value;
    double sampleRate;
};

class CompressorEnvelopeTimes : public ::testing::TestWithParam<MeasuredTimeCase> {};

TEST_P (CompressorEnvelopeTimes, HalfOfAStepTakesTheTimeTheTextShows)
{
    const auto c = GetParam();
    // The other time is set so that it does not disturb the measurement (an attack
    // coefficient above 1 at low rates would overshoot the step).
    CompressorRig rig (c.sampleRate, { { c.index, c.value }, { attackIndex == c.index ? releaseIndex : attackIndex, 0.3f } });

    // The text: microseconds for the attack, milliseconds for the release.
    const double shownSeconds = rig.compressor.getParameterText (c.index).getDoubleValue()
                              * (c.index == attackIndex ? 1e-6 : 1e-3);
    const double shownSamples = shownSeconds * c.sampleRate;

    auto step = [&rig] (float x)
    {
        auto sample = constantSignal (1, 1, x);
        rig.process (sample);
        return rig.compressor.getEnvelope();
    };

    int samples = 0;

    if (c.index == attackIndex)
    {
        while (step (1.0f) < 0.5f)
            ++samples;
        ++samples; // the sample that crossed
    }
    else
    {
        for (int i = 0; i < 4000; ++i)
            step (1.0f);

        const float top = rig.compressor.getEnvelope();
        ASSERT_NEAR (top, 1.0f, 1e-4f);

        while (step (0.0f) > 0.5f * top)
            ++samples;
        ++samples;
    }

    // The half-way point falls inside the sample that crossed it. The text works from the
    // coefficient in double, the envelope from 1 - coefficient rounded to float, which
    // moves the slowest releases by up to a few tenths of a percent.
    const double rounding = c.index == releaseIndex ? 0.003 * shownSamples : 0.01;
    EXPECT_GE (samples, shownSamples - rounding);
    EXPECT_LT (samples, shownSamples + 1.0 + rounding);
}

INSTANTIATE_TEST_SUITE_P (AttackAndRelease, CompressorEnvelopeTimes, ::testing::Values (
    MeasuredTimeCase { attackIndex, 0.2f, 44100.0 },
    MeasuredTimeCase { attackIndex, 0.5f, 44100.0 },
    MeasuredTimeCase { attackIndex, 1.0f, 44100.0 },
    MeasuredTimeCase { attackIndex, 0.6f, 96000.0 },
    MeasuredTimeCase { attackIndex, 0.8f, 8000.0 },
    MeasuredTimeCase { releaseIndex, 0.0f, 44100.0 },
    MeasuredTimeCase { releaseIndex, 0.5f, 44100.0 },
    MeasuredTimeCase { releaseIndex, 1.0f, 44100.0 },
    MeasuredTimeCase { releaseIndex, 0.3f, 192000.0 },
    MeasuredTimeCase { releaseIndex, 0.7f, 8000.0 }));

//==============================================================================
class CompressorLinkedStereo : public ::testing::TestWithParam<int> {};

TEST_P (CompressorLinkedStereo, TheQuietChannelGetsTheLoudChannelsGain)
{
    const int loud = GetParam(), quiet = 1 - loud;
    CompressorRig rig (44100.0, { { thresholdIndex, 0.3f }, { ratioIndex, 1.0f } });

    juce::AudioBuffer<float> input (2, 8192);
    for (int i = 0; i < 8192; ++i)
    {
        input.setSample (loud, i, 0.9f * (float) std::sin (0.05 * i));
        input.setSample (quiet, i, 0.001f * (float) std::sin (0.031 * i + 1.0));
    }

    auto buffer = input;
    rig.process (buffer);

    // Quiet on its own, the channel would pass at unity; here it is reduced like the loud one.
    for (int i = 4096; i < 8192; ++i)
    {
        const float gainLoud = buffer.getSample (loud, i) / input.getSample (loud, i);
        const float gainQuiet = buffer.getSample (quiet, i) / input.getSample (quiet, i);

        ASSERT_NEAR (gainQuiet, gainLoud, gainLoud * 1e-6f) << i;
        ASSERT_LT (gainQuiet, 0.5f) << i;
    }
}

INSTANTIATE_TEST_SUITE_P (LoudLeftOrRight, CompressorLinkedStereo, ::testing::Values (0, 1));
