#include "ProgressBar.h"

namespace
{
    constexpr double delayMs = 500.0;
    constexpr double redrawIntervalMs = 100.0;
    constexpr int barWidth = 40;
}

ProgressBar::ProgressBar (std::ostream& s, bool e)
    : stream (s), enabled (e), startTime (juce::Time::getMillisecondCounterHiRes())
{
}

ProgressBar::~ProgressBar()
{
    finish();
}

void ProgressBar::update (juce::int64 done, juce::int64 total)
{
    if (! enabled || total <= 0)
        return;

    const double now = juce::Time::getMillisecondCounterHiRes();

    if (now - startTime < delayMs || now - lastDrawTime < redrawIntervalMs)
        return;

    lastDrawTime = now;
    drawn = true;
    stream << "\r" << format ((double) done / (double) total, barWidth) << std::flush;
}

void ProgressBar::finish()
{
    if (! drawn)
        return;

    stream << "\r" << juce::String::repeatedString (" ", barWidth + 8) << "\r" << std::flush;
    drawn = false;
}

juce::String ProgressBar::format (double fraction, int width)
{
    fraction = juce::jlimit (0.0, 1.0, fraction);
    const int filled = (int) (fraction * width);
    const int percent = (int) (fraction * 100.0);

    return "[" + juce::String::repeatedString ("#", filled) + juce::String::repeatedString (" ", width - filled) + "] "
         + juce::String (percent).paddedLeft (' ', 3) + "%";
}
