#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

/** Three seconds of stereo material at demoSampleRate: a slow sweep on the left, chords
    with a little noise on the right. The same every run. */
namespace DemoSignal
{
    inline constexpr double demoSampleRate = 48000.0;

    juce::AudioBuffer<float> make();
}
