#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>

namespace host_support
{
    enum class Format { vst3, lv2 };

    inline const char* nameOf (Format f) { return f == Format::vst3 ? "VST3" : "LV2"; }

    /** Loads the built plug-in through JUCE's own host classes, as a DAW would. */
    inline std::unique_ptr<juce::AudioPluginInstance> load (Format format, double sampleRate, int blockSize, juce::String& error)
    {
        juce::OwnedArray<juce::PluginDescription> types;
        std::unique_ptr<juce::AudioPluginFormat> host;

        if (format == Format::vst3)
        {
            host = std::make_unique<juce::VST3PluginFormat>();
            host->findAllTypesForFile (types, VELORA_VST3_BUNDLE);
        }
        else
        {
            // JUCE's LV2 host knows plug-ins only by URI, found on its search path.
            auto lv2 = std::make_unique<juce::LV2PluginFormat>();
            lv2->searchPathsForPlugins (juce::FileSearchPath (juce::File (VELORA_LV2_BUNDLE).getParentDirectory().getFullPathName()), true, false);
            lv2->findAllTypesForFile (types, VELORA_LV2_URI);
            host = std::move (lv2);
        }

        if (types.isEmpty())
        {
            error = juce::String ("no ") + nameOf (format) + " plug-in found";
            return nullptr;
        }

        return host->createInstanceFromDescription (*types[0], sampleRate, blockSize, error);
    }

    /** The plug-in's own parameters in the plug-in's order, found by name. The wrappers add
        controls of their own (VST3 appends a host bypass and a program change; LV2 puts its
        "enabled" port first) and JUCE's LV2 host lists parameters by URI, not by index. */
    inline juce::Array<juce::AudioProcessorParameter*> pluginParameters (juce::AudioPluginInstance& instance,
                                                                         const juce::StringArray& idsInOrder)
    {
        juce::Array<juce::AudioProcessorParameter*> candidates;

        for (auto* p : instance.getParameters())
        {
            auto* hosted = dynamic_cast<juce::HostedAudioProcessorParameter*> (p);

            if (hosted != nullptr && hosted->getParameterID().startsWith ("sym:"))
                continue; // LV2's own enabled port

            if (candidates.size() < idsInOrder.size())
                candidates.add (p);
        }

        juce::Array<juce::AudioProcessorParameter*> ordered;

        for (const auto& id : idsInOrder)
        {
            juce::AudioProcessorParameter* found = nullptr;

            for (auto* p : candidates)
                if (p->getName (100) == id)
                    found = p;

            ordered.add (found);
        }

        return ordered;
    }
}
