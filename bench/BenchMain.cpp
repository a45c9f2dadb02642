// One JUCE initialiser around all benchmarks (the processors and the LV2 host need a
// message manager), then the speed-bar summary computed from the measured medians.

#include "PeerChain.h"
#include "SpeedBar.h"
#include "SummaryReporter.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <benchmark/benchmark.h>

#include <iostream>

namespace
{
    /** JSON or CSV on stdout must stay parseable: the summary then goes to stderr. */
    bool tableOnStdout (int argc, char** argv)
    {
        for (int i = 1; i < argc; ++i)
            if (juce::String (argv[i]).startsWith ("--benchmark_format=") && juce::String (argv[i]) != "--benchmark_format=console")
                return false;

        return true;
    }
}

int main (int argc, char** argv)
{
    int status = 0;
    auto& summaryStream = tableOnStdout (argc, argv) ? std::cout : std::cerr;

    {
        juce::ScopedJuceInitialiser_GUI juce;
        benchmark::Initialize (&argc, argv);

        if (benchmark::ReportUnrecognizedArguments (argc, argv))
            return 1;

        SummaryReporter reporter;
        benchmark::RunSpecifiedBenchmarks (&reporter);

        if (reporter.hasResults())
            SpeedBar::printSummary (summaryStream, reporter);

        // An installed peer that does not process as configured makes the comparison
        // meaningless: say so through the exit status too.
        if (PeerChain::failedChecks())
        {
            std::cerr << "VeloraBench: the peer chain failed its checks; no comparison was made\n";
            status = 2;
        }

        PeerChain::releaseShared();
        benchmark::Shutdown();
    }

    return status;
}
