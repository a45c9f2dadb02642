#pragma once

#include <ostream>

class SummaryReporter;

/** The comparison the team has to win: the whole channel's time per frame against the
    peer chain's, with oversampling on and off. */
namespace SpeedBar
{
    /** The channel with oversampling may take at most this share of the peer's time... */
    inline constexpr double oversampledBar = 0.75;

    /** ...and without oversampling at most this share. */
    inline constexpr double hostRateBar = 0.4;

    enum class Outcome { met, missed, notMeasured };

    /** Prints the medians, the two ratios against the bar, the stage breakdown and the
        settings used. The outcome is notMeasured when a figure the ratios need is absent
        (filtered out, or the peer skipped). */
    Outcome printSummary (std::ostream& out, const SummaryReporter& results);
}
