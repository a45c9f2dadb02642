// One JUCE initialiser around all benchmarks: the processors need a message manager.

#include <juce_gui_basics/juce_gui_basics.h>

#include <benchmark/benchmark.h>

int main (int argc, char** argv)
{
    juce::ScopedJuceInitialiser_GUI juce;
    benchmark::Initialize (&argc, argv);

    if (benchmark::ReportUnrecognizedArguments (argc, argv))
        return 1;

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
