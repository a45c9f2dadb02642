#pragma once

#include <juce_core/juce_core.h>

#include <atomic>

namespace compressor
{

/** One of the compressor's ten programs. setParameter may edit it from any thread. */
struct CompressorProgram
{
    std::atomic<float> threshold { 0.0f }, ratio { 0.0f }, level { 0.0f }, attack { 0.0f },
                       release { 0.0f }, mix { 0.0f }, filterType { 0.0f }, freq { 0.0f },
                       width { 0.0f }, filteredSolo { 0.0f }, softKnee { 0.0f }, sideChain { 0.0f };
    juce::String name;
};

} // namespace compressor
