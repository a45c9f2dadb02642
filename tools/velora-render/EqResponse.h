#pragma once

#include "eq/EqDesign.h"

#include <vector>

/** The magnitude response of a designed equaliser, from its coefficients alone. */
namespace EqResponse
{
    /** |H| of one normalised second-order section at a frequency, in dB (-inf at a zero). */
    double sectionDecibels (const BiquadCoefficients& section, double frequency, double sampleRate);

    /** Whether the audio path runs this section under the design's switches. */
    bool isActive (const EqDesign& design, EqDesign::Section section) noexcept;

    /** The sections the audio path runs, in its order (none when bypassed). */
    std::vector<EqDesign::Section> activeSections (const EqDesign& design);

    /** The whole equaliser: the output factor and every active section, cascaded. The
        colouring and the phase allpass leave the magnitude alone. */
    double totalDecibels (const EqDesign& design, double frequency, double sampleRate);
}
