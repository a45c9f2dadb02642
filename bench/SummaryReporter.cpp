#include "SummaryReporter.h"

#include "FrameCounters.h"

#include <algorithm>

SummaryReporter::SummaryReporter()
    : display (benchmark::CreateDefaultDisplayReporter())
{
}

SummaryReporter::~SummaryReporter() = default;

bool SummaryReporter::ReportContext (const Context& context)
{
    display->SetOutputStream (&GetOutputStream());
    display->SetErrorStream (&GetErrorStream());
    return display->ReportContext (context);
}

void SummaryReporter::ReportRuns (const std::vector<Run>& runs)
{
    for (const auto& run : runs)
    {
        const auto& name = run.run_name.function_name;
        repetitionCount = std::max (repetitionCount, (int) run.repetitions);

        if (run.error_occurred)
        {
            skipped[name] = run.error_message;
            continue;
        }

        const auto counter = run.counters.find (FrameCounters::timePerFrame);

        if (counter == run.counters.end())
            continue;

        if (run.run_type == Run::RT_Aggregate)
        {
            if (run.aggregate_name == "median")
                medians[name] = counter->second.value;
        }
        else
        {
            singleRuns[name].push_back (counter->second.value);
        }
    }

    display->ReportRuns (runs);
}

void SummaryReporter::Finalize()
{
    display->Finalize();
}

double SummaryReporter::timePerFrame (const std::string& name) const
{
    if (const auto median = medians.find (name); median != medians.end())
        return median->second;

    const auto found = singleRuns.find (name);

    if (found == singleRuns.end() || found->second.empty())
        return -1.0;

    auto values = found->second;
    std::sort (values.begin(), values.end());
    const auto n = values.size();
    return n % 2 == 1 ? values[n / 2] : 0.5 * (values[n / 2 - 1] + values[n / 2]);
}

std::string SummaryReporter::skipMessage (const std::string& name) const
{
    const auto found = skipped.find (name);
    return found != skipped.end() ? found->second : std::string();
}
