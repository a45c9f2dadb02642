#pragma once

#include <juce_core/juce_core.h>

/** A stored program: a name and its values by identifier, in insertion order. */
struct ProgramSlot
{
    juce::String name;
    juce::NamedValueSet values;
};
