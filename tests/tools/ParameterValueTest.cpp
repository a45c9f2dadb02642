// --set values: every form resolved to the normalised value it stands for, or refused.

#include "ParameterValue.h"
#include "ToolTestSupport.h"

#include <gtest/gtest.h>

namespace
{
    struct ValueCase
    {
        const char* id;
        const char* text;
        double sampleRate;
        double expected;            // when error is null
        const char* error;          // a part of the message, or null
    };

    void PrintTo (const ValueCase& c, std::ostream* os)
    {
        *os << c.id << "=" << c.text << " at " << c.sampleRate << " Hz";
    }
}

class ParameterValueResolution : public ::testing::TestWithParam<ValueCase> {};

TEST_P (ParameterValueResolution, NormalisedValueOrError)
{
    const auto& c = GetParam();
    const auto* parameter = testing_support::catalogue().find (c.id);
    ASSERT_NE (parameter, nullptr);

    ParameterValue value;
    float normalised = -1.0f;
    auto result = ParameterValue::parse (c.text, value);

    if (result.wasOk())
        result = resolveParameterValue (*parameter, value, c.sampleRate, normalised);

    if (c.error == nullptr)
    {
        ASSERT_TRUE (result.wasOk()) << result.getErrorMessage();
        EXPECT_NEAR (normalised, c.expected, 1e-6);
    }
    else
    {
        ASSERT_TRUE (result.failed());
        EXPECT_TRUE (result.getErrorMessage().contains (c.error)) << result.getErrorMessage();
    }
}

INSTANTIATE_TEST_SUITE_P (Table, ParameterValueResolution, ::testing::Values (
    ValueCase { "LowGain",      "+6dB",    48000.0, 0.75, nullptr },
    ValueCase { "LowGain",      "-6 dB",   48000.0, 0.25, nullptr },
    ValueCase { "LowGain",      "0.75",    48000.0, 0.75, nullptr },
    ValueCase { "LowGain",      "7.5e-1",  48000.0, 0.75, nullptr },
    ValueCase { "LowGain",      "1",       48000.0, 1.0,  nullptr },
    ValueCase { "LowGain",      "1.5",     48000.0, 0.0,  "within 0..1" },
    ValueCase { "LowGain",      "-0.1",    48000.0, 0.0,  "within 0..1" },
    ValueCase { "LowGain",      "+15dB",   48000.0, 0.0,  "out of range, LowGain spans -12.0 dB to 12.0 dB" },
    ValueCase { "HighpassFreq", "80Hz",    48000.0, 50.0 / 270.0, nullptr },
    ValueCase { "HighpassFreq", "0.08kHz", 48000.0, 50.0 / 270.0, nullptr },
    ValueCase { "HighpassFreq", "20Hz",    48000.0, 0.0,  "30.0 Hz to 300.0 Hz" },
    ValueCase { "HighMidFreq",  "2.5kHz",  48000.0, 0.7 / 14.2, nullptr },
    ValueCase { "HighMidFreq",  "2500hz",  48000.0, 0.7 / 14.2, nullptr },
    ValueCase { "LowpassFreq",  "25kHz",   48000.0, 1.0,  nullptr },
    ValueCase { "MidFreq",      "1.415kHz", 48000.0, 0.5, nullptr },
    ValueCase { "compRatio",    "4:1",     48000.0, 0.75 / (double) 0.9f, nullptr },
    ValueCase { "compRatio",    "1:1",     48000.0, 0.0,  nullptr },
    ValueCase { "compRatio",    "11:1",    48000.0, 0.0,  "1.0:1 to 10.0:1" },
    ValueCase { "gateRelease",  "0.5s",    48000.0, 499.0 / 999.0, nullptr },
    ValueCase { "gateAttack",   "25.5ms",  48000.0, 0.5,  nullptr },
    ValueCase { "MidQ",         "2.0Q",    48000.0, 1.3 / 4.3, nullptr },
    ValueCase { "HighMidQ",     "5q",      48000.0, 1.0,  nullptr },
    ValueCase { "outputGain",   "-3dB",    48000.0, 97.0 / 133.333, nullptr },
    ValueCase { "outputGain",   "+12dB",   48000.0, 1.0,  nullptr },
    ValueCase { "inputGain",    "+24dB",   48000.0, 1.0,  nullptr },
    ValueCase { "Outgain",      "+6dB",    48000.0, 0.75, nullptr },
    ValueCase { "compAttack",   "170ms",   48000.0, 0.0,  "0.02 ms to 166.25 ms at 48000 Hz" },
    ValueCase { "compOn",       "on",      48000.0, 1.0,  nullptr },
    ValueCase { "compOn",       "FALSE",   48000.0, 0.0,  nullptr },
    ValueCase { "compOn",       "1",       48000.0, 1.0,  nullptr },
    ValueCase { "compOn",       "0.5",     48000.0, 0.0,  "a switch is 0 or 1" },
    ValueCase { "LF_In",        "off",     48000.0, 0.0,  nullptr },
    ValueCase { "Bypass",       "true",    48000.0, 1.0,  nullptr }));

TEST (ParameterValueResolution, CompressorTimeFollowsTheSampleRate)
{
    const auto* attack = testing_support::catalogue().find ("compAttack");
    ParameterValue value;
    ASSERT_TRUE (ParameterValue::parse ("150ms", value).wasOk());

    float at44 = -1.0f, at8 = -1.0f;
    ASSERT_TRUE (resolveParameterValue (*attack, value, 44100.0, at44).wasOk());
    ASSERT_TRUE (resolveParameterValue (*attack, value, 8000.0, at8).wasOk());

    // The same time is a shorter knob travel at a lower rate.
    EXPECT_LT (at8, at44);
    EXPECT_NEAR (*ParameterUnits::physicalValue ("compAttack", (double) at44, 44100.0), 150.0, 0.01);
    EXPECT_NEAR (*ParameterUnits::physicalValue ("compAttack", (double) at8, 8000.0), 150.0, 0.01);
}
