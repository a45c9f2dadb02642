#pragma once

#include "ProgrammeMaterial.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <array>
#include <memory>

/** The chain a user would otherwise build from the free LV2 suite: gate, compressor and
    16-band parametric equaliser, all stereo, hosted through JUCE's LV2 host in this
    process and set up through the hosted parameters.

    Loading scans the LV2 folders and instantiates three plug-ins, which is slow next to
    one block, so the chain is made once and shared by every run of the peer benchmarks.
*/
class PeerChain final
{
public:
    enum Stage { gate, compressor, equaliser, numStages };

    static constexpr double sampleRate = 48000.0;
    static constexpr int blockSize = 512;

    /** Loads, configures and checks the chain on first use. Returns null, with the reason
        in error, when a plug-in is missing or does not process as configured. */
    static PeerChain* getShared (juce::String& error);

    /** True when the plug-ins loaded but a setting or a check failed: the comparison
        would then be meaningless, not merely unavailable. */
    static bool failedChecks() noexcept;

    /** Frees the shared chain; call before JUCE shuts down. */
    static void releaseShared();

    /** Runs the block through the three stages in order, in place. */
    void process (juce::AudioBuffer<float>& block, juce::MidiBuffer& midi);

    /** Runs the block through one stage alone. */
    void process (Stage stage, juce::AudioBuffer<float>& block, juce::MidiBuffer& midi);

    /** What was set, read back from the hosted parameters, and what the checks measured. */
    const juce::StringArray& getReport() const noexcept    { return report; }

    ~PeerChain();

private:
    PeerChain() = default;

    juce::String load();
    juce::String configure();
    juce::String checkSettingsHold();
    juce::String check();

    juce::String checkGate (ProgrammeMaterial& programme);
    juce::String checkCompressor (ProgrammeMaterial& programme);
    juce::String checkEqualiser (ProgrammeMaterial& programme);

    juce::LV2PluginFormat format;
    std::array<std::unique_ptr<juce::AudioPluginInstance>, numStages> stages;
    juce::StringArray report;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PeerChain)
};
