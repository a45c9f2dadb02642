#include "OrvelEqAudioProcessor.h"

namespace
{
    constexpr int numParameters = EqParameterTable::numParameters;

    bool isParameterIndex (int index) noexcept
    {
        return index >= 0 && index < numParameters;
    }
}

OrvelEqAudioProcessor::OrvelEqAudioProcessor()
{
    for (int i = 0; i < numParameters; ++i)
        parameterValues[(size_t) i].store (EqParameterTable::entries[(size_t) i].defaultValue);

    random.setSeedRandomly();

    for (auto& program : programs)
        for (int i = 0; i < numParameters; ++i)
            program.values[(size_t) i].store (EqParameterTable::entries[(size_t) i].defaultValue);

    // No design yet: the sections stay zero until the owner's first recalculateFilters.
}

OrvelEqAudioProcessor::~OrvelEqAudioProcessor() = default;

const juce::String OrvelEqAudioProcessor::getName() const    { return "Velora"; }
void OrvelEqAudioProcessor::releaseResources()                {}
double OrvelEqAudioProcessor::getTailLengthSeconds() const   { return 0.0; }
bool OrvelEqAudioProcessor::acceptsMidi() const               { return false; }
bool OrvelEqAudioProcessor::producesMidi() const              { return false; }
bool OrvelEqAudioProcessor::hasEditor() const                 { return true; }
juce::AudioProcessorEditor* OrvelEqAudioProcessor::createEditor() { return nullptr; }

//==============================================================================
int OrvelEqAudioProcessor::getNumParameters()
{
    return numParameters;
}

const juce::String OrvelEqAudioProcessor::getParameterName (int index)
{
    return isParameterIndex (index) ? juce::String (EqParameterTable::entries[(size_t) index].name)
                                    : juce::String();
}

float OrvelEqAudioProcessor::getParameter (int index)
{
    return isParameterIndex (index) ? (float) parameterValues[(size_t) index].load() : 0.0f;
}

float OrvelEqAudioProcessor::getParameterDefaultValue (int index)
{
    return isParameterIndex (index) ? (float) EqParameterTable::entries[(size_t) index].defaultValue : 0.0f;
}

void OrvelEqAudioProcessor::setParameter (int index, float value)
{
    // Only 0..24 name a parameter; anything else is ignored rather than written anywhere.
    if (! isParameterIndex (index))
        return;

    parameterValues[(size_t) index].store ((double) value);

    const auto program = currentProgram.load();
    programs[(size_t) program].values[(size_t) index].store ((double) value);

    recalculateFilters (sampleRate.load());
}

const juce::String OrvelEqAudioProcessor::getParameterText (int index)
{
    return EqParameterTable::textFor (index, getParameter (index));
}

//==============================================================================
EqParameterSnapshot OrvelEqAudioProcessor::snapshotValues() const noexcept
{
    EqParameterSnapshot values {};

    for (size_t i = 0; i < values.size(); ++i)
        values[i] = parameterValues[i].load();

    return values;
}

void OrvelEqAudioProcessor::recalculateFilters (float newSampleRate)
{
    sampleRate.store (newSampleRate);

    design.update ([this] (EqDesign& d)
    {
        d = designEqualiser (snapshotValues(), sampleRate.load());
        d.allpassResetGeneration = allpassResetGeneration.load();
    });

    sendChangeMessage();
}

void OrvelEqAudioProcessor::setRandomSeed (juce::int64 seed)
{
    pendingSeed.store (seed);
    seedPending.store (true);
}

//==============================================================================
int OrvelEqAudioProcessor::getNumPrograms()
{
    return numOfferedPrograms;
}

int OrvelEqAudioProcessor::getCurrentProgram()
{
    return currentProgram.load();
}

void OrvelEqAudioProcessor::setCurrentProgram (int index)
{
    // Eleven records exist; a number outside them has no values to load.
    if (index < 0 || index >= numPrograms)
        return;

    currentProgram.store (index);

    const auto& program = programs[(size_t) index];

    for (size_t i = 0; i < parameterValues.size(); ++i)
        parameterValues[i].store (program.values[i].load());

    recalculateFilters (sampleRate.load());
    sendChangeMessage();
}

const juce::String OrvelEqAudioProcessor::getProgramName (int index)
{
    return index >= 0 && index < numPrograms ? programs[(size_t) index].name : juce::String();
}

void OrvelEqAudioProcessor::changeProgramName (int index, const juce::String& newName)
{
    if (index >= 0 && index < numPrograms)
        programs[(size_t) index].name = newName;
}

//==============================================================================
void OrvelEqAudioProcessor::prepareToPlay (double newSampleRate, int)
{
    allpassResetGeneration.fetch_add (1);
    recalculateFilters ((float) newSampleRate);
}

void OrvelEqAudioProcessor::processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer&)
{
    beginBlock (buffer.getNumChannels(), buffer.getNumSamples());
    processSegment (buffer);
    endBlock();
}

void OrvelEqAudioProcessor::beginBlock (int numChannels, int totalNumSamples) noexcept
{
    blockDesign = nullptr;

    // An empty block leaves everything as it is, the generator included.
    if (totalNumSamples <= 0 || numChannels <= 0)
        return;

    blockDesign = &design.acquireLatest();

    if (blockDesign->allpassResetGeneration != appliedAllpassReset)
    {
        signalPath.clearAllpass();
        appliedAllpassReset = blockDesign->allpassResetGeneration;
    }

    if (seedPending.exchange (false))
        random.setSeed (pendingSeed.load());

    blockRandomState = random.getSeed();
    blockChannels = numChannels > 1 ? 2 : 1;
    blockLength = totalNumSamples;
    blockPosition = 0;
}

void OrvelEqAudioProcessor::processSegment (juce::AudioBuffer<float>& segment) noexcept
{
    const int numSamples = juce::jmin (segment.getNumSamples(), blockLength - blockPosition);

    if (blockDesign == nullptr || numSamples <= 0)
        return;

    // Channel 0 draws three numbers per sample of the whole block, then channel 1.
    const auto first0 = 3 * (std::uint64_t) blockPosition;
    const auto first1 = 3 * (std::uint64_t) (blockLength + blockPosition);

    signalPath.processPart (segment.getWritePointer (0), blockChannels > 1 ? segment.getWritePointer (1) : nullptr,
                            numSamples, *blockDesign, blockRandomState, first0, first1);
    blockPosition += numSamples;
}

void OrvelEqAudioProcessor::endBlock() noexcept
{
    if (blockDesign == nullptr)
        return;

    random.setSeed (EqSignalPath::stateAfterBlock (blockRandomState, blockLength, blockChannels));
    signalPath.clearNonFiniteState();
    blockDesign = nullptr;
}

//==============================================================================
void OrvelEqAudioProcessor::getStateInformation (juce::MemoryBlock& destData)
{
    juce::XmlElement xml ("MYPLUGINSETTINGS");

    for (int i = 0; i < numParameters; ++i)
        xml.setAttribute (EqParameterTable::entries[(size_t) i].name, parameterValues[(size_t) i].load());

    xml.setAttribute ("current_program", currentProgram.load());

    copyXmlToBinary (xml, destData);
}

void OrvelEqAudioProcessor::setStateInformation (const void*, int)
{
    // The plug-in stores the equaliser's values as host parameters; this state is write-only.
}
