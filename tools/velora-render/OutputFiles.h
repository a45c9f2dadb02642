#pragma once

#include <juce_core/juce_core.h>

#include <functional>
#include <vector>

/** The files one run writes, all or nothing: each goes into a temporary sibling first
    and is renamed over its target only when every one of them was written. */
class OutputFiles final
{
public:
    using Writer = std::function<juce::Result (const juce::File& temporaryFile)>;

    void add (const juce::File& target, Writer writer);

    /** Before any work: every target's folder exists and is writable, no target is a
        folder, and no two outputs share a file. */
    juce::Result checkTargets() const;

    juce::Result commit();

private:
    struct Pending
    {
        juce::File target;
        Writer writer;
    };

    std::vector<Pending> pending;
};
