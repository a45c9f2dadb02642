// velora-render's command line: every --set value a user can type, and the options
// around it.

#include "FuzzSupport.h"
#include "ParameterCatalogue.h"
#include "RenderOptions.h"
#include "common/StoredText.h"
#include "processor/VeloraAudioProcessor.h"

namespace
{
    struct Rig
    {
        VeloraAudioProcessor processor;
        ParameterCatalogue catalogue { processor };
    };


    /** The first byte chooses the form: a "--set" with the rest as its value, or the rest
        as a whole command line, one argument per line. */
    juce::StringArray argumentsFrom (const std::uint8_t* data, std::size_t size)
    {
        if (size == 0)
            return {};

        // The program refuses arguments that are not UTF-8 before parsing anything.
        const auto text = StoredText::fromUtf8 (reinterpret_cast<const char*> (data + 1), (int) size - 1);

        if ((data[0] & 1) != 0)
            return { "--set", text };

        return juce::StringArray::fromLines (text);
    }
}

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, std::size_t size)
{
    auto& r = fuzzing::sharedRig<Rig>();
    const auto parse = parseRenderOptions (argumentsFrom (data, size), r.catalogue);

    if (! parse.ok())
    {
        fuzzing::require (parse.error.isNotEmpty(), "a refusal says why");
        return 0;
    }

    for (const auto& setting : parse.options.settings)
    {
        const auto* entry = r.catalogue.find (setting.id);
        fuzzing::require (entry != nullptr, "an accepted --set names a parameter");

        for (const double rate : { 8000.0, 48000.0, 192000.0 })
        {
            float normalised = -1.0f;
            const auto resolved = resolveParameterValue (*entry, setting.value, rate, normalised);

            if (resolved.wasOk())
                fuzzing::require (normalised >= 0.0f && normalised <= 1.0f, "a resolved value is normalised");
            else
                fuzzing::require (resolved.getErrorMessage().isNotEmpty(), "a refused value says why");
        }
    }

    fuzzing::require (parse.options.blockSize >= 1 && parse.options.blockSize <= RenderOptions::maximumBlockSize,
                      "the block size is one the renderer can play");
    return 0;
}
