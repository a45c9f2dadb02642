#include "eq/OrvelEqAudioProcessor.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")

namespace
{
    std::unique_ptr<OrvelEqAudioProcessor> makeEqualiser()
    {
        auto eq = std::make_unique<OrvelEqAudioProcessor>();
        eq->setRandomSeed (99);
        eq->prepareToPlay (96000.0, 512);
        eq->setParameter (1, 0.8f);  // LF +7.2 dB
        eq->setParameter (6, 0.2f);  // MF -7.2 dB
        eq->setParameter (13, 0.6f); // Outgain
        eq->setParameter (18, 1.0f); // high- and low-pass in
        return eq;
    }

    void fill (juce::AudioBuffer<float>& b, int offset)
    {
        for (int ch = 0; ch < b.getNumChannels(); ++ch)
            for (int i = 0; i < b.getNumSamples(); ++i)
                b.setSample (ch, i, (float) std::sin (0.05 * (offset + i) * (ch + 1)) * 0.7f);
    }
}

struct SplitCase
{
    int numChannels;
    int length;
    std::vector<int> pieces;
};

class EqSegments : public ::testing::TestWithParam<SplitCase> {};

TEST_P (EqSegments, PiecesOfABlockGiveTheResultOfTheWholeBlock)
{
    const auto c = GetParam();
    auto whole = makeEqualiser();
    auto pieces = makeEqualiser();
    juce::MidiBuffer midi;

    // Three blocks, so the generator's state after a pieced block is checked too.
    for (int block = 0; block < 3; ++block)
    {
        juce::AudioBuffer<float> a (c.numChannels, c.length), b;
        fill (a, block * c.length);
        b.makeCopyOf (a);

        whole->processBlock (a, midi);

        pieces->beginBlock (c.numChannels, c.length);
        int start = 0;
        for (int length : c.pieces)
        {
            juce::AudioBuffer<float> view (b.getArrayOfWritePointers(), c.numChannels, start, length);
            pieces->processSegment (view);
            start += length;
        }
        pieces->endBlock();

        for (int ch = 0; ch < c.numChannels; ++ch)
            ASSERT_EQ (std::memcmp (a.getReadPointer (ch), b.getReadPointer (ch), sizeof (float) * (size_t) c.length), 0)
                << "block " << block << " channel " << ch;

        EXPECT_EQ (whole->getRandomState(), pieces->getRandomState());
    }
}

INSTANTIATE_TEST_SUITE_P (Splits, EqSegments, ::testing::Values (
    SplitCase { 2, 1000, { 1000 } },
    SplitCase { 2, 1000, { 512, 488 } },
    SplitCase { 2, 1000, { 1, 256, 256, 256, 231 } },
    SplitCase { 1, 777, { 300, 477 } },
    SplitCase { 2, 600, { 0, 600, 0 } }));

JUCE_END_IGNORE_WARNINGS_GCC_LIKE
