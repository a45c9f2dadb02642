// The value-label texts, their single-precision steps, and the inverse the tools use.

#include "common/ParameterUnits.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace
{
    using ParameterUnits::Normalised;

    struct LabelCase
    {
        const char* id;
        double value;
        double sampleRate;
        const char* text;
    };

    void PrintTo (const LabelCase& c, std::ostream* os)
    {
        *os << c.id << " at " << c.value << " (" << c.sampleRate << " Hz) -> " << c.text;
    }
}

class ValueLabelText : public ::testing::TestWithParam<LabelCase> {};

TEST_P (ValueLabelText, MatchesTheLabel)
{
    const auto& c = GetParam();
    const auto text = ParameterUnits::valueLabelText (c.id, c.value, c.sampleRate);

    ASSERT_TRUE (text.has_value());
    EXPECT_EQ (*text, juce::String (c.text));
}

INSTANTIATE_TEST_SUITE_P (Examples, ValueLabelText, ::testing::Values (
    LabelCase { "HighpassFreq", 0.0,  44100.0, "30.0 Hz" },
    LabelCase { "HighpassFreq", 1.0,  44100.0, "300.0 Hz" },
    LabelCase { "LowpassFreq",  1.0,  44100.0, "25.0 kHz" },
    LabelCase { "compRatio",    0.0,  44100.0, "1.0:1" },
    LabelCase { "compRatio",    1.0,  44100.0, "10.0:1" },
    LabelCase { "compAttack",   0.0,  44100.0, "0.02 ms" },
    LabelCase { "compAttack",   1.0,  44100.0, "180.95 ms" },
    LabelCase { "compRelease",  0.0,  44100.0, "2.27 ms" },
    LabelCase { "compRelease",  1.0,  44100.0, "1801.20 ms" },
    LabelCase { "outputGain",   0.75, 44100.0, "-0.0" },
    LabelCase { "outputGain",   1.0,  44100.0, "12.0" },
    LabelCase { "outputGain",   0.0,  44100.0, "-100.0" },
    LabelCase { "inputGain",    0.25, 44100.0, "-50.0 dB" },
    LabelCase { "inputGain",    1.0,  44100.0, "24.0 dB" },
    LabelCase { "inputGain",    0.5,  44100.0, "0.0 dB" },
    LabelCase { "HighMidQ",     0.0,  44100.0, "0.7" },
    LabelCase { "MidQ",         1.0,  44100.0, "5.0" },
    LabelCase { "LowMidQ",      0.3023, 44100.0, "2.0" },
    LabelCase { "LowFreq",      0.1852, 44100.0, "80.0 Hz" },
    LabelCase { "LowMidFreq",   0.5,  44100.0, "225.0 Hz" },
    LabelCase { "MidFreq",      0.5,  44100.0, "1415.0 Hz" },
    LabelCase { "HighMidFreq",  0.5,  44100.0, "8.9 kHz" },
    LabelCase { "HighFreq",     0.5,  44100.0, "13.8 kHz" },
    LabelCase { "LowGain",      0.75, 44100.0, "6.0 dB" },
    LabelCase { "HighGain",     0.0,  44100.0, "-12.0 dB" },
    LabelCase { "gateThreshold", 0.0, 44100.0, "-100.0 dB" },
    LabelCase { "gateRange",    1.0,  44100.0, "50.0 dB" },
    LabelCase { "gateAttack",   1.0,  44100.0, "50.0 ms" },
    LabelCase { "gateRelease",  1.0,  44100.0, "1000.0 ms" },
    LabelCase { "compThreshold", 0.6, 44100.0, "-16.0 dB" },
    LabelCase { "compAttack",   0.2,  96000.0, "0.06 ms" }));

// Values where the label's single-precision steps give another text than the same
// formula in double throughout, and the float comparisons of the gain labels.
INSTANTIATE_TEST_SUITE_P (Precision, ValueLabelText, ::testing::Values (
    LabelCase { "compRatio",    (double) 0.976431f, 44100.0, "8.2:1" },
    LabelCase { "compRatio",    (double) 0.990991f, 44100.0, "9.2:1" },
    LabelCase { "compAttack",   (double) 0.398358f, 44100.0, "0.82 ms" },
    LabelCase { "compAttack",   (double) 0.441904f, 44100.0, "1.21 ms" },
    LabelCase { "compRelease",  (double) 0.059556f, 44100.0, "3.37 ms" },
    LabelCase { "compRelease",  (double) 0.078300f, 44100.0, "3.83 ms" },
    LabelCase { "inputGain",    0.49999999999, 44100.0, "0.0 dB" },     // 0.5 once in float
    LabelCase { "outputGain",   0.75000000001, 44100.0, "-0.0" }));     // 0.75 once in float

TEST (ValueLabelText, NoTextWithoutALabelOrASampleRate)
{
    EXPECT_FALSE (ParameterUnits::valueLabelText ("compAttack", 0.5, 0.0).has_value());
    EXPECT_FALSE (ParameterUnits::valueLabelText ("compRelease", 0.5, 0.0).has_value());
    EXPECT_FALSE (ParameterUnits::valueLabelText ("Outgain", 0.5, 44100.0).has_value());
    EXPECT_FALSE (ParameterUnits::valueLabelText ("eqOn", 1.0, 44100.0).has_value());
    EXPECT_FALSE (ParameterUnits::valueLabelText ("LF_In", 1.0, 44100.0).has_value());
    EXPECT_FALSE (ParameterUnits::valueLabelText ("lowgain", 0.5, 44100.0).has_value());

    EXPECT_TRUE (ParameterUnits::valueLabelText ("LowGain", 0.5, 0.0).has_value());
}

//==============================================================================
/** Every label, over a grid of values: its text read back as a number, inverted and
    labelled again gives the same text, also after the value passes through a float. */
struct RoundTripCase
{
    const char* id;
    double sampleRate;
};

void PrintTo (const RoundTripCase& c, std::ostream* os)   { *os << c.id << " at " << c.sampleRate << " Hz"; }

class ValueLabelRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P (ValueLabelRoundTrip, TextToValueToText)
{
    const auto& c = GetParam();

    for (int i = 0; i <= 400; ++i)
    {
        const double v = (double) (float) (i / 400.0);
        const auto text = *ParameterUnits::valueLabelText (c.id, v, c.sampleRate);
        const double number = std::strtod (text.toRawUTF8(), nullptr);

        const auto inverse = ParameterUnits::normalisedValue (c.id, number, c.sampleRate);
        ASSERT_EQ (inverse.status, Normalised::Status::ok) << text;
        ASSERT_GE (inverse.value, 0.0);
        ASSERT_LE (inverse.value, 1.0);

        EXPECT_EQ (*ParameterUnits::valueLabelText (c.id, (double) (float) inverse.value, c.sampleRate), text) << "v = " << v;
    }
}

INSTANTIATE_TEST_SUITE_P (AllLabels, ValueLabelRoundTrip, ::testing::Values (
    RoundTripCase { "HighpassFreq", 44100.0 }, RoundTripCase { "LowpassFreq", 44100.0 },
    RoundTripCase { "HighGain", 44100.0 },     RoundTripCase { "HighFreq", 44100.0 },
    RoundTripCase { "HighMidGain", 44100.0 },  RoundTripCase { "HighMidFreq", 44100.0 },
    RoundTripCase { "HighMidQ", 44100.0 },     RoundTripCase { "MidGain", 44100.0 },
    RoundTripCase { "MidFreq", 44100.0 },      RoundTripCase { "MidQ", 44100.0 },
    RoundTripCase { "LowMidGain", 44100.0 },   RoundTripCase { "LowMidFreq", 44100.0 },
    RoundTripCase { "LowMidQ", 44100.0 },      RoundTripCase { "LowGain", 44100.0 },
    RoundTripCase { "LowFreq", 44100.0 },      RoundTripCase { "gateThreshold", 44100.0 },
    RoundTripCase { "gateRange", 44100.0 },    RoundTripCase { "gateAttack", 44100.0 },
    RoundTripCase { "gateRelease", 44100.0 },  RoundTripCase { "compThreshold", 44100.0 },
    RoundTripCase { "compRatio", 44100.0 },    RoundTripCase { "inputGain", 44100.0 },
    RoundTripCase { "outputGain", 44100.0 },
    RoundTripCase { "compAttack", 8000.0 },    RoundTripCase { "compAttack", 44100.0 },
    RoundTripCase { "compAttack", 192000.0 },  RoundTripCase { "compRelease", 8000.0 },
    RoundTripCase { "compRelease", 44100.0 },  RoundTripCase { "compRelease", 192000.0 }),
    [] (const ::testing::TestParamInfo<RoundTripCase>& p)
    {
        return std::string (p.param.id) + "_" + std::to_string ((int) p.param.sampleRate);
    });

//==============================================================================
struct InverseCase
{
    const char* id;
    double physical;
    double sampleRate;
    Normalised::Status status;
    double value;   // expected normalised value when ok
};

void PrintTo (const InverseCase& c, std::ostream* os)
{
    *os << c.id << " = " << c.physical << " at " << c.sampleRate << " Hz";
}

class PhysicalToNormalised : public ::testing::TestWithParam<InverseCase> {};

TEST_P (PhysicalToNormalised, ValueOrRefusal)
{
    const auto& c = GetParam();
    const auto result = ParameterUnits::normalisedValue (c.id, c.physical, c.sampleRate);

    ASSERT_EQ (result.status, c.status);

    if (c.status == Normalised::Status::ok)
    {
        EXPECT_NEAR (result.value, c.value, 1e-9);
    }
}

constexpr auto ok = Normalised::Status::ok;
constexpr auto outOfRange = Normalised::Status::outOfRange;

INSTANTIATE_TEST_SUITE_P (Table, PhysicalToNormalised, ::testing::Values (
    InverseCase { "LowGain",      6.0,     44100.0, ok, 0.75 },
    InverseCase { "LowGain",      -12.0,   44100.0, ok, 0.0 },
    InverseCase { "LowGain",      12.04,   44100.0, ok, 1.0 },     // still shows as 12.0 dB
    InverseCase { "LowGain",      12.1,    44100.0, outOfRange, 0.0 },
    InverseCase { "HighpassFreq", 80.0,    44100.0, ok, 50.0 / 270.0 },
    InverseCase { "HighpassFreq", 29.9,    44100.0, outOfRange, 0.0 },
    InverseCase { "HighpassFreq", 300.1,   44100.0, outOfRange, 0.0 },
    InverseCase { "LowpassFreq",  13.75,   44100.0, ok, 0.5 },
    InverseCase { "compRatio",    4.0,     44100.0, ok, 0.75 / (double) 0.9f },
    InverseCase { "compRatio",    0.5,     44100.0, outOfRange, 0.0 },
    InverseCase { "compRatio",    10.5,    44100.0, outOfRange, 0.0 },
    InverseCase { "inputGain",    -50.0,   44100.0, ok, 0.25 },
    InverseCase { "inputGain",    12.0,    44100.0, ok, 0.75 },
    InverseCase { "inputGain",    -100.2,  44100.0, outOfRange, 0.0 },
    InverseCase { "outputGain",   0.0,     44100.0, ok, 0.75 },
    InverseCase { "outputGain",   6.0,     44100.0, ok, 0.875 },
    InverseCase { "outputGain",   -50.0,   44100.0, ok, 50.0 / 133.333 },
    InverseCase { "outputGain",   12.5,    44100.0, outOfRange, 0.0 },
    InverseCase { "Outgain",      -6.0,    44100.0, ok, 0.25 },
    InverseCase { "compAttack",   200.0,   44100.0, outOfRange, 0.0 },
    InverseCase { "compAttack",   -1.0,    44100.0, outOfRange, 0.0 },
    InverseCase { "compAttack",   10.0,    0.0,     Normalised::Status::noSampleRate, 0.0 },
    InverseCase { "LowFreq",      std::nan (""), 44100.0, outOfRange, 0.0 },
    InverseCase { "eqOn",         1.0,     44100.0, Normalised::Status::noScale, 0.0 },
    InverseCase { "lowgain",      1.0,     44100.0, Normalised::Status::noScale, 0.0 }));

TEST (PhysicalToNormalised, CompressorTimesInvertTheirLabels)
{
    // Inside the range the inverse lands on the value whose label number is the input.
    for (double rate : { 8000.0, 48000.0, 192000.0 })
        for (double ms : { 0.5, 3.0, 25.0, 90.0 })
            for (const char* id : { "compAttack", "compRelease" })
            {
                const auto inverse = ParameterUnits::normalisedValue (id, ms, rate);

                if (inverse.status == Normalised::Status::outOfRange)
                    continue;

                ASSERT_EQ (inverse.status, Normalised::Status::ok);
                EXPECT_NEAR (*ParameterUnits::physicalValue (id, inverse.value, rate), ms, ms * 1e-5) << id << " " << rate;
            }

    // The range follows the rate: 150 ms of attack fits at 44.1 kHz, not at 48 kHz.
    EXPECT_EQ (ParameterUnits::normalisedValue ("compAttack", 170.0, 44100.0).status, ok);
    EXPECT_EQ (ParameterUnits::normalisedValue ("compAttack", 170.0, 48000.0).status, outOfRange);
}
