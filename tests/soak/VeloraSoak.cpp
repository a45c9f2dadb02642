// VeloraSoak: hours of host-like use in minutes. Music-like input goes through one processor
// in blocks of random size while parameters, programs, the oversampling switch and stored
// states change at random between blocks; every output sample must be finite and within
// the bound below. Not part of the unit tests (a CTest smoke run keeps it working).
//
//     VeloraSoak [--minutes M] [--seed S] [--rate HZ]

#include "SoakChanges.h"
#include "SoakSignal.h"

#include "processor/VeloraAudioProcessor.h"

#include <juce_events/juce_events.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iostream>

namespace
{
    // With every gain at its top (input +24 dB, the equaliser's output factor +12 dB, every
    // band +12 dB, output +12 dB) the colouring's fifth-order term makes a full-scale input
    // some 2e4 and the bands and the output gain raise that further: the largest peak
    // measured, full-scale noise with the bands at random frequencies and widths, was 5.2e6.
    // Twenty times that leaves room for combinations not measured; an unstable filter or a
    // runaway state passes any such bound within a few blocks.
    constexpr float outputBound = 1.0e8f;

    constexpr int preparedBlockSize = 1024;
    constexpr int longestBlock = 4096;

    struct Options
    {
        double minutes = 60.0;
        juce::int64 seed = 1;
        double sampleRate = 48000.0;
    };

    void printUsage (std::ostream& out)
    {
        out << "usage: VeloraSoak [--minutes M] [--seed S] [--rate HZ]\n"
               "  --minutes M  minutes of audio to push through (fractions allowed; default 60)\n"
               "  --seed S     seed for the input, the block sizes, the changes and the colouring (default 1)\n"
               "  --rate HZ    host sample rate, 8000 to 192000 (default 48000)\n";
    }

    bool parseOptions (int argc, char** argv, Options& options, juce::String& error)
    {
        for (int i = 1; i < argc; ++i)
        {
            const juce::String name (argv[i]);

            if (name == "--help")
                return false;

            if (i + 1 >= argc)
            {
                error = "missing value after " + name;
                return false;
            }

            const juce::String value = juce::String (argv[++i]).trim();
            const bool number = value.isNotEmpty() && value.containsOnly ("0123456789.eE+-");

            if (name == "--minutes" && number && value.getDoubleValue() > 0.0)
                options.minutes = value.getDoubleValue();
            else if (name == "--seed" && value.isNotEmpty() && value.containsOnly ("0123456789-"))
                options.seed = value.getLargeIntValue();
            else if (name == "--rate" && number && value.getDoubleValue() >= 8000.0 && value.getDoubleValue() <= 192000.0)
                options.sampleRate = value.getDoubleValue();
            else
            {
                error = "bad option: " + name + " " + value;
                return false;
            }
        }

        return true;
    }

    /** Host-like block sizes: mostly anything up to the prepared size, sometimes a handful
        of samples, now and then longer than the host announced. */
    int nextBlockSize (juce::Random& random)
    {
        const auto choice = random.nextInt (100);

        if (choice < 2)
            return preparedBlockSize + 1 + random.nextInt (longestBlock - preparedBlockSize);

        if (choice < 10)
            return 1 + random.nextInt (16);

        return 1 + random.nextInt (preparedBlockSize);
    }

    /** FNV-1a over the output bits, so two runs with the same seed can be compared. */
    void hashSamples (std::uint64_t& hash, const float* samples, int numSamples) noexcept
    {
        for (int i = 0; i < numSamples; ++i)
        {
            std::uint32_t bits;
            std::memcpy (&bits, samples + i, sizeof (bits));
            hash = (hash ^ bits) * 0x100000001b3ull;
        }
    }

    juce::String secondsText (double seconds)
    {
        return juce::String (seconds, 3) + " s";
    }
}

int main (int argc, char** argv)
{
    Options options;
    juce::String error;

    if (! parseOptions (argc, argv, options, error))
    {
        if (error.isNotEmpty())
            std::cerr << "VeloraSoak: " << error << "\n";

        printUsage (error.isEmpty() ? std::cout : std::cerr);
        return error.isEmpty() ? 0 : 2;
    }

    // The parameter tree and the change messages need a message manager; no window opens.
    juce::ScopedJuceInitialiser_GUI juce;

    const auto rate = options.sampleRate;
    const auto totalFrames = (juce::int64) std::llround (options.minutes * 60.0 * rate);

    VeloraAudioProcessor processor;
    processor.setRandomSeed (options.seed);
    processor.setPlayConfigDetails (2, 2, rate, preparedBlockSize);
    processor.prepareToPlay (rate, preparedBlockSize);

    // Separate streams, so that changing how one is drawn leaves the others alone.
    SoakSignal signal (options.seed, rate);
    SoakChanges changes (options.seed + 1);
    juce::Random blockSizes (options.seed + 2);

    juce::AudioBuffer<float> storage (2, longestBlock);
    juce::MidiBuffer midi;

    juce::int64 done = 0, blocks = 0, nextChange = changes.nextInterval (rate);
    juce::int64 largestPeakBlock = 0, largestPeakFrame = 0;
    float largestPeak = 0.0f;
    std::uint64_t hash = 0xcbf29ce484222325ull;
    std::chrono::steady_clock::duration processing {};

    std::cout << "VeloraSoak: " << options.minutes << " minutes at " << rate << " Hz stereo, seed " << options.seed
              << ", blocks of 1 to " << preparedBlockSize << " samples (prepared " << preparedBlockSize
              << ", now and then up to " << longestBlock << "), bound " << outputBound << std::endl;

    const auto start = std::chrono::steady_clock::now();

    while (done < totalFrames)
    {
        if (done >= nextChange)
        {
            changes.apply (processor);
            nextChange = done + changes.nextInterval (rate);
        }

        const int numSamples = (int) juce::jmin ((juce::int64) nextBlockSize (blockSizes), totalFrames - done);
        signal.fill (storage.getWritePointer (0), storage.getWritePointer (1), numSamples);
        juce::AudioBuffer<float> block (storage.getArrayOfWritePointers(), 2, numSamples);

        const auto before = std::chrono::steady_clock::now();
        processor.processBlock (block, midi);
        processing += std::chrono::steady_clock::now() - before;

        for (int ch = 0; ch < 2; ++ch)
        {
            const auto* samples = block.getReadPointer (ch);

            for (int i = 0; i < numSamples; ++i)
            {
                const auto magnitude = std::abs (samples[i]);

                if (! (magnitude <= outputBound))
                {
                    std::cerr << "VeloraSoak: FAILED (seed " << options.seed << ", " << rate << " Hz) at block " << blocks << " (" << numSamples << " samples), "
                              << secondsText ((double) (done + i) / rate) << " into the audio, channel " << ch
                              << " sample " << i << ": output " << samples[i] << " is "
                              << (std::isfinite (samples[i]) ? "beyond the bound" : "not finite") << "\n"
                              << "settings: " << SoakChanges::describe (processor) << "\n";
                    return 1;
                }

                if (magnitude > largestPeak)
                {
                    largestPeak = magnitude;
                    largestPeakBlock = blocks;
                    largestPeakFrame = done + i;
                }
            }

            hashSamples (hash, samples, numSamples);
        }

        done += numSamples;
        ++blocks;
    }

    const auto wall = std::chrono::duration<double> (std::chrono::steady_clock::now() - start).count();
    const auto inBlocks = std::chrono::duration<double> (processing).count();
    const auto audioSeconds = (double) done / rate;
    const auto& counts = changes.getCounts();

    char hashText[32];
    std::snprintf (hashText, sizeof (hashText), "%016llx", (unsigned long long) hash);

    std::cout << "audio:             " << juce::String (audioSeconds / 60.0, 2) << " minutes (" << done << " frames)\n"
              << "blocks:            " << blocks << "\n"
              << "parameter changes: " << counts.total() << " (" << counts.values << " values, " << counts.programs
              << " programs, " << counts.oversamplingToggles << " oversampling toggles, " << counts.stateRoundTrips
              << " state round trips, " << counts.stateRecalls << " earlier states loaded)\n"
              << "largest peak:      " << largestPeak << " (block " << largestPeakBlock << ", "
              << secondsText ((double) largestPeakFrame / rate) << " into the audio)\n"
              << "output hash:       " << hashText << "\n"
              << "wall time:         " << secondsText (wall) << " (" << secondsText (inBlocks) << " in processBlock)\n"
              << "throughput:        " << juce::String (audioSeconds / wall, 1) << " x real time, "
              << juce::String (wall * 1.0e9 / (double) done, 1) << " ns per frame; processBlock alone "
              << juce::String (audioSeconds / inBlocks, 1) << " x real time, "
              << juce::String (inBlocks * 1.0e9 / (double) done, 1) << " ns per frame\n"
              << "result:            passed, every sample finite and within " << outputBound << std::endl;

    return 0;
}
