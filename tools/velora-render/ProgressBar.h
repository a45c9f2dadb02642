#pragma once

#include <juce_core/juce_core.h>

#include <ostream>

/** A one-line progress bar for a terminal. It stays silent when disabled (the stream
    is not a terminal) and for renders that finish within half a second. */
class ProgressBar final
{
public:
    ProgressBar (std::ostream& stream, bool enabled);
    ~ProgressBar();

    void update (juce::int64 done, juce::int64 total);

    /** Clears the line if anything was drawn. */
    void finish();

    /** "[#########           ]  45%" */
    static juce::String format (double fraction, int barWidth);

private:
    std::ostream& stream;
    bool enabled;
    bool drawn = false;
    double startTime, lastDrawTime = 0.0;

    JUCE_DECLARE_NON_COPYABLE (ProgressBar)
};
