#include "processor/NoiseGate.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace
{
    double toDb (double gain) { return 20.0 * std::log10 (gain); }

    /** Runs a constant level through the gate for seconds at rate (2x when oversampled). */
    float runConstant (float level, double seconds, double hostRate, bool oversampled, const NoiseGate::Settings& s, float& gain)
    {
        const double rate = oversampled ? 2.0 * hostRate : hostRate;
        std::vector<float> left ((size_t) std::lround (seconds * rate), level);
        NoiseGate::process (left.data(), nullptr, (int) left.size(), s, NoiseGate::timeStep (hostRate, oversampled), gain);
        return left.empty() ? 0.0f : left.back();
    }
}

struct SettingsCase
{
    float value;
    double thresholdDb, openingMs, closingMs, floorDb;
};

class GateSettings : public ::testing::TestWithParam<SettingsCase> {};

TEST_P (GateSettings, ConvertFromTheParameterValues)
{
    const auto c = GetParam();
    const auto s = NoiseGate::convertSettings (c.value, c.value, c.value, c.value);

    EXPECT_NEAR (toDb (s.threshold), c.thresholdDb, 1e-4);
    EXPECT_NEAR (1000.0 / s.openingRate, c.openingMs, 1e-4);
    EXPECT_NEAR (1000.0 / s.closingRate, c.closingMs, 1e-3);
    EXPECT_NEAR (toDb (s.floor), c.floorDb, 1e-4);
}

INSTANTIATE_TEST_SUITE_P (Ends, GateSettings, ::testing::Values (
    SettingsCase { 0.0f, -100.0, 1.0, 1.0, -3.0 },
    SettingsCase { 0.5f, -50.0, 25.5, 500.5, -26.5 },
    SettingsCase { 1.0f, 0.0, 50.0, 1000.0, -50.0 }));

TEST (NoiseGate, StartsClosedOpensTowardsOneAndClosesToTheFloorNotBelow)
{
    const auto s = NoiseGate::convertSettings (0.5f, 0.5f, 0.1f, 0.5f);
    float gain = 0.0f;

    // Below the threshold from the start: the initial 0 is under the floor and stays.
    EXPECT_EQ (runConstant (0.001f, 0.5, 48000.0, false, s, gain), 0.0f);
    EXPECT_EQ (gain, 0.0f);

    // Above it: the gain moves towards 1 by the fraction a of the rest, every sample.
    const float a = s.openingRate * NoiseGate::timeStep (48000.0, false);
    const int n = 480;
    runConstant (0.1f, n / 48000.0, 48000.0, false, s, gain);
    EXPECT_NEAR (gain, 1.0 - std::pow (1.0 - (double) a, n), 1e-4);

    runConstant (0.1f, 1.0, 48000.0, false, s, gain);
    EXPECT_GT (gain, 0.999f);
    EXPECT_LE (gain, 1.0f);

    // Below again: down towards the floor, settling on it from above.
    runConstant (0.0f, 3.0, 48000.0, false, s, gain);
    EXPECT_NEAR (gain, s.floor, s.floor * 1e-3);
    EXPECT_GE (gain, s.floor);
}

TEST (NoiseGate, RangeSetsTheDepthOfTheClosedGate)
{
    for (auto [range, depthDb] : { std::pair { 0.0f, -3.0 }, std::pair { 1.0f, -50.0 } })
    {
        const auto s = NoiseGate::convertSettings (0.5f, 0.0f, 0.0f, range);
        float gain = 1.0f;
        const float out = runConstant (0.001f, 0.2, 48000.0, false, s, gain);
        EXPECT_NEAR (toDb (out / 0.001f), depthDb, 0.01) << range;
    }
}

TEST (NoiseGate, DetectorAtExactlyTheThresholdHoldsTheGain)
{
    const auto s = NoiseGate::convertSettings (0.5f, 0.5f, 0.5f, 0.5f);
    float gain = 0.4f;
    runConstant (s.threshold, 0.1, 48000.0, false, s, gain);
    EXPECT_EQ (gain, 0.4f);
}

TEST (NoiseGate, LinkedPairOpensOnEitherChannelWithOneGain)
{
    const auto s = NoiseGate::convertSettings (0.5f, 0.2f, 0.5f, 1.0f);
    std::vector<float> left (4800, 0.5f), right (4800, 0.0f);
    right[4799] = 0.25f;
    float gain = 0.0f;

    NoiseGate::process (left.data(), right.data(), 4800, s, NoiseGate::timeStep (48000.0, false), gain);

    EXPECT_GT (gain, 0.99f);
    EXPECT_EQ (left[4799], 0.5f * gain);
    EXPECT_EQ (right[4799], 0.25f * gain);
}

TEST (NoiseGate, TimesDoNotChangeWithOversampling)
{
    const auto s = NoiseGate::convertSettings (0.5f, 0.5f, 0.3f, 0.5f);

    for (double seconds : { 0.005, 0.02, 0.1 })
    {
        float at1x = 0.0f, at2x = 0.0f;
        runConstant (0.1f, seconds, 44100.0, false, s, at1x);
        runConstant (0.1f, seconds, 44100.0, true, s, at2x);
        EXPECT_NEAR (at2x, at1x, 0.01f * at1x) << "opening for " << seconds << " s";

        runConstant (0.0f, seconds, 44100.0, false, s, at1x);
        runConstant (0.0f, seconds, 44100.0, true, s, at2x);
        EXPECT_NEAR (at2x, at1x, 0.01f * at1x) << "closing for " << seconds << " s";
    }
}

TEST (NoiseGate, TimeStepNeverDividesByZero)
{
    EXPECT_EQ (NoiseGate::timeStep (0.0, false), (float) (1.0 / 44100.0));
    EXPECT_EQ (NoiseGate::timeStep (96000.0, true), (float) (0.5 / 96000.0));
}

//==============================================================================
// The block loop skips the serial steps where the gain cannot move; it must give the bits of
// the literal per-sample loop everywhere: opening, closing, settled open and closed, a
// detector on the threshold, signals that cross it every few samples, and a NaN.
namespace
{
    /** The gate written out sample by sample. */
    void plainGate (float* left, float* right, int numSamples, const NoiseGate::Settings& s, float dt, float& gain)
    {
        const float a = s.openingRate * dt;
        const float b = 1.0f - a;

        for (int i = 0; i < numSamples; ++i)
        {
            const float d = right != nullptr ? std::max (std::abs (left[i]), std::abs (right[i])) : std::abs (left[i]);

            if (d > s.threshold && gain < 1.0f)
                gain = gain * b + a;

            if (d < s.threshold && gain > s.floor)
                gain = gain - (gain - s.floor) * s.closingRate * dt;

            left[i] *= gain;

            if (right != nullptr)
                right[i] *= gain;
        }
    }

    /** Per channel: loud noise, a fade through the threshold, silence long enough to settle
        on the floor, samples exactly at the threshold, noise around it, loud again, and a
        NaN near the end on channel 0. */
    std::vector<float> gateSignal (int channel, int length, float threshold)
    {
        std::vector<float> x ((size_t) length);
        uint32_t noise = 12345u + 977u * (uint32_t) channel;

        for (int i = 0; i < length; ++i)
        {
            noise = noise * 1664525u + 1013904223u;
            const float r = (float) (noise >> 8) / 8388608.0f - 1.0f;
            const int part = (i * 8) / length;
            float v;

            switch (part)
            {
                case 0:  v = 0.5f * r; break;
                case 1:  v = r * std::pow (1.0e-4f, (float) (i - length / 8) / (float) (length / 8)); break;
                case 2:  v = 0.0f; break;
                case 3:  v = (i % 2 == 0 ? 1.0f : -1.0f) * threshold; break;
                case 4:  v = 2.0f * threshold * r; break;
                case 5:  v = 0.3f * r; break;
                case 6:  v = (i / 50) % 2 == 0 ? 0.0f : 0.3f * r; break;
                default: v = 0.5f * threshold * r; break;
            }

            x[(size_t) i] = v;
        }

        if (channel == 0)
            x[(size_t) (length - 100)] = std::numeric_limits<float>::quiet_NaN();

        return x;
    }

    bool sameBits (const std::vector<float>& a, const std::vector<float>& b)
    {
        return a.size() == b.size() && std::memcmp (a.data(), b.data(), a.size() * sizeof (float)) == 0;
    }

    struct PlainLoopCase
    {
        const char* name;
        float threshold, attack, release, range;
        double hostRate;
        bool oversampled, linked;
    };

    void PrintTo (const PlainLoopCase& c, std::ostream* os)  { *os << c.name; }
}

class GateAgainstPlainLoop : public ::testing::TestWithParam<PlainLoopCase> {};

TEST_P (GateAgainstPlainLoop, EveryBlockSizeGivesThePlainLoopsBits)
{
    const auto& c = GetParam();
    const auto s = NoiseGate::convertSettings (c.threshold, c.attack, c.release, c.range);
    const float dt = NoiseGate::timeStep (c.hostRate, c.oversampled);
    const int length = 6 * (int) (c.hostRate / 10.0);

    for (int blockSize : { 1, 7, 512, 4096 })
    {
        auto left = gateSignal (0, length, s.threshold), right = gateSignal (1, length, s.threshold);
        auto expectedLeft = left, expectedRight = right;
        float gain = 0.0f, expectedGain = 0.0f;

        plainGate (expectedLeft.data(), c.linked ? expectedRight.data() : nullptr, length, s, dt, expectedGain);

        for (int start = 0; start < length; start += blockSize)
        {
            const int num = std::min (blockSize, length - start);
            NoiseGate::process (left.data() + start, c.linked ? right.data() + start : nullptr, num, s, dt, gain);
        }

        EXPECT_TRUE (sameBits (left, expectedLeft)) << "block size " << blockSize;
        EXPECT_TRUE (sameBits (right, expectedRight)) << "block size " << blockSize;
        EXPECT_EQ (std::memcmp (&gain, &expectedGain, sizeof (float)), 0) << "block size " << blockSize;
    }
}

INSTANTIATE_TEST_SUITE_P (Settings, GateAgainstPlainLoop, ::testing::Values (
    PlainLoopCase { "midLinked",          0.5f, 0.5f, 0.3f, 0.5f, 48000.0,  false, true },
    PlainLoopCase { "midSingle",          0.5f, 0.5f, 0.3f, 0.5f, 48000.0,  false, false },
    PlainLoopCase { "fastOversampled",    0.4f, 0.0f, 0.0f, 1.0f, 96000.0,  true,  true },
    PlainLoopCase { "slowLowRate",        0.7f, 1.0f, 1.0f, 0.0f, 8000.0,   false, true },
    PlainLoopCase { "shallowHighRate",    0.2f, 0.2f, 0.6f, 0.0f, 192000.0, false, false },
    PlainLoopCase { "thresholdAtZeroDb",  1.0f, 0.3f, 0.1f, 0.8f, 44100.0,  true,  true }),
    [] (const ::testing::TestParamInfo<PlainLoopCase>& p) { return std::string (p.param.name); });
