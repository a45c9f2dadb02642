#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

/** Passes every result on to the usual display reporter (so --benchmark_format still
    applies) and keeps each benchmark's time per frame: the median over repetitions when
    there are several, the single result otherwise. */
class SummaryReporter final : public benchmark::BenchmarkReporter
{
public:
    SummaryReporter();
    ~SummaryReporter() override;

    bool ReportContext (const Context& context) override;
    void ReportRuns (const std::vector<Run>& runs) override;
    void Finalize() override;

    /** Seconds per stereo frame for a benchmark name, or a negative value when it did not
        run (filtered out or skipped). */
    double timePerFrame (const std::string& name) const;

    /** The skip message of a benchmark, or an empty string. */
    std::string skipMessage (const std::string& name) const;

    /** True once any benchmark has reported (not when only listing them). */
    bool hasResults() const noexcept    { return ! (singleRuns.empty() && medians.empty() && skipped.empty()); }

    /** Repetitions behind the figures, 1 without --benchmark_repetitions. */
    int repetitions() const noexcept    { return repetitionCount; }

private:
    std::unique_ptr<benchmark::BenchmarkReporter> display;
    std::map<std::string, std::vector<double>> singleRuns;
    std::map<std::string, double> medians;
    std::map<std::string, std::string> skipped;
    int repetitionCount = 1;
};
