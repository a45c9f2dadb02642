#pragma once

#include "EqDesign.h"
#include "EqFilterDesign.h"
#include "EqParameterTable.h"
#include "EqSignalPath.h"
#include "common/DesignHandOver.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <array>
#include <atomic>

/** The console equaliser: 25 index-based parameters, nine sections per channel, the
    harmonic colouring and the phase allpass.

    Parameter values live in atomics and every change redesigns the whole equaliser on
    the calling thread; the audio thread takes the newest complete design at the start
    of each block, so setParameter may run on any thread while processBlock runs.
*/
class OrvelEqAudioProcessor final : public juce::AudioProcessor,
                                    public juce::ChangeBroadcaster
{
public:
    static constexpr int numPrograms = 11;
    static constexpr int numOfferedPrograms = 10;

    OrvelEqAudioProcessor();
    ~OrvelEqAudioProcessor() override;

    const juce::String getName() const override;
    void prepareToPlay (double newSampleRate, int maximumExpectedSamplesPerBlock) override;
    void releaseResources() override;
    void processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midiMessages) override;
    using juce::AudioProcessor::processBlock;

    /** One block that arrives in consecutive pieces (a host block longer than the working
        buffer): beginBlock with the whole block's size, processSegment for each piece in
        order, then endBlock. The result is exactly that of one processBlock call on the
        whole block: the design, the resets and the colouring's draw order are the block's. */
    void beginBlock (int numChannels, int totalNumSamples) noexcept;
    void processSegment (juce::AudioBuffer<float>& segment) noexcept;
    void endBlock() noexcept;

    double getTailLengthSeconds() const override;
    bool acceptsMidi() const override;
    bool producesMidi() const override;
    bool hasEditor() const override;
    juce::AudioProcessorEditor* createEditor() override;

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
    float getParameterDefaultValue (int index) override;
    void setParameter (int index, float value) override;
    const juce::String getParameterText (int index) override;
    using juce::AudioProcessor::getParameterName;
    using juce::AudioProcessor::getParameterText;
    JUCE_END_IGNORE_WARNINGS_GCC_LIKE

    /** Redesigns every section for this rate, sets the flags and the output factor. */
    void recalculateFilters (float newSampleRate);

    /** Makes the colouring reproducible (renders, tests): the generator takes this seed at
        the start of the next block that has samples. The default is a random seed. */
    void setRandomSeed (juce::int64 seed);

    /** The colouring generator's seed as juce::Random reports it. Audio thread or tests only. */
    juce::int64 getRandomState() const noexcept           { return random.getSeed(); }

    /** The sample path's state, for inspection between blocks. */
    const EqSignalPath& getSignalPath() const noexcept    { return signalPath; }

    /** The design of the latest redesign. For inspection while no other thread redesigns. */
    const EqDesign& getCurrentDesign() const noexcept     { return design.peekLatest(); }
    float getDesignSampleRate() const noexcept            { return sampleRate.load(); }

private:
    using AtomicValues = std::array<std::atomic<double>, EqParameterTable::numParameters>;

    struct EqProgram
    {
        juce::String name;
        AtomicValues values;
    };

    EqParameterSnapshot snapshotValues() const noexcept;

    AtomicValues parameterValues;
    std::array<EqProgram, numPrograms> programs;
    std::atomic<int> currentProgram { 0 };
    std::atomic<float> sampleRate { 44100.0f };
    std::atomic<unsigned int> allpassResetGeneration { 0 };

    velora::DesignHandOver<EqDesign> design;

    // Audio-thread state.
    EqSignalPath signalPath;
    unsigned int appliedAllpassReset = 0;

    // The block being processed (audio thread).
    const EqDesign* blockDesign = nullptr;
    juce::int64 blockRandomState = 0;
    int blockChannels = 0, blockLength = 0, blockPosition = 0;
    juce::Random random;
    std::atomic<juce::int64> pendingSeed { 0 };
    std::atomic<bool> seedPending { false };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OrvelEqAudioProcessor)
};
