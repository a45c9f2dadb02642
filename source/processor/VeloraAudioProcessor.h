#pragma once

#include "HalfBandFilter.h"
#include "NoiseGate.h"
#include "PeakHold.h"
#include "common/ProgramSlot.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <array>
#include <atomic>
#include <memory>

class OrvelEqAudioProcessor;

namespace compressor { class CompressorFilter; }

/** One console channel: input gain, gate, compressor and equaliser in a switchable
    order, optionally at twice the host rate, then output gain and polarity.

    Everything the editor reads from the audio thread (meters, stage switches, gate gain)
    is published through atomics. Parameter changes may arrive on any thread; the engines
    take new designs and resets only at the start of a block, so no engine is redesigned
    or re-prepared in the middle of one.
*/
class VeloraAudioProcessor final : public juce::AudioProcessor,
                                   public juce::ChangeBroadcaster,
                                   public juce::AudioProcessorValueTreeState::Listener
{
public:
    static constexpr int numPrograms = 20;

    VeloraAudioProcessor();
    ~VeloraAudioProcessor() override;

    const juce::String getName() const override;

    void prepareToPlay (double sampleRate, int maximumBlockSize) override;
    void releaseResources() override;
    void processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midiMessages) override;
    using juce::AudioProcessor::processBlock;

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
    void getCurrentProgramStateInformation (juce::MemoryBlock& destData) override;
    void setCurrentProgramStateInformation (const void* data, int sizeInBytes) override;

    bool isBusesLayoutSupported (const BusesLayout& layouts) const override;

    JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")
    const juce::String getInputChannelName (int channelIndex) const override;
    const juce::String getOutputChannelName (int channelIndex) const override;
    bool isInputChannelStereoPair (int index) const override;
    bool isOutputChannelStereoPair (int index) const override;
    bool silenceInProducesSilenceOut() const override;
    JUCE_END_IGNORE_WARNINGS_GCC_LIKE

    void parameterChanged (const juce::String& parameterID, float newValue) override;

    juce::AudioProcessorValueTreeState& getParameterTree() noexcept     { return *parameters; }
    compressor::CompressorFilter& getCompressorEngine() noexcept        { return *compressorEngine; }
    OrvelEqAudioProcessor& getEqEngine() noexcept                       { return *eqEngine; }

    /** Metering, for the editor's timer (any thread). */
    PeakHold getOutputPeakLeft() const noexcept     { return outputPeakLeft.load(); }
    PeakHold getOutputPeakRight() const noexcept    { return outputPeakRight.load(); }
    float getGateGain() const noexcept              { return gateGain.load (std::memory_order_relaxed); }
    bool isEqEnabled() const noexcept               { return eqEnabled.load (std::memory_order_relaxed); }
    bool isGateEnabled() const noexcept             { return gateEnabled.load (std::memory_order_relaxed); }
    bool isCompEnabled() const noexcept             { return compEnabled.load (std::memory_order_relaxed); }
    bool isInputOverloaded() const noexcept         { return inputOverloadFlag.load (std::memory_order_relaxed); }
    bool isOutputOverloaded() const noexcept        { return outputOverloadFlag.load (std::memory_order_relaxed); }

    /** The approximate millisecond counter by default; tests replace it to step time. */
    using MillisecondClock = juce::uint32 (*)();
    void setMillisecondClock (MillisecondClock newClock) noexcept   { clock = newClock != nullptr ? newClock : defaultClock; }

    /** Reproducible colouring for renders and tests (applied from the next block). */
    void setRandomSeed (juce::int64 seed);

    /** The half-band filters, for inspection. */
    const HalfBandFilter& getUpsampler (int channel) const noexcept     { return channel == 0 ? *upsamplerLeft : *upsamplerRight; }
    const HalfBandFilter& getDownsampler (int channel) const noexcept   { return channel == 0 ? *downsamplerLeft : *downsamplerRight; }

private:
    /** The stored form of the parameter values, made without touching the shared tree. */
    juce::ValueTree parameterState() const;

    /** Cached host values, read once at the start of every block. */
    struct ParameterValues
    {
        std::atomic<float>* gateThreshold = nullptr;
        std::atomic<float>* gateRange = nullptr;
        std::atomic<float>* gateAttack = nullptr;
        std::atomic<float>* gateRelease = nullptr;
        std::atomic<float>* inputGain = nullptr;
        std::atomic<float>* outputGain = nullptr;
        std::atomic<float>* eqOn = nullptr;
        std::atomic<float>* compOn = nullptr;
        std::atomic<float>* gateOn = nullptr;
        std::atomic<float>* compBeforeEq = nullptr;
        std::atomic<float>* oversampling = nullptr;
        std::atomic<float>* phaseInvert = nullptr;
    };

    /** What one block runs, taken at its start. */
    struct BlockSettings
    {
        bool compBeforeEq = false;
        bool gate = false, compressor = false, equaliser = false;
        NoiseGate::Settings gateSettings;
    };

    static juce::uint32 defaultClock() noexcept { return juce::Time::getApproximateMillisecondCounter(); }

    void runStages (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midiMessages, const BlockSettings& settings, float dt);
    template <typename RunCompressor, typename RunEqualiser>
    void runInOrder (juce::AudioBuffer<float>& buffer, const BlockSettings& settings, float dt,
                     RunCompressor&& runCompressor, RunEqualiser&& runEqualiser);
    void runStagesInChunks (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midiMessages, const BlockSettings& settings, float dt);
    void runOversampled (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midiMessages, const BlockSettings& settings);
    void upsample (const juce::AudioBuffer<float>& block, int start, juce::AudioBuffer<float>& work);
    void downsample (const juce::AudioBuffer<float>& work, juce::AudioBuffer<float>& block, int start);
    void clearNonFiniteFilterState() noexcept;
    void applyNoiseGate (juce::AudioBuffer<float>& buffer, int channelCount, int sampleCount, const NoiseGate::Settings& settings, float dt);
    void measureOutput (const juce::AudioBuffer<float>& buffer);
    void resetPeakHolds();
    bool restoreState (const juce::XmlElement& xml);

    std::unique_ptr<compressor::CompressorFilter> compressorEngine;
    std::unique_ptr<OrvelEqAudioProcessor> eqEngine;
    std::unique_ptr<HalfBandFilter> upsamplerLeft, upsamplerRight, downsamplerLeft, downsamplerRight;
    std::unique_ptr<juce::AudioProcessorValueTreeState> parameters;
    juce::UndoManager undoManager { 30000, 30 };
    std::array<ProgramSlot, numPrograms> programs;
    std::atomic<int> currentProgram { 0 };
    std::atomic<int> storedSampleRate { 44100 };
    std::atomic<int> storedBlockSize { 1024 };
    PublishedPeakHold outputPeakLeft, outputPeakRight;
    std::atomic<float> gateGain { 0.0f };
    std::atomic<bool> eqEnabled { true };
    std::atomic<bool> gateEnabled { false }, compEnabled { false };
    std::atomic<bool> inputOverloadFlag { false }, outputOverloadFlag { false };

    ParameterValues values;
    MillisecondClock clock = defaultClock;

    // The oversampled working buffer: sized in prepareToPlay for twice the prepared block.
    juce::AudioBuffer<float> workingBuffer;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VeloraAudioProcessor)
};
