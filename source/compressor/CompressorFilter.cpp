#include "CompressorFilter.h"
#include "CompressorStateFormat.h"
#include "common/StoredText.h"

#include <cmath>

namespace compressor
{

namespace
{
    enum ParameterIndex
    {
        thresholdIndex, ratioIndex, levelIndex, attackIndex, releaseIndex, mixIndex,
        filterTypeIndex, freqIndex, widthIndex, filteredSoloIndex, levelReadoutIndex,
        spareValueIndex, sideChainIndex, bypassIndex, grModeIndex, softKneeIndex
    };

    const char* const parameterNames[] = { "Thresh", "Ratio", "Output", "Attack", "Release", "Mix",
                                           "Filtertype", "freq", "width", "filteredsolo" };

    float switchValue (bool on) noexcept { return on ? 1.0f : 0.0f; }
}

CompressorFilter::CompressorFilter()
{
    for (auto& program : compressorPrograms)
    {
        program.threshold = threshold.load();
        program.ratio = ratio.load();
        program.level = level.load();
        program.attack = attack.load();
        program.release = release.load();
        program.mix = mix.load();
        program.filterType = filterType.load();
        program.freq = freq.load();
        program.width = width.load();
        program.name = "Init";
    }

    JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")
    for (int i = 0; i < numParameters; ++i)
        defaultValues[(size_t) i] = getParameter (i);
    JUCE_END_IGNORE_WARNINGS_GCC_LIKE

    // The working values are derived by the first setParameter (the owner makes one at once).
}

CompressorFilter::~CompressorFilter() = default;

const juce::String CompressorFilter::getName() const           { return "CompressorFilter"; }
void CompressorFilter::releaseResources()                       {}
double CompressorFilter::getTailLengthSeconds() const          { return 0.0; }
bool CompressorFilter::acceptsMidi() const                      { return false; }
bool CompressorFilter::producesMidi() const                     { return false; }
juce::AudioProcessorEditor* CompressorFilter::createEditor()    { return nullptr; }
bool CompressorFilter::hasEditor() const                        { return false; }

//==============================================================================
CompressorSettings CompressorFilter::settingsSnapshot() const noexcept
{
    CompressorSettings s;
    s.threshold = threshold.load();
    s.ratio = ratio.load();
    s.level = level.load();
    s.attack = attack.load();
    s.release = release.load();
    s.mix = mix.load();
    s.filterType = filterType.load();
    s.freq = freq.load();
    s.width = width.load();
    s.sampleRate = sampleRate.load();
    return s;
}

void CompressorFilter::recalculate()
{
    workingValues.update ([this] (CompressorWorkingValues& w)
    {
        w = computeWorkingValues (settingsSnapshot());
        w.bypass = bypass.load();
        w.sideChainKey = sideChain.load();
        w.filteredSolo = filteredSolo.load();
        w.softKnee = softKnee.load();
        w.detectorResetGeneration = detectorResetGeneration.load();
        w.prepareGeneration = prepareGeneration.load();
        wetGain.store (w.wetGain, std::memory_order_relaxed);
    });
}

//==============================================================================
int CompressorFilter::getNumParameters()
{
    return numParameters;
}

const juce::String CompressorFilter::getParameterName (int index)
{
    return index >= 0 && index <= filteredSoloIndex ? juce::String (parameterNames[index]) : juce::String();
}

float CompressorFilter::getParameter (int index)
{
    switch (index)
    {
        case thresholdIndex:     return threshold.load();
        case ratioIndex:         return ratio.load();
        case levelIndex:         return level.load();
        case attackIndex:        return attack.load();
        case releaseIndex:       return release.load();
        case mixIndex:           return mix.load();
        case filterTypeIndex:    return filterType.load();
        case freqIndex:          return freq.load();
        case widthIndex:         return width.load();
        case filteredSoloIndex:  return switchValue (filteredSolo.load());
        case levelReadoutIndex:  return levelReadout.load();
        case spareValueIndex:    return spareValue.load();
        case sideChainIndex:     return switchValue (sideChain.load());
        case bypassIndex:        return switchValue (bypass.load());
        case grModeIndex:        return switchValue (grMode.load());
        case softKneeIndex:      return switchValue (softKnee.load());
        default:                 return 0.0f;
    }
}

const juce::String CompressorFilter::getParameterText (int index)
{
    const auto w = computeWorkingValues (settingsSnapshot());
    const auto rate = (double) sampleRate.load();

    switch (index)
    {
        case thresholdIndex:  return juce::String (40.0f * threshold.load() - 40.0f, 2);
        case ratioIndex:      return juce::String (1.0f / (1.0f - w.slope), 2);
        case levelIndex:      return juce::String (40.0f * level.load(), 2);
        // The time in which the envelope covers half of a step, in microseconds and milliseconds.
        case attackIndex:     return juce::String (-301030.1 / (std::log10 (1.0 - (double) w.attackCoeff) * rate), 2);
        case releaseIndex:    return juce::String (-301.0301 / (std::log10 (1.0 - (double) w.releaseCoeff) * rate), 2);
        case mixIndex:        return juce::String (100.0f * mix.load(), 2);
        default:              return {};
    }
}

float CompressorFilter::getParameterDefaultValue (int index)
{
    return index >= 0 && index < numParameters ? defaultValues[(size_t) index] : 0.0f;
}

void CompressorFilter::setParameter (int index, float value)
{
    auto& program = compressorPrograms[(size_t) curProgram.load()];

    switch (index)
    {
        case thresholdIndex:    threshold = value;  program.threshold = value;  break;
        case ratioIndex:        ratio = value;      program.ratio = value;      break;
        case levelIndex:        level = value;      program.level = value;      break;
        case attackIndex:       attack = value;     program.attack = value;     break;
        case releaseIndex:      release = value;    program.release = value;    break;
        case mixIndex:          mix = value;        program.mix = value;        break;
        case freqIndex:         freq = value;       program.freq = value;       break;
        case widthIndex:        width = value;      program.width = value;      break;

        case filterTypeIndex:
            filterType = value;
            program.filterType = value;
            // Every filter-type write starts the detector and the filter memory from zero.
            detectorResetGeneration.fetch_add (1);
            break;

        case filteredSoloIndex: program.filteredSolo = value; filteredSolo = value != 0.0f; break;
        case sideChainIndex:    program.sideChain = value;    sideChain = value != 0.0f;    break;
        case softKneeIndex:     program.softKnee = value;     softKnee = value != 0.0f;     break;
        case bypassIndex:       bypass = value != 0.0f;  break;
        case grModeIndex:       grMode = value != 0.0f;  break;
        case levelReadoutIndex: levelReadout = value;    break;
        case spareValueIndex:   spareValue = value;      break;
        default:                break;
    }

    recalculate();
    sendChangeMessage();
}

//==============================================================================
int CompressorFilter::getNumPrograms()
{
    return numPrograms;
}

int CompressorFilter::getCurrentProgram()
{
    return curProgram.load();
}

void CompressorFilter::setCurrentProgram (int index)
{
    if (index < 0 || index >= numPrograms)
        return;

    curProgram = index;

    const auto& program = compressorPrograms[(size_t) index];
    threshold = program.threshold.load();
    ratio = program.ratio.load();
    level = program.level.load();
    attack = program.attack.load();
    release = program.release.load();
    mix = program.mix.load();
    filterType = program.filterType.load();
    freq = program.freq.load();
    width = program.width.load();
    sideChain = program.sideChain.load() != 0.0f;
    softKnee = program.softKnee.load() != 0.0f;

    JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")
    setParameter (filteredSoloIndex, program.filteredSolo.load());
    JUCE_END_IGNORE_WARNINGS_GCC_LIKE
}

const juce::String CompressorFilter::getProgramName (int index)
{
    return index >= 0 && index < numPrograms ? compressorPrograms[(size_t) index].name : juce::String();
}

void CompressorFilter::changeProgramName (int index, const juce::String& newName)
{
    if (index >= 0 && index < numPrograms)
        compressorPrograms[(size_t) index].name = newName;
}

//==============================================================================
void CompressorFilter::prepareToPlay (double newSampleRate, int)
{
    sampleRate = (float) newSampleRate;
    prepareGeneration.fetch_add (1);

    JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")
    setParameter (thresholdIndex, getParameter (thresholdIndex));
    JUCE_END_IGNORE_WARNINGS_GCC_LIKE

    currentGain.store (1.0f);
}

void CompressorFilter::processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer&)
{
    juce::ScopedNoDenormals noDenormals;

    beginBlock();
    processSegment (buffer);
    endBlock();
}

void CompressorFilter::beginBlock() noexcept
{
    // One consistent set of working values for the whole block.
    const auto& values = workingValues.acquireLatest();

    // A filter-type write or a prepareToPlay since the last block restarts the detector; the
    // reset happens before the new design is taken, as it did on the writing thread.
    if (values.detectorResetGeneration != appliedDetectorReset)
    {
        appliedDetectorReset = values.detectorResetGeneration;
        processing.resetDetector();
    }

    if (values.prepareGeneration != appliedPrepare)
    {
        appliedPrepare = values.prepareGeneration;
        processing.resetEnvelope();
        currentGain.store (1.0f, std::memory_order_relaxed);
    }

    processing.setSideChainCoefficients (values.sideChain);

    // Bypass: buffer and state stay as they are, the block end included.
    blockValues = values.bypass ? nullptr : &values;
    blockLastGain = currentGain.load (std::memory_order_relaxed);
    blockHasSamples = false;
}

void CompressorFilter::processSegment (juce::AudioBuffer<float>& segment) noexcept
{
    if (blockValues == nullptr)
        return;

    const int numSamples = segment.getNumSamples();
    blockLastGain = processing.processPart (segment.getArrayOfWritePointers(), segment.getNumChannels(),
                                            numSamples, *blockValues, blockLastGain);
    blockHasSamples = blockHasSamples || (numSamples > 0 && segment.getNumChannels() > 0);
}

void CompressorFilter::endBlock() noexcept
{
    if (blockValues == nullptr)
        return;

    processing.finishBlock();

    if (blockHasSamples)
        currentGain.store (blockLastGain, std::memory_order_relaxed);

    levelReadout.store (processing.getLevelFollower(), std::memory_order_relaxed);
    blockValues = nullptr;
}

//==============================================================================
void CompressorFilter::getStateInformation (juce::MemoryBlock& destData)
{
    juce::XmlElement xml ("MYPLUGINSETTINGS");
    xml.setAttribute ("pluginVersion", 1);
    xml.setAttribute ("threshold", (double) threshold.load());
    xml.setAttribute ("ratio", (double) ratio.load());
    xml.setAttribute ("level", (double) level.load());
    xml.setAttribute ("attack", (double) attack.load());
    xml.setAttribute ("release", (double) release.load());
    xml.setAttribute ("mix", (double) mix.load());
    xml.setAttribute ("filtertype", (double) filterType.load());
    xml.setAttribute ("freq", (double) freq.load());
    xml.setAttribute ("width", (double) width.load());
    xml.setAttribute ("filteredsolo", filteredSolo.load() ? 1 : 0);
    xml.setAttribute ("sidechain", sideChain.load() ? 1 : 0);
    xml.setAttribute ("curProgram", curProgram.load());
    xml.setAttribute ("bypass", bypass.load() ? 1 : 0);
    xml.setAttribute ("GR", grMode.load() ? 1 : 0);
    xml.setAttribute ("softknee", softKnee.load() ? 1 : 0);

    copyXmlToBinary (xml, destData);
}

void CompressorFilter::setStateInformation (const void* data, int sizeInBytes)
{
    const auto xml = StoredText::parseDocument (extractStateText (data, sizeInBytes));

    // No block, a block too short for its header, or text that is not XML: nothing to load.
    if (xml == nullptr)
        return;

    // A number outside the bank is ignored, as setCurrentProgram ignores it: the values
    // below then edit the current program, like any parameter change.
    const int storedProgram = xml->hasAttribute ("curProgram") ? parseProgramNumber (xml->getStringAttribute ("curProgram")) : 0;

    if (storedProgram >= 0 && storedProgram < numPrograms)
        curProgram = storedProgram;

    if (xml->getTagName() != "MYPLUGINSETTINGS")
        return;

    auto& program = compressorPrograms[(size_t) curProgram.load()];

    // getDoubleAttribute's reading, safe for any text a block may hold.
    const auto number = [&xml] (const char* name, double missing)
    {
        return xml->hasAttribute (name) ? StoredText::readNumber (xml->getStringAttribute (name)) : missing;
    };

    const auto load = [&number] (const char* name, std::atomic<float>& member, std::atomic<float>& programField)
    {
        const auto value = (float) number (name, 0.5);
        member = value;
        programField = value;
    };

    load ("threshold",  threshold,  program.threshold);
    load ("ratio",      ratio,      program.ratio);
    load ("level",      level,      program.level);
    load ("attack",     attack,     program.attack);
    load ("release",    release,    program.release);
    load ("mix",        mix,        program.mix);
    load ("filtertype", filterType, program.filterType);
    load ("freq",       freq,       program.freq);
    load ("width",      width,      program.width);

    const double solo = number ("filteredsolo", filteredSolo.load() ? 1.0 : 0.0);
    program.filteredSolo = solo != 0.0 ? 1.0f : 0.0f;
    filteredSolo = solo != 0.0;

    // A state without the key-mode attribute switches the key mode on.
    const auto key = (float) number ("sidechain", 0.5);
    program.sideChain = key;
    sideChain = key != 0.0f;

    bypass = xml->getBoolAttribute ("bypass");
    grMode = xml->getBoolAttribute ("GR");

    // Loading keeps the detector and the side-chain memory, whatever the filter type.
    JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")
    setParameter (softKneeIndex, xml->getBoolAttribute ("softknee") ? 1.0f : 0.0f);
    JUCE_END_IGNORE_WARNINGS_GCC_LIKE

    sendChangeMessage();
}

} // namespace compressor
