// The plot's response function against closed forms and the audio path's switch rules.

#include "EqResponse.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
    constexpr double pi = 3.141592653589793;

    /** Cookbook peaking filter: exactly gainDb at f0, unity at DC and Nyquist. */
    BiquadCoefficients cookbookPeak (double f0, double gainDb, double q, double sampleRate)
    {
        const double a = std::pow (10.0, gainDb / 40.0);
        const double w = 2.0 * pi * f0 / sampleRate;
        const double alpha = std::sin (w) / (2.0 * q);
        const double a0 = 1.0 + alpha / a;
        return { (1.0 + alpha * a) / a0, -2.0 * std::cos (w) / a0, (1.0 - alpha * a) / a0,
                 -2.0 * std::cos (w) / a0, (1.0 - alpha / a) / a0 };
    }

    BiquadCoefficients gain (double decibels)
    {
        return { std::pow (10.0, decibels / 20.0), 0.0, 0.0, 0.0, 0.0 };
    }

    EqDesign allOn()
    {
        EqDesign d;
        d.filtersEnabled = d.lowCutEnabled = d.highCutEnabled = true;
        d.lfEnabled = d.hfEnabled = d.lmfEnabled = d.mfEnabled = d.hmfEnabled = true;
        return d;
    }
}

TEST (EqResponse, SectionMatchesClosedForms)
{
    const double fs = 48000.0;
    const BiquadCoefficients average { 0.5, 0.5, 0.0, 0.0, 0.0 };  // |H| = |cos (pi f / fs)|
    const BiquadCoefficients onePole { 0.5, 0.0, 0.0, -0.5, 0.0 };  // |H|^2 = 0.25 / (1.25 - cos w)

    for (double f : { 20.0, 100.0, 1000.0, 7000.0, 15000.0, 23000.0 })
    {
        const double w = 2.0 * pi * f / fs;
        EXPECT_NEAR (EqResponse::sectionDecibels (average, f, fs), 20.0 * std::log10 (std::cos (pi * f / fs)), 1e-9) << f;
        EXPECT_NEAR (EqResponse::sectionDecibels (onePole, f, fs), 10.0 * std::log10 (0.25 / (1.25 - std::cos (w))), 1e-9) << f;
    }

    const auto peak = cookbookPeak (1000.0, 12.0, 2.0, fs);
    EXPECT_NEAR (EqResponse::sectionDecibels (peak, 1000.0, fs), 12.0, 1e-9);
    EXPECT_NEAR (EqResponse::sectionDecibels (peak, 1e-3, fs), 0.0, 1e-6);
    EXPECT_NEAR (EqResponse::sectionDecibels (peak, fs / 2.0, fs), 0.0, 1e-9);

    EXPECT_EQ (EqResponse::sectionDecibels ({}, 1000.0, fs), -std::numeric_limits<double>::infinity());
}

TEST (EqResponse, TotalCascadesTheSectionsAndTheOutputFactor)
{
    const double fs = 96000.0;
    auto d = allOn();
    d.sections.fill (BiquadCoefficients::identity());
    d.sections[EqDesign::lmfPeak] = cookbookPeak (300.0, 6.0, 1.0, fs);
    d.sections[EqDesign::hmfPeak] = cookbookPeak (5000.0, -9.0, 3.0, fs);
    d.outgainFactor = 2.0f;

    for (double f : { 30.0, 300.0, 2000.0, 5000.0, 19000.0 })
        EXPECT_NEAR (EqResponse::totalDecibels (d, f, fs),
                     20.0 * std::log10 (2.0) + EqResponse::sectionDecibels (d.sections[EqDesign::lmfPeak], f, fs)
                                             + EqResponse::sectionDecibels (d.sections[EqDesign::hmfPeak], f, fs), 1e-9) << f;
}

//==============================================================================
// Section k gets a flat gain of 2^k dB, so the total names exactly the set that runs.
struct SwitchCase
{
    const char* name;
    void (*change) (EqDesign&);
    int expectedMask;
};

void PrintTo (const SwitchCase& c, std::ostream* os)  { *os << c.name; }

class EqResponseSwitches : public ::testing::TestWithParam<SwitchCase> {};

TEST_P (EqResponseSwitches, OnlyTheSectionsTheAudioPathRunsCount)
{
    auto d = allOn();

    for (int k = 0; k < EqDesign::numSections; ++k)
        d.sections[(size_t) k] = gain (std::pow (2.0, k));

    d.outgainFactor = 1.0f;
    GetParam().change (d);

    EXPECT_NEAR (EqResponse::totalDecibels (d, 1000.0, 48000.0), (double) GetParam().expectedMask, 1e-6);
}

constexpr int all = (1 << EqDesign::numSections) - 1;
constexpr int bit (EqDesign::Section s) { return 1 << s; }

INSTANTIATE_TEST_SUITE_P (Flags, EqResponseSwitches, ::testing::Values (
    SwitchCase { "AllOn",            [] (EqDesign&) {},                          all },
    SwitchCase { "Bypassed",         [] (EqDesign& d) { d.bypassed = true; },    0 },
    SwitchCase { "FiltersMasterOff", [] (EqDesign& d) { d.filtersEnabled = false; }, all - bit (EqDesign::highPass) - bit (EqDesign::lowPass) },
    SwitchCase { "LowCutOff",        [] (EqDesign& d) { d.lowCutEnabled = false; },  all - bit (EqDesign::highPass) },
    SwitchCase { "HighCutOff",       [] (EqDesign& d) { d.highCutEnabled = false; }, all - bit (EqDesign::lowPass) },
    SwitchCase { "LfOff",            [] (EqDesign& d) { d.lfEnabled = false; },  all - bit (EqDesign::lfShelf) - bit (EqDesign::lfBell) },
    SwitchCase { "HfOff",            [] (EqDesign& d) { d.hfEnabled = false; },  all - bit (EqDesign::hfShelf) - bit (EqDesign::hfBell) },
    SwitchCase { "MidsOff",          [] (EqDesign& d) { d.lmfEnabled = d.mfEnabled = d.hmfEnabled = false; },
                 all - bit (EqDesign::lmfPeak) - bit (EqDesign::mfPeak) - bit (EqDesign::hmfPeak) }),
    [] (const ::testing::TestParamInfo<SwitchCase>& c) { return std::string (c.param.name); });

TEST (EqResponse, BypassKeepsTheOutputFactor)
{
    auto d = allOn();
    d.sections.fill (gain (3.0));
    d.bypassed = true;
    d.outgainFactor = 0.5f;

    EXPECT_NEAR (EqResponse::totalDecibels (d, 1000.0, 48000.0), 20.0 * std::log10 (0.5), 1e-9);
}
