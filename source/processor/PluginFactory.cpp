#include "VeloraAudioProcessor.h"

juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new VeloraAudioProcessor();
}
