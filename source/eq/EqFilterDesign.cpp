#include "EqFilterDesign.h"

#include <cmath>

namespace
{
    using P = EqParameterTable::Index;

    // A switch counts as on only at exactly 1: 0.999 is off.
    bool isOn (const EqParameterSnapshot& v, P index) noexcept
    {
        return v[(size_t) index] == 1.0;
    }

    void designBands (const EqParameterSnapshot&, float, EqDesign& design)
    {
        // The band designs (high-pass, shelves, bells, peaks, low-pass) arrive with the
        // filter-design work; until then every section passes the signal unchanged.
        design.sections.fill (BiquadCoefficients::identity());
    }
}

EqDesign designEqualiser (const EqParameterSnapshot& values, float sampleRate)
{
    EqDesign design;

    designBands (values, sampleRate, design);

    design.allpassCoefficient = -0.7995827f;
    design.outgainFactor = (float) std::pow (10.0, 1.2 * values[P::outgain] - 0.6);

    design.bypassed       = isOn (values, P::bypass);
    design.lmfEnabled     = isOn (values, P::lmfIn);
    design.mfEnabled      = isOn (values, P::mfIn);
    design.hmfEnabled     = isOn (values, P::hmfIn);
    design.filtersEnabled = isOn (values, P::lphpIn);
    design.lfEnabled      = isOn (values, P::lfIn);
    design.hfEnabled      = isOn (values, P::hfIn);
    design.lowCutEnabled  = isOn (values, P::lowcutIn);
    design.highCutEnabled = isOn (values, P::highcutIn);

    return design;
}
