#include "EqResponse.h"

#include <juce_core/juce_core.h>

#include <cmath>
#include <limits>

namespace EqResponse
{

double sectionDecibels (const BiquadCoefficients& s, double frequency, double sampleRate)
{
    // |B(e^jw)|^2 / |A(e^jw)|^2 with z^-1 = e^-jw, a0 = 1.
    const double w = 2.0 * juce::MathConstants<double>::pi * frequency / sampleRate;
    const double c1 = std::cos (w), c2 = std::cos (2.0 * w);
    const double s1 = std::sin (w), s2 = std::sin (2.0 * w);

    const double nr = s.b0 + s.b1 * c1 + s.b2 * c2;
    const double ni = s.b1 * s1 + s.b2 * s2;
    const double dr = 1.0 + s.a1 * c1 + s.a2 * c2;
    const double di = s.a1 * s1 + s.a2 * s2;

    const double numerator = nr * nr + ni * ni;
    const double denominator = dr * dr + di * di;

    if (numerator == 0.0)
        return -std::numeric_limits<double>::infinity();

    return 10.0 * std::log10 (numerator / denominator);
}

bool isActive (const EqDesign& d, EqDesign::Section section) noexcept
{
    if (d.bypassed)
        return false;

    switch (section)
    {
        case EqDesign::highPass:    return d.filtersEnabled && d.lowCutEnabled;
        case EqDesign::lfShelf:
        case EqDesign::lfBell:      return d.lfEnabled;
        case EqDesign::lowPass:     return d.filtersEnabled && d.highCutEnabled;
        case EqDesign::hfShelf:
        case EqDesign::hfBell:      return d.hfEnabled;
        case EqDesign::lmfPeak:     return d.lmfEnabled;
        case EqDesign::mfPeak:      return d.mfEnabled;
        case EqDesign::hmfPeak:     return d.hmfEnabled;
        case EqDesign::numSections: break;
    }

    return false;
}

std::vector<EqDesign::Section> activeSections (const EqDesign& design)
{
    std::vector<EqDesign::Section> result;

    for (int i = 0; i < EqDesign::numSections; ++i)
        if (isActive (design, (EqDesign::Section) i))
            result.push_back ((EqDesign::Section) i);

    return result;
}

double totalDecibels (const EqDesign& design, double frequency, double sampleRate)
{
    double total = 20.0 * std::log10 ((double) std::abs (design.outgainFactor));

    for (auto section : activeSections (design))
        total += sectionDecibels (design.sections[(size_t) section], frequency, sampleRate);

    return total;
}

} // namespace EqResponse
