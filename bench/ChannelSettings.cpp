#include "ChannelSettings.h"

#include "processor/VeloraAudioProcessor.h"

#include <cstdio>
#include <cstdlib>

namespace
{
    struct Setting
    {
        const char* id;
        float value;
        const char* meaning;
    };

    const Setting wholeChannel[] = {
        { "inputGain", 0.5417f, "+2 dB" },
        { "outputGain", 0.735f, "-2 dB" },

        { "gateOn", 1.0f, "" },
        { "gateThreshold", 0.4f, "-60 dB, below the programme" },
        { "gateRange", 0.5f, "-26.5 dB floor" },
        { "gateAttack", 0.2f, "" },
        { "gateRelease", 0.3f, "" },

        { "compOn", 1.0f, "" },
        { "compThreshold", 0.3f, "-28 dB" },
        { "compRatio", 0.6f, "2.2:1" },
        { "compAttack", 0.2f, "" },
        { "compRelease", 0.5f, "" },

        { "eqOn", 1.0f, "" },
        { "Bypass", 0.0f, "" },
        { "LPHP_In", 1.0f, "" },
        { "Lowcut_In", 1.0f, "" },
        { "Highcut_In", 1.0f, "" },
        { "LF_In", 1.0f, "" },
        { "LMF_In", 1.0f, "" },
        { "MF_In", 1.0f, "" },
        { "HMF_In", 1.0f, "" },
        { "HF_In", 1.0f, "" },
        { "HighpassFreq", 0.3684f, "80 Hz" },
        { "LowpassFreq", 0.7647f, "18 kHz" },
        { "LowGain", 0.625f, "+3 dB" },
        { "LowMidGain", 0.4167f, "-2 dB" },
        { "MidGain", 0.5833f, "+2 dB" },
        { "HighMidGain", 0.375f, "-3 dB" },
        { "HighGain", 0.5833f, "+2 dB" },
        { "Outgain", 0.4583f, "-1 dB" },

        { "compBeforeEq", 0.0f, "equaliser first" },
        { "phaseInvert", 0.0f, "" },
    };

    void set (VeloraAudioProcessor& processor, const char* id, float value)
    {
        auto* parameter = processor.getParameterTree().getParameter (id);

        // A renamed parameter would silently leave a stage at its default.
        if (parameter == nullptr)
        {
            std::fprintf (stderr, "VeloraBench: the channel has no parameter \"%s\"\n", id);
            std::abort();
        }

        parameter->setValueNotifyingHost (value);
    }
}

namespace ChannelSettings
{
    void applyWholeChannel (VeloraAudioProcessor& processor, bool oversampled)
    {
        for (const auto& setting : wholeChannel)
            set (processor, setting.id, setting.value);

        set (processor, "oversampling", oversampled ? 1.0f : 0.0f);
    }

    void applyStagesOff (VeloraAudioProcessor& processor)
    {
        for (auto* id : { "eqOn", "gateOn", "compOn", "oversampling" })
            set (processor, id, 0.0f);
    }

    juce::StringArray describeWholeChannel()
    {
        juce::StringArray lines;

        for (const auto& setting : wholeChannel)
            lines.add (juce::String ("  ") + setting.id + " = " + juce::String (setting.value, 4)
                       + (juce::String (setting.meaning).isNotEmpty() ? juce::String (" (") + setting.meaning + ")" : juce::String()));

        lines.add ("  oversampling = 1 or 0");
        return lines;
    }
}
