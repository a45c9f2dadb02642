// velora-render's --state-in: a document a user wrote or edited by hand.

#include "FuzzSupport.h"
#include "ParameterCatalogue.h"
#include "StateDocument.h"
#include "common/StoredText.h"
#include "processor/VeloraAudioProcessor.h"

#include <cstdlib>

namespace
{
    struct Rig
    {
        Rig()   { processor.getStateInformation (defaults); }

        VeloraAudioProcessor processor, reference;
        ParameterCatalogue catalogue { processor };
        juce::MemoryBlock defaults;
    };
}

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, std::size_t size)
{
    auto& r = fuzzing::sharedRig<Rig>();
    // As the renderer reads a file: bytes that are not UTF-8 never reach the parser.
    const auto text = StoredText::fromUtf8 (reinterpret_cast<const char*> (data), (int) size);

    std::unique_ptr<juce::XmlElement> document;
    const auto loaded = StateDocument::parse (text, "fuzz input", r.catalogue, document);

    if (loaded.failed())
    {
        fuzzing::require (loaded.getErrorMessage().isNotEmpty() && document == nullptr, "a refused file says why and gives nothing");
        return 0;
    }

    fuzzing::require (document != nullptr, "an accepted file gives a document");

    // What the renderer accepted, the plug-in takes in full: every value it names.
    r.processor.setStateInformation (r.defaults.getData(), (int) r.defaults.getSize());
    StateDocument::apply (*document, r.processor);

    if (const auto* tree = document->getChildByName ("PARAMETERS"))
    {
        for (const auto* param : tree->getChildWithTagNameIterator ("PARAM"))
        {
            auto* parameter = r.processor.getParameterTree().getParameter (param->getStringAttribute ("id"));
            fuzzing::require (parameter != nullptr, "an accepted parameter exists");

            // The last mention of an identifier wins, as in the plug-in's own reading.
            const auto* last = param;

            for (const auto* other : tree->getChildWithTagNameIterator ("PARAM"))
                if (other->getStringAttribute ("id") == param->getStringAttribute ("id"))
                    last = other;

            // The value as a host setting the same number would leave it (switches and
            // stepped controls keep their own form of it).
            const auto number = (float) std::strtod (last->getStringAttribute ("value").trim().toRawUTF8(), nullptr);
            auto* expected = r.reference.getParameterTree().getParameter (param->getStringAttribute ("id"));
            expected->setValue (number);
            fuzzing::require (parameter->getValue() == expected->getValue(), "the plug-in holds the value the file gives");
        }
    }

    return 0;
}
