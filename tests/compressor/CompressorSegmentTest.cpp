#include "compressor/CompressorFilter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")

namespace
{
    std::unique_ptr<compressor::CompressorFilter> makeCompressor (bool softKnee)
    {
        auto c = std::make_unique<compressor::CompressorFilter>();
        c->prepareToPlay (96000.0, 512);
        c->setParameter (0, 0.2f);  // threshold -32 dB
        c->setParameter (1, 0.8f);
        c->setParameter (6, 0.5f);  // high-pass side chain
        c->setParameter (15, softKnee ? 1.0f : 0.0f);
        return c;
    }
}

class CompressorSegments : public ::testing::TestWithParam<bool> {};

TEST_P (CompressorSegments, PiecesOfABlockGiveTheResultOfTheWholeBlock)
{
    auto whole = makeCompressor (GetParam());
    auto pieces = makeCompressor (GetParam());
    juce::MidiBuffer midi;
    const int length = 1500;

    // The last block fades to silence, so the block-end step has something to flush.
    for (int block = 0; block < 4; ++block)
    {
        juce::AudioBuffer<float> a (2, length), b;
        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < length; ++i)
                a.setSample (ch, i, block == 3 ? 0.0f : 0.5f * (float) std::sin (0.03 * (block * length + i) + ch));
        b.makeCopyOf (a);

        whole->processBlock (a, midi);

        pieces->beginBlock();
        for (int start = 0; start < length; start += 700)
        {
            juce::AudioBuffer<float> view (b.getArrayOfWritePointers(), 2, start, juce::jmin (700, length - start));
            pieces->processSegment (view);
        }
        pieces->endBlock();

        for (int ch = 0; ch < 2; ++ch)
            ASSERT_EQ (std::memcmp (a.getReadPointer (ch), b.getReadPointer (ch), sizeof (float) * (size_t) length), 0) << block;

        EXPECT_EQ (whole->getEnvelope(), pieces->getEnvelope());
        EXPECT_EQ (whole->getCurrentGain(), pieces->getCurrentGain());
        EXPECT_EQ (whole->getParameter (10), pieces->getParameter (10));
    }
}

INSTANTIATE_TEST_SUITE_P (Knees, CompressorSegments, ::testing::Bool());

JUCE_END_IGNORE_WARNINGS_GCC_LIKE
