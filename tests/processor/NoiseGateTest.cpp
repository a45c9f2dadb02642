#include "processor/NoiseGate.h"

#include <gtest/gtest.h>

#include <cmath>
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
