#pragma once

#include "ParameterCatalogue.h"
#include "processor/VeloraAudioProcessor.h"

namespace testing_support
{
    /** The catalogue of a default processor, built once. */
    inline const ParameterCatalogue& catalogue()
    {
        static VeloraAudioProcessor processor;
        static const ParameterCatalogue c (processor);
        return c;
    }
}
