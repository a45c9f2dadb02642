// The command line: what each accepted form sets, and a message for each mistake.

#include "RenderOptions.h"
#include "ToolTestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace
{
    struct GoodCase
    {
        const char* name;
        std::vector<const char*> args;
        std::function<void (const RenderOptions&)> check;
    };

    struct BadCase
    {
        const char* name;
        std::vector<const char*> args;
        const char* messagePart;
    };

    RenderOptionsParse parse (const std::vector<const char*>& args)
    {
        juce::StringArray a;

        for (auto* s : args)
            a.add (s);

        return parseRenderOptions (a, testing_support::catalogue());
    }

    void PrintTo (const GoodCase& c, std::ostream* os)    { *os << c.name; }
    void PrintTo (const BadCase& c, std::ostream* os)     { *os << c.name; }

    const juce::File cwd ("/work/somewhere");
}

class RenderOptionsGood : public ::testing::TestWithParam<GoodCase> {};

TEST_P (RenderOptionsGood, Accepted)
{
    const auto result = parse (GetParam().args);
    ASSERT_TRUE (result.ok()) << result.error;
    GetParam().check (result.options);
}

INSTANTIATE_TEST_SUITE_P (Table, RenderOptionsGood, ::testing::Values (
    GoodCase { "Nothing", {}, [] (const RenderOptions& o)
    {
        EXPECT_TRUE (o.inputPath.isEmpty());
        EXPECT_TRUE (o.rendersAudio());
        EXPECT_EQ (o.outputFile (cwd), cwd.getChildFile ("velora-demo.wav"));
        EXPECT_EQ (o.bitsPerSample(), 24);
        EXPECT_EQ (o.blockSize, 512);
        EXPECT_FALSE (o.seed.has_value());
        EXPECT_FALSE (o.program.has_value());
        EXPECT_FALSE (o.oversampling.has_value());
    } },
    GoodCase { "InputOnly", { "sub/take.flac" }, [] (const RenderOptions& o)
    {
        EXPECT_EQ (o.inputPath, "sub/take.flac");
        EXPECT_EQ (o.outputFile (cwd), cwd.getChildFile ("sub/take-velora.wav"));
    } },
    GoodCase { "OutputAndBits", { "in.wav", "-o", "out.WAV", "--bits", "16" }, [] (const RenderOptions& o)
    {
        EXPECT_EQ (o.outputFile (cwd), cwd.getChildFile ("out.WAV"));
        EXPECT_EQ (o.sampleFormat, RenderOptions::SampleFormat::int16);
    } },
    GoodCase { "InlineValues", { "--bits=32f", "--output=/tmp/x.wav", "--set=LowGain=0.25" }, [] (const RenderOptions& o)
    {
        EXPECT_EQ (o.sampleFormat, RenderOptions::SampleFormat::float32);
        EXPECT_EQ (o.outputFile (cwd), juce::File ("/tmp/x.wav"));
        ASSERT_EQ (o.settings.size(), 1u);
        EXPECT_EQ (o.settings[0].value.number, 0.25);
    } },
    GoodCase { "SettingsKeepTheirOrder", { "--set", "LowGain=+6dB", "--set", "compOn=on", "--set", "LowGain=0.75" },
               [] (const RenderOptions& o)
    {
        ASSERT_EQ (o.settings.size(), 3u);
        EXPECT_EQ (o.settings[0].id, "LowGain");
        EXPECT_EQ (o.settings[0].value.kind, ParameterValue::Kind::physical);
        EXPECT_EQ (o.settings[1].value.kind, ParameterValue::Kind::switchWord);
        EXPECT_EQ (o.settings[2].value.kind, ParameterValue::Kind::normalised);
    } },
    GoodCase { "PlotOnly", { "--plot-eq", "eq.png", "--set", "LowGain=+6dB" }, [] (const RenderOptions& o)
    {
        EXPECT_FALSE (o.rendersAudio());
        EXPECT_EQ (o.plotPath, "eq.png");
    } },
    GoodCase { "StateOnly", { "--state-out", "s.xml" }, [] (const RenderOptions& o) { EXPECT_FALSE (o.rendersAudio()); } },
    GoodCase { "PlotWithOutput", { "--plot-eq", "eq.png", "-o", "x.wav" }, [] (const RenderOptions& o) { EXPECT_TRUE (o.rendersAudio()); } },
    GoodCase { "PlotWithInput", { "--plot-eq", "eq.png", "in.aiff" }, [] (const RenderOptions& o) { EXPECT_TRUE (o.rendersAudio()); } },
    GoodCase { "StateInStillRenders", { "--state-in", "s.xml" }, [] (const RenderOptions& o) { EXPECT_TRUE (o.rendersAudio()); } },
    GoodCase { "Limits", { "--program", "19", "--block", "8192", "--seed", "-42", "--oversampling", "off" }, [] (const RenderOptions& o)
    {
        EXPECT_EQ (o.program, 19);
        EXPECT_EQ (o.blockSize, 8192);
        EXPECT_EQ (o.seed, -42);
        EXPECT_EQ (o.oversampling, false);
    } },
    GoodCase { "SmallestBlockAndProgram", { "--block", "1", "--program", "0" }, [] (const RenderOptions& o)
    {
        EXPECT_EQ (o.blockSize, 1);
        EXPECT_EQ (o.program, 0);
    } },
    GoodCase { "HelpWinsOverMistakes", { "--bogus", "--help" }, [] (const RenderOptions& o) { EXPECT_TRUE (o.showHelp); } }),
    [] (const ::testing::TestParamInfo<GoodCase>& c) { return std::string (c.param.name); });

class RenderOptionsBad : public ::testing::TestWithParam<BadCase> {};

TEST_P (RenderOptionsBad, RefusedWithAMessage)
{
    const auto result = parse (GetParam().args);
    ASSERT_FALSE (result.ok());
    EXPECT_TRUE (result.error.contains (GetParam().messagePart)) << result.error;
    EXPECT_FALSE (result.error.containsAnyOf ("\r\n")) << "one line";
}

INSTANTIATE_TEST_SUITE_P (Table, RenderOptionsBad, ::testing::Values (
    BadCase { "UnknownOption",     { "--bogus" },                         "unknown option '--bogus'" },
    BadCase { "MissingValue",      { "-o" },                              "needs a value" },
    BadCase { "MissingStateFile",  { "--state-in" },                      "needs a value" },
    BadCase { "EmptyPlotName",     { "--plot-eq=" },                      "needs a file name" },
    BadCase { "OutputNotWav",      { "-o", "x.flac" },                    "must be a .wav file" },
    BadCase { "PlotNotPng",        { "--plot-eq", "eq.jpg" },             "must be a .png file" },
    BadCase { "Bits",              { "--bits", "32" },                    "--bits takes 16, 24 or 32f" },
    BadCase { "OutputTwice",       { "-o", "a.wav", "--output", "b.wav" }, "given twice" },
    BadCase { "TwoInputs",         { "a.wav", "b.wav" },                  "more than one input" },
    BadCase { "SetWithoutValue",   { "--set", "LowGain" },                "--set takes ID=VALUE" },
    BadCase { "UnknownId",         { "--set", "Nope=1" },                 "unknown parameter 'Nope'" },
    BadCase { "IdsAreCaseSensitive", { "--set", "lowgain=0.5" },          "unknown parameter 'lowgain'" },
    BadCase { "MalformedNumber",   { "--set", "LowGain=abc" },            "malformed value 'abc'" },
    BadCase { "EmptyValue",        { "--set", "LowGain=" },               "malformed value" },
    BadCase { "UnknownUnit",       { "--set", "LowGain=6 parsecs" },      "unknown unit 'parsecs'" },
    BadCase { "WrongUnit",         { "--set", "LowGain=80Hz" },           "takes a level in dB" },
    BadCase { "TimeAsFrequency",   { "--set", "compAttack=2kHz" },        "takes a time" },
    BadCase { "QWithoutQUnit",     { "--set", "MidQ=2ms" },               "takes a Q" },
    BadCase { "RatioUnit",         { "--set", "compRatio=4dB" },          "takes a ratio" },
    BadCase { "UnitOnSwitch",      { "--set", "eqOn=6dB" },               "is a switch" },
    BadCase { "UnitOnEqSwitch",    { "--set", "LF_In=1Hz" },              "is a switch" },
    BadCase { "WordOnContinuous",  { "--set", "LowGain=on" },             "is not a switch" },
    BadCase { "UnitWithoutScale",  { "--set", "Outgain=100Hz" },          "takes a level in dB" },
    BadCase { "ProgramTooHigh",    { "--program", "20" },                 "0..19" },
    BadCase { "ProgramNegative",   { "--program", "-1" },                 "0..19" },
    BadCase { "ProgramNotNumber",  { "--program", "3x" },                 "0..19" },
    BadCase { "BlockZero",         { "--block", "0" },                    "1..8192" },
    BadCase { "BlockTooLarge",     { "--block", "8193" },                 "1..8192" },
    BadCase { "SeedNotNumber",     { "--seed", "abc" },                   "whole number" },
    BadCase { "SeedTooLarge",      { "--seed", "99999999999999999999" },  "whole number" },
    BadCase { "Oversampling",      { "--oversampling", "yes" },           "on or off" }),
    [] (const ::testing::TestParamInfo<BadCase>& c) { return std::string (c.param.name); });
