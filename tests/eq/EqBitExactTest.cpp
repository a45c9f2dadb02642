#include "EqReferencePath.h"
#include "eq/OrvelEqAudioProcessor.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")

namespace
{
    using P = EqParameterTable::Index;

    /** Which switches are on, as a bit per switch parameter (index 14 + bit). */
    enum SwitchBits
    {
        bypassBit = 1 << 0,
        lmfBit = 1 << 1,
        mfBit = 1 << 2,
        hmfBit = 1 << 3,
        lphpBit = 1 << 4,
        lowcutBit = 1 << 5,
        lfBit = 1 << 6,
        highcutBit = 1 << 7,
        hfBit = 1 << 8,
        allBands = lmfBit | mfBit | hmfBit | lphpBit | lowcutBit | lfBit | highcutBit | hfBit
    };

    struct BitExactCase
    {
        const char* name;
        int switches;
        int channels;
        std::vector<int> blockSizes;
        float sampleRate;
        juce::int64 seed;
    };

    void PrintTo (const BitExactCase& c, std::ostream* os)
    {
        *os << c.name;
    }

    void fillNoise (juce::AudioBuffer<float>& buffer, juce::Random& random, float level)
    {
        for (int ch = 0; ch < buffer.getNumChannels(); ++ch)
            for (int i = 0; i < buffer.getNumSamples(); ++i)
                buffer.setSample (ch, i, level * (2.0f * random.nextFloat() - 1.0f));
    }

    bool sameBits (float a, float b)
    {
        return std::memcmp (&a, &b, sizeof (float)) == 0;
    }

    void setRandomBandValues (OrvelEqAudioProcessor& eq, juce::Random& random)
    {
        for (int i = 0; i < P::outgain; ++i)
            eq.setParameter (i, random.nextFloat());

        eq.setParameter (P::outgain, 0.3f + 0.4f * random.nextFloat());
        eq.setParameter (P::highpassFreq, random.nextFloat());
        eq.setParameter (P::lowpassFreq, random.nextFloat());
    }

    void setSwitches (OrvelEqAudioProcessor& eq, int switches)
    {
        for (int bit = 0; bit < 9; ++bit)
            eq.setParameter (P::bypass + bit, (switches & (1 << bit)) != 0 ? 1.0f : 0.0f);
    }
}

namespace
{
    /** Runs the case's blocks through the engine and the plain loop, comparing every sample,
        the generator's state after each block and, at the end, the section state. */
    void expectPlainLoopBits (const BitExactCase& tc)
    {
        // Wraps around for the largest seeds, as juce::Random itself does.
        juce::Random values ((juce::int64) ((juce::uint64) tc.seed * 31u + 7u));

        OrvelEqAudioProcessor eq;
        EqReferencePath reference;

        eq.prepareToPlay (tc.sampleRate, 512);
        eq.setRandomSeed (tc.seed);
        reference.random.setSeed (tc.seed);

        for (size_t blockIndex = 0; blockIndex < tc.blockSizes.size(); ++blockIndex)
        {
            // New band values before every block: the state carries over into new coefficients.
            setRandomBandValues (eq, values);
            setSwitches (eq, tc.switches);

            // Switch one band off and on again halfway, so sections resume from frozen state.
            if (blockIndex == 1 && (tc.switches & lfBit) != 0)
                eq.setParameter (P::lfIn, 0.0f);

            const int numSamples = tc.blockSizes[blockIndex];
            juce::AudioBuffer<float> input (tc.channels, numSamples);
            fillNoise (input, values, blockIndex == 2 ? 1.0f : 0.5f);

            juce::AudioBuffer<float> actual (input), expected (input);
            juce::MidiBuffer midi;

            eq.processBlock (actual, midi);
            reference.process (expected, eq.getCurrentDesign());

            for (int ch = 0; ch < tc.channels; ++ch)
                for (int i = 0; i < numSamples; ++i)
                    ASSERT_TRUE (sameBits (actual.getSample (ch, i), expected.getSample (ch, i)))
                        << tc.name << ": block " << blockIndex << " channel " << ch << " sample " << i << ": "
                        << actual.getSample (ch, i) << " vs " << expected.getSample (ch, i);

            ASSERT_EQ (eq.getRandomState(), reference.random.getSeed()) << tc.name << ": block " << blockIndex;
        }

        // The frozen and running section state matches too, to the bit.
        for (int ch = 0; ch < std::min (2, tc.channels); ++ch)
            for (int s = 0; s < EqDesign::numSections; ++s)
            {
                const auto state = eq.getSignalPath().getSectionState (ch, s);
                const auto& r = reference.sections[ch][s];
                EXPECT_EQ (state[0], r.x1) << tc.name;
                EXPECT_EQ (state[1], r.x2) << tc.name;
                EXPECT_EQ (state[2], r.y1) << tc.name;
                EXPECT_EQ (state[3], r.y2) << tc.name;
            }
    }

    using Kernel = EqSignalPath::Kernel;

    const char* nameOf (Kernel k)
    {
        switch (k)
        {
            case Kernel::sse2:   return "sse2";
            case Kernel::avx:    return "avx";
            case Kernel::avx2:   return "avx2";
            case Kernel::avx512: return "avx512";
        }

        return "?";
    }

    /** Runs a test on the given kernels and goes back to the widest afterwards. */
    class KernelChoice
    {
    public:
        explicit KernelChoice (Kernel k) : available (EqSignalPath::useKernel (k) == k) {}
        ~KernelChoice() { EqSignalPath::useKernel (Kernel::avx512); }

        const bool available;
    };

    using KernelCase = std::tuple<BitExactCase, Kernel>;
}

class EqBitExact : public ::testing::TestWithParam<KernelCase> {};

TEST_P (EqBitExact, PipelinedPassMatchesThePlainLoop)
{
    const auto& [tc, kernel] = GetParam();
    const KernelChoice choice (kernel);

    if (! choice.available)
        GTEST_SKIP() << "this processor has no " << nameOf (kernel);

    expectPlainLoopBits (tc);
}

// Every combination of the nine switches, so each count of active sections and each way the
// sections split into groups runs, on both layouts and on blocks long enough to fill, run
// and drain the pipelines and cross a chunk boundary.
class EqBitExactSwitches : public ::testing::TestWithParam<Kernel> {};

TEST_P (EqBitExactSwitches, EveryCombinationMatchesThePlainLoop)
{
    const KernelChoice choice (GetParam());

    if (! choice.available)
        GTEST_SKIP() << "this processor has no " << nameOf (GetParam());

    for (int switches = 0; switches < 512; ++switches)
    {
        for (int channels : { 1, 2 })
        {
            const auto name = "switches " + std::to_string (switches) + ", " + std::to_string (channels) + " channel(s)";
            expectPlainLoopBits ({ name.c_str(), switches, channels, { 3, 263, 1 }, 48000.0f, switches + 100 });

            if (HasFatalFailure())
                return;
        }
    }
}

INSTANTIATE_TEST_SUITE_P (Kernels, EqBitExactSwitches, ::testing::Values (Kernel::sse2, Kernel::avx, Kernel::avx2, Kernel::avx512),
                          [] (const ::testing::TestParamInfo<Kernel>& p) { return std::string (nameOf (p.param)); });

const BitExactCase bitExactCases[] = {
    BitExactCase { "allBandsStereo",       allBands,                         2, { 512, 512, 512 },     48000.0f,  1 },
    BitExactCase { "allBandsMono",         allBands,                         1, { 512, 7, 512 },       48000.0f,  2 },
    BitExactCase { "fourChannels",         allBands,                         4, { 7, 512, 1 },         44100.0f,  3 },
    BitExactCase { "singleSamples",        allBands,                         2, { 1, 1, 1, 1, 1 },     96000.0f,  4 },
    BitExactCase { "shortBlocks",          allBands,                         2, { 7, 3, 7, 2, 7 },     44100.0f,  5 },
    BitExactCase { "longBlocks",           allBands,                         2, { 4096, 4096, 777 },   192000.0f, 6 },
    BitExactCase { "longMono",             allBands,                         1, { 4096, 300, 4096 },   88200.0f,  7 },
    BitExactCase { "bypassed",             allBands | bypassBit,             2, { 512, 7, 1 },         48000.0f,  8 },
    BitExactCase { "bypassedMono",         bypassBit,                        1, { 512, 7 },            48000.0f,  9 },
    BitExactCase { "nothingOn",            0,                                2, { 512, 1, 7 },         48000.0f,  10 },
    BitExactCase { "filtersMasterOff",     allBands & ~lphpBit,              2, { 512, 7 },            48000.0f,  11 },
    BitExactCase { "lowCutOnly",           lphpBit | lowcutBit,              2, { 512, 7 },            32000.0f,  12 },
    BitExactCase { "highCutOnly",          lphpBit | highcutBit,             2, { 512, 7 },            22050.0f,  13 },
    BitExactCase { "shelvesOnly",          lfBit | hfBit,                    2, { 512, 7, 1 },         48000.0f,  14 },
    BitExactCase { "midsOnly",             lmfBit | mfBit | hmfBit,          2, { 512, 7 },            48000.0f,  15 },
    BitExactCase { "oneMid",               mfBit,                            1, { 1, 512, 7 },         8000.0f,   16 },
    BitExactCase { "lfAndHmf",             lfBit | hmfBit,                   2, { 513, 255, 257 },     48000.0f,  17 },
    BitExactCase { "oneSampleChunks",      allBands,                         2, { 259, 3, 515, 2 },    48000.0f,  21 },
    BitExactCase { "oneSampleChunksMono",  allBands & ~lfBit,                1, { 3, 259, 258 },       44100.0f,  22 },
    BitExactCase { "eightOfNine",          allBands & ~mfBit,                2, { 1000, 24 },          48000.0f,  18 },
    BitExactCase { "defaultsNoFilters",    allBands & ~lphpBit & ~hfBit,     2, { 8192, 5 },           44100.0f,  19 },
    BitExactCase { "largeSeed",            allBands,                         2, { 512, 512 },          48000.0f,  -0x7123456789abcdefLL },
};

INSTANTIATE_TEST_SUITE_P (Settings, EqBitExact,
    ::testing::Combine (::testing::ValuesIn (bitExactCases), ::testing::Values (Kernel::sse2, Kernel::avx, Kernel::avx2, Kernel::avx512)),
    [] (const ::testing::TestParamInfo<KernelCase>& p)
    {
        return std::string (std::get<0> (p.param).name) + "_" + nameOf (std::get<1> (p.param));
    });

JUCE_END_IGNORE_WARNINGS_GCC_LIKE
