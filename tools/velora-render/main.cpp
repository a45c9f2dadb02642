// velora-render: runs audio through the Velora channel offline (see --help).

#include "RenderJob.h"

#include <juce_events/juce_events.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <iostream>
#include <unistd.h>

int main (int argc, char* argv[])
{
    // The processor's parameter tree and change messages need a message manager.
    juce::ScopedJuceInitialiser_GUI juce;

    juce::StringArray arguments;

    for (int i = 1; i < argc; ++i)
        arguments.add (juce::String::fromUTF8 (argv[i]));

    return RenderJob::run (arguments, std::cout, std::cerr, isatty (STDERR_FILENO) != 0);
}
