#include "SpeedBar.h"

#include "BenchmarkNames.h"
#include "ChannelSettings.h"
#include "PeerChain.h"
#include "SummaryReporter.h"

#include <cstdio>
#include <string>

namespace
{
    using namespace BenchmarkNames;

    std::string format (const char* pattern, double a, double b = 0.0, double c = 0.0)
    {
        char text[256];
        std::snprintf (text, sizeof (text), pattern, a, b, c);
        return text;
    }

    /** One line per benchmark: ns per frame and real-time factor at 48 kHz. */
    void printFigure (std::ostream& out, const SummaryReporter& results, const char* name, const char* description)
    {
        const double seconds = results.timePerFrame (name);
        char label[64];
        std::snprintf (label, sizeof (label), "  %-44s", description);
        out << label;

        if (seconds > 0.0)
            out << format ("%8.2f ns/frame   real-time x%.0f", seconds * 1.0e9, 1.0 / (seconds * 48000.0)) << "\n";
        else if (const auto skipped = results.skipMessage (name); ! skipped.empty())
            out << "skipped: " << skipped << "\n";
        else
            out << "not run\n";
    }

    SpeedBar::Outcome printRatio (std::ostream& out, const char* label, double velora, double peer, double bar)
    {
        if (! (velora > 0.0 && peer > 0.0))
        {
            out << "  " << label << ": not measured\n";
            return SpeedBar::Outcome::notMeasured;
        }

        const double ratio = velora / peer;
        const bool met = ratio <= bar;
        out << "  " << label << format (": %.3f   (bar <= %.2f, i.e. <= %.1f ns/frame): ", ratio, bar, bar * peer * 1.0e9)
            << (met ? "met" : "MISSED") << "\n";
        return met ? SpeedBar::Outcome::met : SpeedBar::Outcome::missed;
    }
}

namespace SpeedBar
{
    Outcome printSummary (std::ostream& out, const SummaryReporter& results)
    {
        out << "\nSpeed bar: CPU time per stereo frame, 48 kHz, 512-sample blocks, "
            << (results.repetitions() > 1 ? "median of " + std::to_string (results.repetitions()) + " repetitions"
                                          : std::string ("single run (use --benchmark_repetitions=5 for medians)"))
            << "\n";

        printFigure (out, results, channelOversampled, "Velora whole channel, 2x oversampling");
        printFigure (out, results, channelHostRate, "Velora whole channel, 1x");
        printFigure (out, results, channelDefaults, "Velora at defaults (2x, EQ gains 0 dB)");
        printFigure (out, results, peerChain, "peer chain gate > compressor > EQ x16, 1x");

        out << "\nRatios (Velora / peer):\n";
        const double peer = results.timePerFrame (peerChain);
        const auto oversampled = printRatio (out, "whole channel 2x / peer", results.timePerFrame (channelOversampled), peer, oversampledBar);
        const auto hostRate = printRatio (out, "whole channel 1x / peer", results.timePerFrame (channelHostRate), peer, hostRateBar);

        out << "\nVelora per stage, whole-channel settings, per host frame:\n";
        printFigure (out, results, stageGate, "gate at 2x");
        printFigure (out, results, stageCompressor, "compressor at 2x");
        printFigure (out, results, stageEqualiser, "equaliser at 2x");
        printFigure (out, results, stageHalfBand, "half-band up + down, both channels");
        printFigure (out, results, stageGainsMeters, "gains, bias and meters (stages off, 1x)");

        double sum = 0.0;
        bool complete = true;

        for (auto* name : { stageGate, stageCompressor, stageEqualiser, stageHalfBand, stageGainsMeters })
        {
            const double seconds = results.timePerFrame (name);
            complete = complete && seconds > 0.0;
            sum += seconds;
        }

        if (complete)
        {
            char line[128];
            std::snprintf (line, sizeof (line), "  %-44s%8.2f ns/frame\n", "sum of the stages", sum * 1.0e9);
            out << line;
        }

        out << "\nPeer per plug-in, per frame:\n";
        printFigure (out, results, peerGate, "gate_stereo");
        printFigure (out, results, peerCompressor, "compressor_stereo");
        printFigure (out, results, peerEqualiser, "para_equalizer_x16_stereo");

        out << "\nVelora whole-channel settings (host parameters, 0..1):\n";
        for (const auto& line : ChannelSettings::describeWholeChannel())
            out << line << "\n";

        juce::String peerError;

        bool peerRan = false;

        for (auto* name : { peerChain, peerGate, peerCompressor, peerEqualiser })
            peerRan = peerRan || results.timePerFrame (name) > 0.0;

        if (peerRan)
        {
            if (auto* chain = PeerChain::getShared (peerError))
            {
                out << "\nPeer settings, read back from the hosted parameters, and checks:\n";
                for (const auto& line : chain->getReport())
                    out << line << "\n";
            }
        }

        out.flush();

        if (oversampled == Outcome::notMeasured || hostRate == Outcome::notMeasured)
            return Outcome::notMeasured;

        return oversampled == Outcome::met && hostRate == Outcome::met ? Outcome::met : Outcome::missed;
    }
}
