// Which channels drive the detector, which carry audio, which are silenced or left alone,
// for one to five channels with the key mode off and on; and the filtered-solo output.

#include "CompressorTestRig.h"

#include <gtest/gtest.h>

using testing_support::CompressorRig;

namespace
{
    constexpr unsigned bit (int ch) { return 1u << ch; }

    struct RoutingCase
    {
        int numChannels;
        bool key;
        unsigned detector;   // channels that drive the detector
        unsigned audio;      // channels that receive the gain
        unsigned silenced;   // channels that leave as silence
        unsigned untouched;  // channels left exactly as they came
        int soloSource0;     // the channel whose filtered signal replaces channel 0 in solo
        int soloSource1;     // the same for channel 1; -1: silence, -2: there is no channel 1
    };

    std::ostream& operator<< (std::ostream& os, const RoutingCase& c)
    {
        return os << c.numChannels << " channels, key " << (c.key ? "on" : "off");
    }

    const RoutingCase routingTable[] = {
        { 1, false, bit (0),           bit (0),           0,       0,                           0, -2 },
        { 1, true,  bit (0),           bit (0),           0,       0,                           0, -2 },
        { 2, false, bit (0) | bit (1), bit (0) | bit (1), 0,       0,                           0,  1 },
        { 2, true,  bit (1),           bit (0),           bit (1), 0,                           1, -1 },
        { 3, false, bit (0) | bit (1), bit (0) | bit (1), 0,       bit (2),                     0,  1 },
        { 3, true,  bit (2),           bit (0) | bit (1), 0,       bit (2),                     2, -1 },
        { 4, false, bit (0) | bit (1), bit (0) | bit (1), 0,       bit (2) | bit (3),           0,  1 },
        { 4, true,  bit (2) | bit (3), bit (0) | bit (1), 0,       bit (2) | bit (3),           2,  3 },
        { 5, false, bit (0) | bit (1), bit (0) | bit (1), 0,       bit (2) | bit (3) | bit (4), 0,  1 },
        { 5, true,  bit (2),           bit (0) | bit (1), 0,       bit (2) | bit (3) | bit (4), 2, -1 },
    };

    constexpr int numSamples = 4096;

    /** Channel `loud` at 0.9, every other channel far below the threshold, each at its own pitch. */
    juce::AudioBuffer<float> probe (int numChannels, int loud)
    {
        juce::AudioBuffer<float> buffer (numChannels, numSamples);

        for (int ch = 0; ch < numChannels; ++ch)
            for (int i = 0; i < numSamples; ++i)
                buffer.setSample (ch, i, (ch == loud ? 0.9f : 0.001f) * (float) std::sin (0.01 * (ch + 1) * i + 0.3));

        return buffer;
    }

    double rms (const juce::AudioBuffer<float>& b, int ch, int from)
    {
        double sum = 0.0;
        for (int i = from; i < b.getNumSamples(); ++i)
            sum += (double) b.getSample (ch, i) * b.getSample (ch, i);
        return std::sqrt (sum / (b.getNumSamples() - from));
    }
}

class CompressorRouting : public ::testing::TestWithParam<RoutingCase> {};

TEST_P (CompressorRouting, EachChannelPlaysItsRole)
{
    const auto c = GetParam();

    for (int loud = 0; loud < c.numChannels; ++loud)
    {
        SCOPED_TRACE ("loud channel " + std::to_string (loud));

        // Threshold -36 dB, 10:1, fast attack: the loud channel is squashed if it is heard.
        CompressorRig rig (44100.0, { { 0, 0.2f }, { 1, 1.0f }, { 3, 0.0f }, { 12, c.key ? 1.0f : 0.0f } });
        const auto input = probe (c.numChannels, loud);
        auto output = input;
        rig.process (output);

        const bool heard = (c.detector & bit (loud)) != 0;

        if (heard)
            EXPECT_LT (rig.compressor.getCurrentGain(), 0.1f);
        else
            EXPECT_EQ (rig.compressor.getCurrentGain(), 1.0f);

        for (int ch = 0; ch < c.numChannels; ++ch)
        {
            SCOPED_TRACE ("channel " + std::to_string (ch));

            if ((c.untouched & bit (ch)) != 0)
            {
                EXPECT_TRUE (testing_support::sameBits (output, ch, input, ch));
            }
            else if ((c.silenced & bit (ch)) != 0)
            {
                EXPECT_EQ (output.getMagnitude (ch, 0, numSamples), 0.0f);
            }
            else
            {
                ASSERT_NE (c.audio & bit (ch), 0u);

                if (heard)
                    EXPECT_LT (rms (output, ch, numSamples / 2), 0.1 * rms (input, ch, numSamples / 2));
                else
                    EXPECT_TRUE (testing_support::sameBits (output, ch, input, ch)); // unity gain, no dry part
            }
        }
    }
}

TEST_P (CompressorRouting, FilteredSoloPutsTheKeysOnTheFirstTwoChannels)
{
    const auto c = GetParam();

    // The filter is off, so the filtered key is the key itself up to double rounding.
    CompressorRig rig (48000.0, { { 0, 0.2f }, { 9, 1.0f }, { 12, c.key ? 1.0f : 0.0f } });

    juce::AudioBuffer<float> input (c.numChannels, numSamples);
    for (int ch = 0; ch < c.numChannels; ++ch)
        for (int i = 0; i < numSamples; ++i)
            input.setSample (ch, i, (0.8f - 0.1f * ch) * (float) std::sin (0.013 * (ch + 1) * i));

    auto output = input;
    rig.process (output);

    auto expectSource = [&] (int ch, int source)
    {
        SCOPED_TRACE ("channel " + std::to_string (ch) + " from " + std::to_string (source));

        for (int i = 0; i < numSamples; ++i)
        {
            const float expected = source >= 0 ? input.getSample (source, i) : 0.0f;
            ASSERT_NEAR (output.getSample (ch, i), expected, 1e-7f) << i;
        }
    };

    expectSource (0, c.soloSource0);

    if (c.soloSource1 != -2)
        expectSource (1, c.soloSource1);

    for (int ch = 2; ch < c.numChannels; ++ch)
        EXPECT_TRUE (testing_support::sameBits (output, ch, input, ch)) << "channel " << ch;

    // The gain is still computed for the meter.
    EXPECT_LT (rig.compressor.getCurrentGain(), 0.5f);
}

INSTANTIATE_TEST_SUITE_P (OneToFiveChannels, CompressorRouting, ::testing::ValuesIn (routingTable));
