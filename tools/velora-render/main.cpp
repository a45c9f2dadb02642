// velora-render: runs audio through the Velora channel offline (see --help).

#include "RenderJob.h"
#include "common/StoredText.h"

#include <juce_events/juce_events.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <cstring>
#include <iostream>
#include <unistd.h>

int main (int argc, char* argv[])
{
    // The processor's parameter tree and change messages need a message manager.
    juce::ScopedJuceInitialiser_GUI juce;

    juce::StringArray arguments;

    // JUCE's text functions trust their bytes to be UTF-8; an argument that is not is
    // refused before any of them sees it.
    for (int i = 1; i < argc; ++i)
    {
        const auto length = (int) std::strlen (argv[i]);

        if (! StoredText::isValidUtf8 (argv[i], length))
        {
            std::cerr << "velora-render: argument " << i << " is not UTF-8 text\n";
            return RenderJob::usageError;
        }

        arguments.add (juce::String::fromUTF8 (argv[i], length));
    }

    return RenderJob::run (arguments, std::cout, std::cerr, isatty (STDERR_FILENO) != 0);
}
