#include "VeloraAudioProcessor.h"

#include "HostParameters.h"
#include "common/ParameterUnits.h"
#include "compressor/CompressorFilter.h"
#include "eq/OrvelEqAudioProcessor.h"

namespace
{
    bool isOn (const std::atomic<float>* value) noexcept
    {
        return value->load (std::memory_order_relaxed) != 0.0f;
    }
}

VeloraAudioProcessor::VeloraAudioProcessor()
    : juce::AudioProcessor (BusesProperties().withInput ("In", juce::AudioChannelSet::stereo(), true)
                                             .withOutput ("Out", juce::AudioChannelSet::stereo(), true))
{
    compressorEngine = std::make_unique<compressor::CompressorFilter>();
    eqEngine = std::make_unique<OrvelEqAudioProcessor>();

    // The host default of "LPHP_In" is 1 although the equaliser's own default is 0.
    JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")
    eqEngine->setParameter (EqParameterTable::lphpIn, 1.0f);
    JUCE_END_IGNORE_WARNINGS_GCC_LIKE

    parameters = std::make_unique<juce::AudioProcessorValueTreeState> (*this, &undoManager, "PARAMETERS",
                                                                       HostParameters::createLayout (*compressorEngine, *eqEngine));

    JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")
    compressorEngine->setParameter (HostParameters::compressorGrModeIndex, 1.0f);
    JUCE_END_IGNORE_WARNINGS_GCC_LIKE

    for (auto* parameter : getParameters())
    {
        auto* withId = dynamic_cast<juce::RangedAudioParameter*> (parameter);
        jassert (withId != nullptr);

        const auto& id = withId->getParameterID();

        for (int slot = 0; slot < 3; ++slot)
            programs[(size_t) slot].values.set (id, (double) withId->getDefaultValue());

        parameters->addParameterListener (id, this);
    }

    values.inputGain    = parameters->getRawParameterValue (HostParameters::inputGain);
    values.outputGain   = parameters->getRawParameterValue (HostParameters::outputGain);
    values.eqOn         = parameters->getRawParameterValue (HostParameters::eqOn);
    values.compOn       = parameters->getRawParameterValue (HostParameters::compOn);
    values.gateOn       = parameters->getRawParameterValue (HostParameters::gateOn);
    values.compBeforeEq = parameters->getRawParameterValue (HostParameters::compBeforeEq);
    values.oversampling = parameters->getRawParameterValue (HostParameters::oversampling);
    values.phaseInvert  = parameters->getRawParameterValue (HostParameters::phaseInvert);

    const auto now = juce::Time::getApproximateMillisecondCounter();
    outputPeakLeft = { 0.0f, now };
    outputPeakRight = { 0.0f, now };
}

VeloraAudioProcessor::~VeloraAudioProcessor() = default;

//==============================================================================
const juce::String VeloraAudioProcessor::getName() const        { return "Velora"; }
void VeloraAudioProcessor::releaseResources()                    {}
double VeloraAudioProcessor::getTailLengthSeconds() const       { return 0.0; }
bool VeloraAudioProcessor::acceptsMidi() const                   { return false; }
bool VeloraAudioProcessor::producesMidi() const                  { return false; }
bool VeloraAudioProcessor::hasEditor() const                     { return true; }

juce::AudioProcessorEditor* VeloraAudioProcessor::createEditor()
{
    return new juce::GenericAudioProcessorEditor (*this);
}

bool VeloraAudioProcessor::isBusesLayoutSupported (const BusesLayout& layouts) const
{
    const auto output = layouts.getMainOutputChannelSet();
    return layouts.getMainInputChannelSet() == output && (output.size() == 1 || output.size() == 2);
}

const juce::String VeloraAudioProcessor::getInputChannelName (int channelIndex) const   { return juce::String (channelIndex + 1); }
const juce::String VeloraAudioProcessor::getOutputChannelName (int channelIndex) const  { return juce::String (channelIndex + 1); }
bool VeloraAudioProcessor::isInputChannelStereoPair (int) const                         { return true; }
bool VeloraAudioProcessor::isOutputChannelStereoPair (int) const                        { return true; }
bool VeloraAudioProcessor::silenceInProducesSilenceOut() const                          { return false; }

//==============================================================================
void VeloraAudioProcessor::prepareToPlay (double sampleRate, int maximumBlockSize)
{
    const int factor = 1 + (int) values.oversampling->load();

    compressorEngine->prepareToPlay (factor * sampleRate, factor * maximumBlockSize);
    eqEngine->prepareToPlay (factor * sampleRate, factor * maximumBlockSize);

    storedSampleRate = (int) sampleRate;
    storedBlockSize = maximumBlockSize;

    const auto now = juce::Time::getApproximateMillisecondCounter();
    outputPeakLeft = { 0.0f, now };
    outputPeakRight = { 0.0f, now };
}

void VeloraAudioProcessor::processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midiMessages)
{
    juce::ScopedNoDenormals noDenormals;

    const int numChannels = buffer.getNumChannels();
    const int numSamples = buffer.getNumSamples();

    buffer.applyGain (ParameterUnits::decibelsToGain (ParameterUnits::inputGainDecibels (values.inputGain->load())));

    const bool compBeforeEq = isOn (values.compBeforeEq);
    eqEnabled = isOn (values.eqOn);
    compEnabled = isOn (values.compOn);
    gateEnabled = isOn (values.gateOn);

    // Keeps the filters out of denormal numbers on silence: odd samples of channel 0, and of
    // channel 1 in a stereo block, get a tiny offset.
    for (int channel = 0; channel < (numChannels == 2 ? 2 : juce::jmin (numChannels, 1)); ++channel)
    {
        auto* samples = buffer.getWritePointer (channel);

        for (int i = 1; i < numSamples; i += 2)
            samples[i] = (float) ((double) samples[i] + 1e-10);
    }

    runStages (buffer, midiMessages, compBeforeEq);

    const float outputGain = ParameterUnits::decibelsToGain (ParameterUnits::outputGainDecibels (values.outputGain->load()));
    buffer.applyGain (isOn (values.phaseInvert) ? -outputGain : outputGain);
}

void VeloraAudioProcessor::runStages (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midiMessages, bool compBeforeEq)
{
    if (compBeforeEq)
    {
        if (compEnabled)
            compressorEngine->processBlock (buffer, midiMessages);

        if (eqEnabled)
            eqEngine->processBlock (buffer, midiMessages);
    }
    else
    {
        if (eqEnabled)
            eqEngine->processBlock (buffer, midiMessages);

        if (compEnabled)
            compressorEngine->processBlock (buffer, midiMessages);
    }
}

//==============================================================================
void VeloraAudioProcessor::parameterChanged (const juce::String& parameterID, float newValue)
{
    JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")
    if (parameterID == HostParameters::compThreshold)
        compressorEngine->setParameter (HostParameters::compressorThresholdIndex, newValue);

    if (parameterID == HostParameters::compRatio)
        compressorEngine->setParameter (HostParameters::compressorRatioIndex, newValue);

    if (parameterID == HostParameters::compAttack)
        compressorEngine->setParameter (HostParameters::compressorAttackIndex, newValue);

    if (parameterID == HostParameters::compRelease)
        compressorEngine->setParameter (HostParameters::compressorReleaseIndex, newValue);

    // The equaliser index comes from the host index, not from the name.
    if (auto* parameter = parameters->getParameter (parameterID))
    {
        const int hostIndex = parameter->getParameterIndex();
        const int eqIndex = hostIndex - HostParameters::firstEqualiserIndex;

        if (eqIndex >= 0 && eqIndex < eqEngine->getNumParameters())
            eqEngine->setParameter (eqIndex, newValue);
    }
    JUCE_END_IGNORE_WARNINGS_GCC_LIKE

    if (parameterID == HostParameters::oversampling)
    {
        const int factor = newValue == 0.0f ? 1 : 2;
        const double rate = (double) (storedSampleRate * factor);

        compressorEngine->prepareToPlay (rate, storedBlockSize * factor);
        eqEngine->prepareToPlay (rate, storedBlockSize * factor);
    }

    sendChangeMessage();
}

//==============================================================================
int VeloraAudioProcessor::getNumPrograms()          { return numPrograms; }
int VeloraAudioProcessor::getCurrentProgram()       { return currentProgram; }

void VeloraAudioProcessor::setCurrentProgram (int index)
{
    juce::ignoreUnused (index);
}

const juce::String VeloraAudioProcessor::getProgramName (int index)
{
    return juce::isPositiveAndBelow (index, numPrograms) ? programs[(size_t) index].name : juce::String();
}

void VeloraAudioProcessor::changeProgramName (int index, const juce::String& newName)
{
    if (juce::isPositiveAndBelow (index, numPrograms))
        programs[(size_t) index].name = newName;
}

void VeloraAudioProcessor::getStateInformation (juce::MemoryBlock&)
{
}

void VeloraAudioProcessor::setStateInformation (const void*, int)
{
}
