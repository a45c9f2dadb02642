// The block loop against the literal per-sample version, bit for bit, over settings,
// channel layouts, key modes, knees and block sizes.

#include "ReferenceCompressor.h"
#include "compressor/CompressorFilter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")

namespace
{
    struct Settings
    {
        const char* name;
        double sampleRate;
        float threshold, ratio, level, attack, release, mix, filterType, freq, width;
        bool filteredSolo;
    };

    const Settings settingsTable[] = {
        { "defaults",          44100.0, 0.6f, 0.4f,  0.0f,  0.2f, 0.5f, 1.0f, 0.0f,  0.5f, 0.5f, false },
        { "lowPassFast",       48000.0, 0.3f, 1.0f,  0.3f,  0.0f, 0.0f, 1.0f, 0.25f, 0.3f, 0.7f, false },
        { "highPassHalfMix",   96000.0, 0.2f, 0.7f,  0.5f,  0.5f, 0.2f, 0.5f, 0.5f,  0.8f, 0.2f, false },
        { "bandPassDry",      192000.0, 0.9f, 0.2f,  1.0f,  1.0f, 1.0f, 0.0f, 0.75f, 0.5f, 0.5f, false },
        { "skirtLowRate",       8000.0, 0.4f, 1.0f,  0.0f,  0.1f, 0.0f, 1.0f, 1.0f,  0.2f, 1.0f, false },
        { "deepThreshold",      8000.0, 0.0f, 1.0f,  0.2f,  0.0f, 0.0f, 0.7f, 0.0f,  0.5f, 0.5f, false },
        { "soloHighPass",      44100.0, 0.5f, 0.5f,  0.0f,  0.3f, 0.3f, 1.0f, 0.5f,  0.6f, 0.4f, true },
        { "soloFilterOff",     22050.0, 0.5f, 0.9f,  0.1f,  0.0f, 0.1f, 0.8f, 0.0f,  0.5f, 0.5f, true },
    };

    constexpr int signalLength = 3 * 4096 + 123;

    /** Per channel a different mixture: tone and noise, a fade towards silence, digital
        silence long enough for the envelope flush, then bursts that alternate per channel.
    */
    juce::AudioBuffer<float> makeSignal (int numChannels)
    {
        juce::AudioBuffer<float> signal (numChannels, signalLength);
        juce::Random random (1234);

        for (int ch = 0; ch < numChannels; ++ch)
        {
            const double frequency = 0.011 + 0.017 * ch;

            for (int i = 0; i < signalLength; ++i)
            {
                const double tone = std::sin (6.283185307179586 * frequency * i);
                const double noise = random.nextFloat() * 2.0 - 1.0;
                double amplitude;

                if (i < 2000)       amplitude = 0.9 - 0.15 * ch;
                else if (i < 5000)  amplitude = std::pow (1.0e-6, (i - 2000) / 3000.0);
                else if (i < 8000)  amplitude = 0.0;
                else                amplitude = ((i / (300 + 50 * ch)) % 2 == 0) ? 0.8 : 0.003;

                signal.setSample (ch, i, (float) (amplitude * (0.7 * tone + 0.3 * noise)));
            }
        }

        return signal;
    }

    bool sameBits (float a, float b)
    {
        return std::memcmp (&a, &b, sizeof (float)) == 0;
    }

    using ReferenceCase = std::tuple<Settings, int, bool, bool>; // settings, channels, key, soft knee
}

class CompressorAgainstReference : public ::testing::TestWithParam<ReferenceCase> {};

TEST_P (CompressorAgainstReference, EveryBlockSizeGivesTheLiteralAlgorithmsBits)
{
    const auto& [settings, numChannels, key, softKnee] = GetParam();
    const auto input = makeSignal (numChannels);

    for (int blockSize : { 1, 7, 512, 4096 })
    {
        compressor::CompressorFilter c;
        c.setParameter (14, 1.0f);
        c.prepareToPlay (settings.sampleRate, blockSize);

        const float values[] = { settings.threshold, settings.ratio, settings.level, settings.attack,
                                 settings.release, settings.mix, settings.filterType, settings.freq, settings.width };
        for (int i = 0; i < 9; ++i)
            c.setParameter (i, values[i]);

        c.setParameter (9, settings.filteredSolo ? 1.0f : 0.0f);
        c.setParameter (12, key ? 1.0f : 0.0f);
        c.setParameter (15, softKnee ? 1.0f : 0.0f);

        testing_support::ReferenceCompressor reference;
        juce::AudioBuffer<float> block (numChannels, blockSize), expected (numChannels, blockSize);
        juce::MidiBuffer midi;
        bool changedHalfway = false;

        for (int start = 0; start < signalLength; start += blockSize)
        {
            // Halfway a new ratio and a filter-type write, which restarts the detector.
            if (! changedHalfway && start >= signalLength / 2)
            {
                c.setParameter (1, 1.0f - settings.ratio);
                c.setParameter (6, settings.filterType);
                reference.resetDetector();
                changedHalfway = true;
            }

            const int num = std::min (blockSize, signalLength - start);
            block.setSize (numChannels, num, false, false, true);
            expected.setSize (numChannels, num, false, false, true);

            for (int ch = 0; ch < numChannels; ++ch)
            {
                block.copyFrom (ch, 0, input, ch, start, num);
                expected.copyFrom (ch, 0, input, ch, start, num);
            }

            reference.processBlock (expected, c.getWorkingValues());
            c.processBlock (block, midi);

            for (int ch = 0; ch < numChannels; ++ch)
                for (int i = 0; i < num; ++i)
                    if (! sameBits (block.getSample (ch, i), expected.getSample (ch, i)))
                        FAIL() << "block size " << blockSize << ", channel " << ch << ", sample " << start + i
                               << ": " << block.getSample (ch, i) << " instead of " << expected.getSample (ch, i);

            ASSERT_TRUE (sameBits (c.getCurrentGain(), reference.currentGain)) << "block size " << blockSize << " at " << start;
            ASSERT_TRUE (sameBits (c.getEnvelope(), reference.envelope)) << "block size " << blockSize << " at " << start;
            ASSERT_TRUE (sameBits (c.getParameter (10), reference.levelFollower)) << "block size " << blockSize << " at " << start;
        }
    }
}

INSTANTIATE_TEST_SUITE_P (SettingsLayoutsAndKnees, CompressorAgainstReference,
    ::testing::Combine (::testing::ValuesIn (settingsTable),
                        ::testing::Values (1, 2, 3, 4, 5),
                        ::testing::Bool(),
                        ::testing::Bool()),
    [] (const ::testing::TestParamInfo<ReferenceCase>& caseInfo)
    {
        return std::string (std::get<0> (caseInfo.param).name)
             + "_" + std::to_string (std::get<1> (caseInfo.param)) + "ch"
             + (std::get<2> (caseInfo.param) ? "_key" : "")
             + (std::get<3> (caseInfo.param) ? "_soft" : "_hard");
    });

JUCE_END_IGNORE_WARNINGS_GCC_LIKE
