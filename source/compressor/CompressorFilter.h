#pragma once

#include "CompressorProcessing.h"
#include "CompressorProgram.h"
#include "CompressorWorkingValues.h"
#include "common/DesignHandOver.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <array>
#include <atomic>

namespace compressor
{

/** The channel's compressor: 16 index-based parameters, a filtered peak detector and a
    power-law gain computer.

    Settings live in atomics; every setParameter derives a complete set of working values
    on the calling thread and hands it to the audio thread, which takes the newest set at
    the start of each block.
*/
class CompressorFilter final : public juce::AudioProcessor,
                               public juce::ChangeBroadcaster
{
public:
    static constexpr int numParameters = 16;
    static constexpr int numPrograms = 10;

    CompressorFilter();
    ~CompressorFilter() override;

    const juce::String getName() const override;
    void prepareToPlay (double sampleRate, int maximumExpectedSamplesPerBlock) override;
    void releaseResources() override;
    void processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midiMessages) override;
    using juce::AudioProcessor::processBlock;

    /** One block that arrives in consecutive pieces: beginBlock, processSegment for each
        piece in order, endBlock. The result is exactly that of one processBlock on the
        whole block (one set of working values, one block-end step). */
    void beginBlock() noexcept;
    void processSegment (juce::AudioBuffer<float>& segment) noexcept;
    void endBlock() noexcept;

    double getTailLengthSeconds() const override;
    bool acceptsMidi() const override;
    bool producesMidi() const override;
    juce::AudioProcessorEditor* createEditor() override;
    bool hasEditor() const override;

    int getNumPrograms() override;
    int getCurrentProgram() override;
    void setCurrentProgram (int index) override;
    const juce::String getProgramName (int index) override;
    void changeProgramName (int index, const juce::String& newName) override;

    void getStateInformation (juce::MemoryBlock& destData) override;
    void setStateInformation (const void* data, int sizeInBytes) override;

    JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")
    int getNumParameters() override;
    const juce::String getParameterName (int index) override;
    float getParameter (int index) override;
    const juce::String getParameterText (int index) override;
    float getParameterDefaultValue (int index) override;
    void setParameter (int index, float value) override;
    using juce::AudioProcessor::getParameterName;
    using juce::AudioProcessor::getParameterText;
    JUCE_END_IGNORE_WARNINGS_GCC_LIKE

    /** The gain applied to the latest sample, for the gain-reduction meter (any thread). */
    float getCurrentGain() const noexcept   { return currentGain.load (std::memory_order_relaxed); }

    /** Make-up gain times mix: the gain while nothing is reduced (any thread). */
    float getWetGain() const noexcept       { return wetGain.load (std::memory_order_relaxed); }

    /** The working values of the latest derivation. For inspection while no other thread
        changes a parameter. */
    const CompressorWorkingValues& getWorkingValues() const noexcept { return workingValues.peekLatest(); }

    float getSampleRateForCoefficients() const noexcept { return sampleRate.load(); }

    /** The detector envelope after the latest block. For inspection while no block runs. */
    float getEnvelope() const noexcept { return processing.getEnvelope(); }

private:
    CompressorSettings settingsSnapshot() const noexcept;
    void recalculate();

    std::array<CompressorProgram, numPrograms> compressorPrograms;

    std::atomic<float> threshold { 0.6f }, ratio { 0.4f }, level { 0.0f }, attack { 0.2f },
                       release { 0.5f }, mix { 1.0f }, filterType { 0.0f }, freq { 0.5f }, width { 0.5f };

    // The gain meter's values, published for the editor.
    std::atomic<float> wetGain { 0.0f };
    std::atomic<float> currentGain { 0.0f };

    std::atomic<bool> sideChain { false };
    std::atomic<float> sampleRate { 44100.0f };

    // Side-chain sections, envelope and level follower: owned by the audio thread.
    CompressorProcessing processing;

    std::atomic<bool> filteredSolo { false };
    std::atomic<float> levelReadout { 0.0f };
    std::atomic<float> spareValue { 0.0f };
    std::atomic<int> curProgram { 0 };
    std::atomic<bool> bypass { false }, grMode { false }, softKnee { false };

    std::array<float, numParameters> defaultValues {};

    std::atomic<unsigned int> detectorResetGeneration { 0 }, prepareGeneration { 0 };
    unsigned int appliedDetectorReset = 0, appliedPrepare = 0;

    // The block being processed (audio thread).
    const CompressorWorkingValues* blockValues = nullptr;
    float blockLastGain = 0.0f;
    bool blockHasSamples = false;

    velora::DesignHandOver<CompressorWorkingValues> workingValues;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CompressorFilter)
};

} // namespace compressor
