#include "HostParameters.h"

#include "compressor/CompressorFilter.h"
#include "eq/OrvelEqAudioProcessor.h"

namespace HostParameters
{

namespace
{
    // Every host parameter is a plain 0..1 value: normalised and stored value coincide.
    std::unique_ptr<juce::RangedAudioParameter> makeFloat (const juce::String& id, float defaultValue)
    {
        return std::make_unique<juce::AudioParameterFloat> (juce::ParameterID { id, 1 }, id,
                                                            juce::NormalisableRange<float> (0.0f, 1.0f, 0.0f, 1.0f, false),
                                                            defaultValue);
    }

    std::unique_ptr<juce::RangedAudioParameter> makeSwitch (const juce::String& id, bool defaultValue)
    {
        return std::make_unique<juce::AudioParameterBool> (juce::ParameterID { id, 1 }, id, defaultValue);
    }
}

juce::AudioProcessorValueTreeState::ParameterLayout createLayout (compressor::CompressorFilter& compressorEngine,
                                                                  OrvelEqAudioProcessor& eqEngine)
{
    juce::AudioProcessorValueTreeState::ParameterLayout layout;

    JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")
    layout.add (makeFloat (compThreshold, compressorEngine.getParameter (compressorThresholdIndex)),
                makeFloat (compRatio,     compressorEngine.getParameter (compressorRatioIndex)),
                makeFloat (compAttack,    compressorEngine.getParameter (compressorAttackIndex)),
                makeFloat (compRelease,   compressorEngine.getParameter (compressorReleaseIndex)));

    // The host list follows whatever the equaliser reports, name for name.
    for (int i = 0; i < eqEngine.getNumParameters(); ++i)
        layout.add (makeFloat (eqEngine.getParameterName (i), eqEngine.getParameter (i)));
    JUCE_END_IGNORE_WARNINGS_GCC_LIKE

    layout.add (makeFloat (gateThreshold, 0.5f),
                makeFloat (gateRange,     0.5f),
                makeFloat (gateAttack,    0.5f),
                makeFloat (gateRelease,   0.5f),
                makeFloat (inputGain,     0.5f),
                makeFloat (outputGain,    0.75f));

    layout.add (makeSwitch (eqOn,         true),
                makeSwitch (compOn,       false),
                makeSwitch (gateOn,       false),
                makeSwitch (compBeforeEq, false),
                makeSwitch (oversampling, true),
                makeSwitch (phaseInvert,  false));

    return layout;
}

} // namespace HostParameters
