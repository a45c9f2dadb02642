#pragma once

#include <juce_core/juce_core.h>

#include <ostream>

/** One velora-render run from its arguments to its exit status: everything is checked
    and rendered in memory first, and the files are written only at the end. */
namespace RenderJob
{
    enum ExitStatus
    {
        success = 0,
        fileError = 1,      ///< an input that cannot be read, an output that cannot be written
        usageError = 2      ///< a bad option, identifier or value
    };

    int run (const juce::StringArray& arguments, std::ostream& out, std::ostream& err, bool showProgress);
}
