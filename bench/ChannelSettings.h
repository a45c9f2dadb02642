#pragma once

#include <juce_core/juce_core.h>

class VeloraAudioProcessor;

/** The channel configurations the benchmarks run, set through the host parameters as a
    host would. */
namespace ChannelSettings
{
    /** Every stage on with its gains away from 0 dB: input and output gain, gate, a
        compressor that works on every block of -12 dBFS programme, all equaliser bands
        and both filters. */
    void applyWholeChannel (VeloraAudioProcessor& processor, bool oversampled);

    /** Gate, compressor and equaliser off, no oversampling: what is left is the gain,
        bias and metering work around the stages. */
    void applyStagesOff (VeloraAudioProcessor& processor);

    /** The whole-channel settings, one line each, for the summary. */
    juce::StringArray describeWholeChannel();
}
