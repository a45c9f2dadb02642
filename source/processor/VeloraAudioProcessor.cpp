#include "VeloraAudioProcessor.h"

#include "HostParameters.h"
#include "common/ParameterUnits.h"
#include "common/StoredText.h"
#include "compressor/CompressorFilter.h"
#include "editor/VeloraAudioProcessorEditor.h"
#include "eq/OrvelEqAudioProcessor.h"

#include <cmath>
#include <cstdlib>

namespace
{
    // A host can hand over a non-number (the parameters' own clamping lets it through);
    // it reads as the bottom of the range and as "off", never as a gain or a frame count.
    bool isOn (const std::atomic<float>* value) noexcept
    {
        const float v = value->load (std::memory_order_relaxed);
        return v != 0.0f && std::isfinite (v);
    }

    float valueOf (const std::atomic<float>* value) noexcept
    {
        const float v = value->load (std::memory_order_relaxed);
        return std::isfinite (v) ? v : 0.0f;
    }

    /** A stored parameter value: decimal text of a number within 0..1. */
    bool parseStoredValue (const juce::String& text, float& value)
    {
        const auto trimmed = text.trim();

        if (trimmed.isEmpty() || ! trimmed.containsOnly ("0123456789+-.eE"))
            return false;

        const double parsed = StoredText::readNumber (trimmed);

        if (! (parsed >= 0.0 && parsed <= 1.0))
            return false;

        value = (float) parsed;
        return true;
    }

    constexpr int defaultBlockSize = 1024;
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

    values.gateThreshold = parameters->getRawParameterValue (HostParameters::gateThreshold);
    values.gateRange     = parameters->getRawParameterValue (HostParameters::gateRange);
    values.gateAttack    = parameters->getRawParameterValue (HostParameters::gateAttack);
    values.gateRelease   = parameters->getRawParameterValue (HostParameters::gateRelease);
    values.inputGain     = parameters->getRawParameterValue (HostParameters::inputGain);
    values.outputGain    = parameters->getRawParameterValue (HostParameters::outputGain);
    values.eqOn          = parameters->getRawParameterValue (HostParameters::eqOn);
    values.compOn        = parameters->getRawParameterValue (HostParameters::compOn);
    values.gateOn        = parameters->getRawParameterValue (HostParameters::gateOn);
    values.compBeforeEq  = parameters->getRawParameterValue (HostParameters::compBeforeEq);
    values.oversampling  = parameters->getRawParameterValue (HostParameters::oversampling);
    values.phaseInvert   = parameters->getRawParameterValue (HostParameters::phaseInvert);

    resetPeakHolds();

    upsamplerLeft = std::make_unique<HalfBandFilter>();
    upsamplerRight = std::make_unique<HalfBandFilter>();
    downsamplerLeft = std::make_unique<HalfBandFilter>();
    downsamplerRight = std::make_unique<HalfBandFilter>();

    workingBuffer.setSize (2, 2 * defaultBlockSize);

    // Lets a host session or a render be reproduced sample for sample.
    if (const char* seed = std::getenv ("VELORA_RANDOM_SEED"))
        setRandomSeed (juce::String (seed).getLargeIntValue());
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
    return new VeloraAudioProcessorEditor (*this);
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

void VeloraAudioProcessor::setRandomSeed (juce::int64 seed)
{
    eqEngine->setRandomSeed (seed);
}

//==============================================================================
void VeloraAudioProcessor::prepareToPlay (double sampleRate, int maximumBlockSize)
{
    const int factor = 1 + (int) valueOf (values.oversampling);

    compressorEngine->prepareToPlay (factor * sampleRate, factor * maximumBlockSize);
    eqEngine->prepareToPlay (factor * sampleRate, factor * maximumBlockSize);

    storedSampleRate = (int) sampleRate;
    storedBlockSize = maximumBlockSize;

    // Room for the announced block at twice the rate, whether or not oversampling is on now.
    workingBuffer.setSize (2, 2 * juce::jmax (1, maximumBlockSize), false, false, true);

    resetPeakHolds();
}

void VeloraAudioProcessor::resetPeakHolds()
{
    const auto now = clock();
    outputPeakLeft.store ({ 0.0f, now });
    outputPeakRight.store ({ 0.0f, now });
}

void VeloraAudioProcessor::processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midiMessages)
{
    juce::ScopedNoDenormals noDenormals;

    const int numChannels = buffer.getNumChannels();
    const int numSamples = buffer.getNumSamples();

    buffer.applyGain (ParameterUnits::decibelsToGain (ParameterUnits::inputGainDecibels (valueOf (values.inputGain))));

    BlockSettings settings;
    settings.compBeforeEq = isOn (values.compBeforeEq);
    const bool oversampled = isOn (values.oversampling);
    settings.equaliser = isOn (values.eqOn);
    settings.compressor = isOn (values.compOn);
    settings.gate = isOn (values.gateOn);
    eqEnabled.store (settings.equaliser, std::memory_order_relaxed);
    compEnabled.store (settings.compressor, std::memory_order_relaxed);
    gateEnabled.store (settings.gate, std::memory_order_relaxed);

    settings.gateSettings = NoiseGate::convertSettings (valueOf (values.gateThreshold), valueOf (values.gateAttack),
                                                        valueOf (values.gateRelease), valueOf (values.gateRange));

    float inputPeak = 0.0f;
    for (int channel = 0; channel < numChannels; ++channel)
        inputPeak = juce::jmax (inputPeak, buffer.getMagnitude (channel, 0, numSamples));

    inputOverloadFlag.store (inputPeak > 1.0f, std::memory_order_relaxed);

    // Keeps the filters out of denormal numbers on silence: odd samples of channel 0, and of
    // channel 1 in a stereo block, get a tiny offset.
    const int chainChannels = numChannels == 2 ? 2 : juce::jmin (numChannels, 1);

    for (int channel = 0; channel < chainChannels; ++channel)
    {
        auto* samples = buffer.getWritePointer (channel);

        for (int i = 1; i < numSamples; i += 2)
            samples[i] = (float) ((double) samples[i] + 1e-10);
    }

    if (chainChannels > 0)
    {
        if (oversampled)
            runOversampled (buffer, midiMessages, settings);
        else
            runStages (buffer, midiMessages, settings, NoiseGate::timeStep (getSampleRate(), false));
    }

    const float outputGain = ParameterUnits::decibelsToGain (ParameterUnits::outputGainDecibels (valueOf (values.outputGain)));
    buffer.applyGain (isOn (values.phaseInvert) ? -outputGain : outputGain);

    measureOutput (buffer);
}

void VeloraAudioProcessor::runStages (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midiMessages,
                                      const BlockSettings& settings, float dt)
{
    const auto runCompressor = [&] { compressorEngine->processBlock (buffer, midiMessages); };
    const auto runEqualiser = [&] { eqEngine->processBlock (buffer, midiMessages); };
    runInOrder (buffer, settings, dt, runCompressor, runEqualiser);
}

template <typename RunCompressor, typename RunEqualiser>
void VeloraAudioProcessor::runInOrder (juce::AudioBuffer<float>& buffer, const BlockSettings& settings, float dt,
                                       RunCompressor&& runCompressor, RunEqualiser&& runEqualiser)
{
    const int channelCount = buffer.getNumChannels();
    const int sampleCount = buffer.getNumSamples();

    // The gate always runs just before the compressor's place in the order.
    if (settings.compBeforeEq)
    {
        if (settings.gate)
            applyNoiseGate (buffer, channelCount, sampleCount, settings.gateSettings, dt);

        if (settings.compressor)
            runCompressor();

        if (settings.equaliser)
            runEqualiser();
    }
    else
    {
        if (settings.equaliser)
            runEqualiser();

        if (settings.gate)
            applyNoiseGate (buffer, channelCount, sampleCount, settings.gateSettings, dt);

        if (settings.compressor)
            runCompressor();
    }
}

void VeloraAudioProcessor::runOversampled (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midiMessages,
                                           const BlockSettings& settings)
{
    const int numSamples = buffer.getNumSamples();
    const int channels = buffer.getNumChannels() == 2 ? 2 : 1;
    const float dt = NoiseGate::timeStep (getSampleRate(), true);

    if (numSamples > workingBuffer.getNumSamples() / 2)
    {
        runStagesInChunks (buffer, midiMessages, settings, dt);
        return;
    }

    if (numSamples != upsamplerLeft->getNumSamples())
        for (auto* filter : { upsamplerLeft.get(), upsamplerRight.get(), downsamplerLeft.get(), downsamplerRight.get() })
            filter->setNumSamples (numSamples);

    juce::AudioBuffer<float> work (workingBuffer.getArrayOfWritePointers(), channels, 2 * numSamples);

    upsample (buffer, 0, work);
    runStages (work, midiMessages, settings, dt);
    downsample (work, buffer, 0);
    clearNonFiniteFilterState();
}

void VeloraAudioProcessor::clearNonFiniteFilterState() noexcept
{
    for (auto* filter : { upsamplerLeft.get(), upsamplerRight.get(), downsamplerLeft.get(), downsamplerRight.get() })
        filter->clearNonFiniteState();
}

void VeloraAudioProcessor::upsample (const juce::AudioBuffer<float>& block, int start, juce::AudioBuffer<float>& work)
{
    if (work.getNumChannels() == 2)
        HalfBandFilter::upsampleStereo (*upsamplerLeft, *upsamplerRight, block.getReadPointer (0, start),
                                        block.getReadPointer (1, start), work.getWritePointer (0), work.getWritePointer (1));
    else
        upsamplerLeft->upsample (block.getReadPointer (0, start), work.getWritePointer (0));
}

void VeloraAudioProcessor::downsample (const juce::AudioBuffer<float>& work, juce::AudioBuffer<float>& block, int start)
{
    if (work.getNumChannels() == 2)
        HalfBandFilter::downsampleStereo (*downsamplerLeft, *downsamplerRight, work.getReadPointer (0),
                                          work.getReadPointer (1), block.getWritePointer (0, start), block.getWritePointer (1, start));
    else
        downsamplerLeft->downsample (work.getReadPointer (0), block.getWritePointer (0, start));
}

void VeloraAudioProcessor::runStagesInChunks (juce::AudioBuffer<float>& buffer, juce::MidiBuffer&,
                                              const BlockSettings& settings, float dt)
{
    // A block longer than the host announced: the working buffer takes it in pieces, and
    // the engines treat the pieces as one block, so the result is that of one pass.
    const int numSamples = buffer.getNumSamples();
    const int channels = buffer.getNumChannels() == 2 ? 2 : 1;
    const int capacity = workingBuffer.getNumSamples() / 2;

    if (settings.compressor)
        compressorEngine->beginBlock();

    if (settings.equaliser)
        eqEngine->beginBlock (channels, 2 * numSamples);

    for (int start = 0; start < numSamples; start += capacity)
    {
        const int length = juce::jmin (capacity, numSamples - start);

        for (auto* filter : { upsamplerLeft.get(), upsamplerRight.get(), downsamplerLeft.get(), downsamplerRight.get() })
            filter->setNumSamples (length);

        juce::AudioBuffer<float> work (workingBuffer.getArrayOfWritePointers(), channels, 2 * length);

        upsample (buffer, start, work);
        runInOrder (work, settings, dt,
                    [&] { compressorEngine->processSegment (work); },
                    [&] { eqEngine->processSegment (work); });
        downsample (work, buffer, start);
    }

    clearNonFiniteFilterState();

    if (settings.compressor)
        compressorEngine->endBlock();

    if (settings.equaliser)
        eqEngine->endBlock();
}

void VeloraAudioProcessor::applyNoiseGate (juce::AudioBuffer<float>& buffer, int channelCount, int sampleCount,
                                           const NoiseGate::Settings& settings, float dt)
{
    float gain = gateGain.load (std::memory_order_relaxed);

    NoiseGate::process (buffer.getWritePointer (0), channelCount == 2 ? buffer.getWritePointer (1) : nullptr,
                        sampleCount, settings, dt, gain);

    // A non-finite input leaves the gain undefined: start closed again, as at construction.
    gateGain.store (std::isfinite (gain) ? gain : 0.0f, std::memory_order_relaxed);
}

void VeloraAudioProcessor::measureOutput (const juce::AudioBuffer<float>& buffer)
{
    const auto now = clock();
    const int numChannels = buffer.getNumChannels();
    const int numSamples = buffer.getNumSamples();

    // A new peak replaces the held one only when it is larger than what is left of it. A
    // block that was not finite has no level: an infinity held would never decay, and no
    // later peak could replace it.
    auto update = [now] (PublishedPeakHold& hold, float magnitude)
    {
        if (std::isfinite (magnitude) && magnitude > decayedLevel (hold.load(), now))
            hold.store ({ magnitude, now });
    };

    const float left = numChannels > 0 ? buffer.getMagnitude (0, 0, numSamples) : 0.0f;
    update (outputPeakLeft, left);

    bool overloaded = left > 1.0f;

    if (numChannels >= 2)
    {
        const float right = buffer.getMagnitude (1, 0, numSamples);
        update (outputPeakRight, right);
        overloaded = overloaded || right > 1.0f;
    }

    outputOverloadFlag.store (overloaded, std::memory_order_relaxed);
}

//==============================================================================
void VeloraAudioProcessor::parameterChanged (const juce::String& parameterID, float newValue)
{
    // The engines keep their last real value; their designs would turn a non-number into
    // table indices.
    if (! std::isfinite (newValue))
        return;

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
        const int eqIndex = parameter->getParameterIndex() - HostParameters::firstEqualiserIndex;

        if (eqIndex >= 0 && eqIndex < eqEngine->getNumParameters())
            eqEngine->setParameter (eqIndex, newValue);
    }
    JUCE_END_IGNORE_WARNINGS_GCC_LIKE

    if (parameterID == HostParameters::oversampling)
    {
        const int factor = newValue == 0.0f ? 1 : 2;
        const double rate = (double) (storedSampleRate.load() * factor);
        const int preparedBlockSize = storedBlockSize.load() * factor;

        compressorEngine->prepareToPlay (rate, preparedBlockSize);
        eqEngine->prepareToPlay (rate, preparedBlockSize);
    }

    sendChangeMessage();
}

//==============================================================================
int VeloraAudioProcessor::getNumPrograms()          { return numPrograms; }
int VeloraAudioProcessor::getCurrentProgram()       { return currentProgram.load(); }

void VeloraAudioProcessor::setCurrentProgram (int index)
{
    // Hosts only ask for 0..19; another number has no slot to load.
    if (! juce::isPositiveAndBelow (index, numPrograms))
        return;

    currentProgram = index;

    // Values by position; a slot with fewer values sets the rest to 0.
    const auto& slotValues = programs[(size_t) index].values;
    const auto& hostParameters = getParameters();

    for (int k = 0; k < hostParameters.size(); ++k)
    {
        const float v = k < slotValues.size() ? (float) (double) slotValues.getValueAt (k) : 0.0f;
        hostParameters[k]->setValue (v);
        hostParameters[k]->sendValueChangedMessageToListeners (v);
    }

    eqEngine->sendChangeMessage();
    compressorEngine->sendChangeMessage();
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

//==============================================================================
void VeloraAudioProcessor::getStateInformation (juce::MemoryBlock& destData)
{
    juce::XmlElement xml ("PLUGINSETTINGS");
    xml.addChildElement (parameterState().createXml().release());

    xml.setAttribute ("currentProgram", currentProgram.load());

    copyXmlToBinary (xml, destData);
}

juce::ValueTree VeloraAudioProcessor::parameterState() const
{
    // The parameter tree's own copy (copyState) first writes the current values into the
    // shared tree through its undo manager, which only the message thread may touch; hosts
    // also save from other threads. So the same document is made from the parameters'
    // values: one PARAM per parameter, in identifier order, as the tree keeps them.
    juce::StringArray ids;

    for (auto* parameter : getParameters())
        if (auto* withId = dynamic_cast<juce::RangedAudioParameter*> (parameter))
            ids.add (withId->paramID);

    ids.sort (false);

    juce::ValueTree state ("PARAMETERS");

    for (const auto& id : ids)
        state.appendChild (juce::ValueTree ("PARAM", { { "id", id },
                                                       { "value", parameters->getRawParameterValue (id)->load() } }),
                           nullptr);

    return state;
}

void VeloraAudioProcessor::setStateInformation (const void* data, int sizeInBytes)
{
    if (data == nullptr || sizeInBytes <= 0)
        return;

    if (const auto xml = StoredText::xmlFromStoredBlock (data, sizeInBytes))
        restoreState (*xml);
}

void VeloraAudioProcessor::getCurrentProgramStateInformation (juce::MemoryBlock& destData)
{
    getStateInformation (destData);
}

void VeloraAudioProcessor::setCurrentProgramStateInformation (const void* data, int sizeInBytes)
{
    setStateInformation (data, sizeInBytes);
}

bool VeloraAudioProcessor::restoreState (const juce::XmlElement& xml)
{
    if (! xml.hasTagName ("PLUGINSETTINGS"))
        return false;

    // Each value reaches its engine as a host change would. Unknown identifiers, values
    // that are not numbers within 0..1, and parameters the document does not mention (an
    // older version's state) leave the current value alone.
    if (const auto* tree = xml.getChildByName ("PARAMETERS"))
    {
        for (const auto* param : tree->getChildWithTagNameIterator ("PARAM"))
        {
            auto* parameter = parameters->getParameter (param->getStringAttribute ("id"));
            float value = 0.0f;

            // A value that is already current is left alone: the parameter tree notifies its
            // listeners of the first write even when nothing changes, and the engines would
            // then swap their exact defaults for the stored single-precision ones.
            if (parameter != nullptr && parseStoredValue (param->getStringAttribute ("value"), value)
                 && value != parameter->getValue())
                parameter->setValueNotifyingHost (value);
        }
    }

    const auto programText = xml.getStringAttribute ("currentProgram").trim();

    // At most nine digits: a longer number would wrap around in the conversion and could
    // land on a valid program.
    if (programText.isNotEmpty() && programText.length() <= 9 && programText.containsOnly ("0123456789"))
    {
        const int program = programText.getIntValue();

        if (juce::isPositiveAndBelow (program, numPrograms))
            currentProgram = program;
    }

    return true;
}
