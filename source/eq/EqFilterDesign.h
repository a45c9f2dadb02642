#pragma once

#include "EqDesign.h"
#include "EqParameterTable.h"

#include <array>

/** The 25 parameter values (normalised, as stored) that one redesign reads. */
using EqParameterSnapshot = std::array<double, EqParameterTable::numParameters>;

/** Whether design frequencies are kept below the Nyquist frequency. At 44.1 kHz and above
    no design frequency comes near it and both give the same bits; below that only the
    limited design is stable. `off` exists to compare against the plain formulas. */
enum class NyquistGuard
{
    on,
    off
};

/** Designs every section, the flags and the output factor for one sample rate. */
EqDesign designEqualiser (const EqParameterSnapshot& values, float sampleRate,
                          NyquistGuard guard = NyquistGuard::on);

/** Peaking section with prescribed Nyquist gain (Orfanidis), band edges from the bandwidth
    that q implies, the bandwidth gain at half the dB gain; a cut is the exact inverse of the
    equal boost. omega is the centre in radians per sample. Only meaningful for
    |gainDb| > 0.01: at 0 dB its formulas divide zero by zero. */
BiquadCoefficients designPeakFilter (float gainDb, float omega, float q);

/** The largest frequency a section of this kind is designed at for a sample rate: just
    below Nyquist for the low-pass, 0.45 of the rate for the others. */
double maxLowPassFrequency (float sampleRate) noexcept;
double maxDesignFrequency (float sampleRate) noexcept;
