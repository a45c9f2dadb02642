#pragma once

#include "ParameterCatalogue.h"

#include <juce_audio_processors/juce_audio_processors.h>

/** The plug-in's stored document ("PLUGINSETTINGS" holding the "PARAMETERS" tree) as
    an XML text file. */
namespace StateDocument
{
    /** Reads a document and checks it all: the root element, the parameter tree, every
        PARAM naming a known parameter with a value within 0..1, a program 0..19. */
    juce::Result load (const juce::File& file, const ParameterCatalogue& catalogue,
                       std::unique_ptr<juce::XmlElement>& document);

    /** The same checks on a document's text; name says where it came from in messages. */
    juce::Result parse (const juce::String& text, const juce::String& name, const ParameterCatalogue& catalogue,
                        std::unique_ptr<juce::XmlElement>& document);

    /** Hands a document to the processor the way a host does (binary-wrapped). */
    void apply (const juce::XmlElement& document, juce::AudioProcessor& processor);

    /** The processor's document as XML text. */
    juce::String save (juce::AudioProcessor& processor);
}
