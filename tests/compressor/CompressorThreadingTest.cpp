// Parameter changes from another thread while the audio thread processes: every block must
// see a consistent set of working values, so the output stays finite and bounded.

#include "compressor/CompressorFilter.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")

TEST (CompressorThreading, ParameterStormDuringProcessingKeepsTheOutputBounded)
{
    compressor::CompressorFilter c;
    c.setParameter (14, 1.0f);
    c.prepareToPlay (48000.0, 1024);

    std::atomic<bool> done { false };
    std::atomic<int> changes { 0 };

    std::thread storm ([&]
    {
        juce::Random random (99);
        const double rates[] = { 8000.0, 44100.0, 96000.0, 192000.0 };
        juce::MemoryBlock state;

        while (! done.load())
        {
            // Every index but the filtered solo, the filter type (with its detector reset) and
            // bypass included; the switches are on half the time, bypass an eighth of it.
            // Solo stays off: it outputs the key through a filter whose coefficients jump
            // with every change while its memory is kept, so its transients have no simple
            // bound, whereas the compressed output is at most the input times the largest
            // gain.
            int index = random.nextInt (15);
            index += index >= 9 ? 1 : 0;
            const bool isSwitch = index >= 12;
            const bool off = isSwitch && random.nextInt (index == 13 ? 8 : 2) != 0;
            c.setParameter (index, off ? 0.0f : random.nextFloat());
            c.setParameter (6, random.nextFloat());

            const int n = changes.fetch_add (1);

            if (n % 97 == 0)
                c.prepareToPlay (rates[random.nextInt (4)], 1024);

            if (n % 211 == 0)
            {
                c.getStateInformation (state);
                c.setStateInformation (state.getData(), (int) state.getSize());
            }

            juce::ignoreUnused (c.getCurrentGain(), c.getWetGain(), c.getParameterText (3));
        }
    });

    juce::Random random (5);
    juce::AudioBuffer<float> buffer (2, 1024);
    juce::MidiBuffer midi;
    int blocks = 0;
    std::string failure;

    // Input below 1 in magnitude; +40 dB make-up times the soft knee's largest lift of
    // about 1.18, plus the dry part.
    const float bound = 120.0f;

    while (failure.empty() && (blocks < 20000 || changes.load() < 100000))
    {
        const int numSamples = 1 + random.nextInt (1024);
        buffer.setSize (2, numSamples, false, false, true);

        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < numSamples; ++i)
                buffer.setSample (ch, i, 0.2f + 0.8f * (random.nextFloat() * 2.0f - 1.0f));

        c.processBlock (buffer, midi);
        ++blocks;

        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < numSamples; ++i)
            {
                const float y = buffer.getSample (ch, i);

                if (failure.empty() && ! (std::isfinite (y) && std::abs (y) <= bound))
                    failure = std::to_string (y) + " in block " + std::to_string (blocks)
                            + ", channel " + std::to_string (ch) + ", sample " + std::to_string (i);
            }

        if (failure.empty() && ! std::isfinite (c.getCurrentGain()))
            failure = "gain " + std::to_string (c.getCurrentGain());

        if (blocks > 1000000)
            break; // the other thread did not get to run; the checks above still hold
    }

    done = true;
    storm.join();

    EXPECT_TRUE (failure.empty()) << failure;
    EXPECT_GT (changes.load(), 0);
}

JUCE_END_IGNORE_WARNINGS_GCC_LIKE
