#pragma once

#include "PeakHold.h"
#include "common/ProgramSlot.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <array>
#include <atomic>
#include <memory>

class OrvelEqAudioProcessor;

namespace compressor { class CompressorFilter; }

/** One console channel: input gain, gate, compressor and equaliser in a switchable
    order, optionally at twice the host rate, then output gain and polarity. */
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

private:
    /** The processor's own values, read once at the start of every block. */
    struct ParameterValues
    {
        std::atomic<float>* inputGain = nullptr;
        std::atomic<float>* outputGain = nullptr;
        std::atomic<float>* eqOn = nullptr;
        std::atomic<float>* compOn = nullptr;
        std::atomic<float>* gateOn = nullptr;
        std::atomic<float>* compBeforeEq = nullptr;
        std::atomic<float>* oversampling = nullptr;
        std::atomic<float>* phaseInvert = nullptr;
    };

    void runStages (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midiMessages, bool compBeforeEq);

    std::unique_ptr<compressor::CompressorFilter> compressorEngine;
    std::unique_ptr<OrvelEqAudioProcessor> eqEngine;
    std::unique_ptr<juce::AudioProcessorValueTreeState> parameters;
    juce::UndoManager undoManager { 30000, 30 };
    std::array<ProgramSlot, numPrograms> programs;
    int currentProgram = 0;
    int storedSampleRate = 44100;
    int storedBlockSize = 1024;
    PeakHold outputPeakLeft, outputPeakRight;
    float gateGain = 0.0f;
    bool eqEnabled = true;
    bool gateEnabled = false, compEnabled = false;
    bool inputOverloadFlag = false, outputOverloadFlag = false;

    ParameterValues values;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VeloraAudioProcessor)
};
