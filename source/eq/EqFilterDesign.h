#pragma once

#include "EqDesign.h"
#include "EqParameterTable.h"

#include <array>

/** The 25 parameter values (normalised, as stored) that one redesign reads. */
using EqParameterSnapshot = std::array<double, EqParameterTable::numParameters>;

/** Designs every section, the flags and the output factor for one sample rate. */
EqDesign designEqualiser (const EqParameterSnapshot& values, float sampleRate);
