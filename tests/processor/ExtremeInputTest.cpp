#include "ProcessorTestSupport.h"
#include "compressor/CompressorFilter.h"
#include "editor/FrameStrip.h"
#include "editor/MeterValues.h"
#include "editor/VeloraLookAndFeel.h"
#include "eq/OrvelEqAudioProcessor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <tuple>
#include <vector>

using namespace testing_support;

namespace
{
    const float notANumber = std::numeric_limits<float>::quiet_NaN();
    const float infinity = std::numeric_limits<float>::infinity();

    //==============================================================================
    // Input streams: every sample is a function of its absolute position, so every block
    // size sees the same stream.
    enum class Signal { square50Hz, square1kHz, squareQuarterRate, dcUp, dcDown, whiteNoise, denormals, silence };

    struct SignalCase
    {
        Signal signal;
        const char* name;
        bool loud;      // full scale; the others are at or below the smallest normal number
        bool periodic;  // the state of a running filter cannot settle at exactly zero
    };

    const SignalCase signalCases[] = {
        { Signal::square50Hz, "square 50 Hz", true, true },
        { Signal::square1kHz, "square 1 kHz", true, true },
        { Signal::squareQuarterRate, "square at a quarter of the rate", true, true },
        { Signal::dcUp, "DC +1", true, false },
        { Signal::dcDown, "DC -1", true, false },
        { Signal::whiteNoise, "full-scale white noise", true, true },
        { Signal::denormals, "subnormal numbers", false, false },
        { Signal::silence, "silence", false, false },
    };

    float noiseAt (juce::int64 index, int channel)
    {
        // A hash of the position: uniform in [-1, 1), independent per channel.
        auto x = ((std::uint64_t) index * 2u + (std::uint64_t) channel + 1u) * 0x9e3779b97f4a7c15ull;
        x ^= x >> 31;
        x *= 0xbf58476d1ce4e5b9ull;
        x ^= x >> 29;
        return (float) ((double) (x >> 40) / 8388608.0 - 1.0);
    }

    float squareAt (double frequency, double sampleRate, juce::int64 index)
    {
        return std::fmod ((double) index * frequency / sampleRate, 1.0) < 0.5 ? 1.0f : -1.0f;
    }

    float sampleOf (Signal signal, double sampleRate, juce::int64 index, int channel)
    {
        const float smallest = std::numeric_limits<float>::denorm_min();
        const float tiny[] = { 1.0e-39f, -3.0e-40f, 1.0e-41f, -1.0e-42f, smallest, -smallest, 7.0e-40f, -2.0e-39f };

        switch (signal)
        {
            case Signal::square50Hz:        return squareAt (50.0, sampleRate, index);
            case Signal::square1kHz:        return squareAt (1000.0, sampleRate, index);
            case Signal::squareQuarterRate: return squareAt (sampleRate / 4.0, sampleRate, index);
            case Signal::dcUp:              return 1.0f;
            case Signal::dcDown:            return -1.0f;
            case Signal::whiteNoise:        return noiseAt (index, channel);
            case Signal::denormals:         return tiny[(size_t) ((index + 3 * channel) % 8)];
            case Signal::silence:           break;
        }

        return 0.0f;
    }

    void fillSignal (juce::AudioBuffer<float>& b, Signal signal, double sampleRate, juce::int64 start)
    {
        for (int ch = 0; ch < b.getNumChannels(); ++ch)
            for (int i = 0; i < b.getNumSamples(); ++i)
                b.setSample (ch, i, sampleOf (signal, sampleRate, start + i, ch));
    }

    /** Two partials and a little noise, peaking near -5 dBFS; the channels differ. */
    void fillMusic (juce::AudioBuffer<float>& b, juce::int64 start)
    {
        constexpr double twoPi = 6.283185307179586;

        for (int ch = 0; ch < b.getNumChannels(); ++ch)
            for (int i = 0; i < b.getNumSamples(); ++i)
            {
                const auto n = (double) (start + i);
                const auto v = 0.3 * std::sin (twoPi * 220.0 * n / 48000.0 + 0.7 * ch)
                             + 0.2 * std::sin (twoPi * 1250.0 * n / 48000.0 + 0.3 + 1.1 * ch)
                             + 0.05 * noiseAt (start + i, ch);
                b.setSample (ch, i, (float) v);
            }
    }

    //==============================================================================
    struct Setting
    {
        const char* id;
        float value;
    };

    void apply (VeloraAudioProcessor& p, const std::vector<Setting>& settings)
    {
        for (const auto& s : settings)
            setHostValue (p, s.id, s.value);
    }

    /** Every host parameter but the oversampling switch at 1. */
    void setEveryParameterToItsTop (VeloraAudioProcessor& p)
    {
        for (auto* parameter : p.getParameters())
            if (auto* ranged = dynamic_cast<juce::RangedAudioParameter*> (parameter))
                if (ranged->getParameterID() != "oversampling")
                    ranged->setValueNotifyingHost (1.0f);
    }

    bool metersAreFinite (VeloraAudioProcessor& p)
    {
        auto& compressor = p.getCompressorEngine();
        return std::isfinite (p.getOutputPeakLeft().level) && std::isfinite (p.getOutputPeakRight().level)
            && std::isfinite (p.getGateGain()) && std::isfinite (compressor.getCurrentGain())
            && std::isfinite (compressor.getWetGain());
    }

    std::string meterText (VeloraAudioProcessor& p)
    {
        auto& compressor = p.getCompressorEngine();
        return "peaks " + std::to_string (p.getOutputPeakLeft().level) + " / " + std::to_string (p.getOutputPeakRight().level)
             + ", gate gain " + std::to_string (p.getGateGain()) + ", compressor gain " + std::to_string (compressor.getCurrentGain())
             + ", make-up " + std::to_string (compressor.getWetGain());
    }

    float peakOf (const juce::AudioBuffer<float>& b)
    {
        float peak = 0.0f;

        for (int ch = 0; ch < b.getNumChannels(); ++ch)
            for (int i = 0; i < b.getNumSamples(); ++i)
                peak = std::isnan (peak) ? peak : std::fmax (peak, std::abs (b.getSample (ch, i)));

        return peak;
    }

    int countSubnormals (const juce::AudioBuffer<float>& b)
    {
        int count = 0;

        for (int ch = 0; ch < b.getNumChannels(); ++ch)
            for (int i = 0; i < b.getNumSamples(); ++i)
                count += std::fpclassify (b.getSample (ch, i)) == FP_SUBNORMAL ? 1 : 0;

        return count;
    }
} // namespace

//==============================================================================
// Extreme but finite input through every stage configuration.
namespace
{
    struct StageConfig
    {
        const char* name;
        bool everyParameterAtTop;
        std::vector<Setting> settings;

        /** The limit for the full-scale signals, from the largest peak measured over every
            signal, rate, block size and oversampling setting here, with headroom. */
        float loudBound;

        bool everySectionRuns;  // equaliser on, not bypassed, all nine sections switched in
    };

    const std::vector<Setting> fastDeepCompressor { { "compOn", 1.0f }, { "compThreshold", 0.0f }, { "compRatio", 1.0f },
                                                    { "compAttack", 0.0f } };

    std::vector<Setting> join (std::vector<Setting> a, const std::vector<Setting>& b)
    {
        a.insert (a.end(), b.begin(), b.end());
        return a;
    }

    const std::vector<Setting> equaliserGainsAtTop { { "LowGain", 1.0f }, { "LowMidGain", 1.0f }, { "MidGain", 1.0f },
                                                     { "HighMidGain", 1.0f }, { "HighGain", 1.0f }, { "Outgain", 1.0f } };

    // The bounds, about ten times the largest peak measured over every signal, rate, block
    // size and oversampling setting here. At unity gains a square's edges come out of the
    // phase allpass as spikes of up to 2.4. With every gain at its top the input gain and the
    // equaliser's output factor raise a full-scale input to about 63 before the colouring,
    // whose fifth-order term then makes it some 2e4, and the bands and the output gain add
    // their boost: full-scale noise peaks near 3e6. Large, but it must stay finite.
    constexpr float unityBound = 8.0f;
    constexpr float equaliserTopBound = 500.0f;     // measured 51
    constexpr float everyGainTopBound = 3.0e7f;     // measured 2.9e6

    const std::vector<StageConfig> stageConfigs {
        { "Defaults", false, {}, unityBound, true },
        { "EveryStageOff", false, { { "eqOn", 0.0f } }, unityBound, false },
        { "Gate", false, { { "gateOn", 1.0f } }, unityBound, true },
        { "Compressor", false, fastDeepCompressor, unityBound, true },
        { "CompressorBeforeEqualiser", false, join (fastDeepCompressor, { { "compBeforeEq", 1.0f } }), unityBound, true },
        { "EqualiserGainsAtTop", false, equaliserGainsAtTop, equaliserTopBound, true },
        { "InputGainAtTopEveryStageOn", false, join (fastDeepCompressor, { { "inputGain", 1.0f }, { "gateOn", 1.0f } }), everyGainTopBound, true },
        { "EveryGainAtTop", false, join (equaliserGainsAtTop, { { "inputGain", 1.0f }, { "outputGain", 1.0f } }), everyGainTopBound, true },
        { "EveryParameterAtTop", true, {}, everyGainTopBound, false },
        { "EveryParameterAtTopEqualiserNotBypassed", true, { { "Bypass", 0.0f } }, everyGainTopBound, true },
    };

    // Silence and subnormal input leave only the anti-denormal offset (1e-10) times the
    // gains: -120 dBFS is far above that and far below anything audible.
    constexpr float quietBound = 1.0e-6f;

    using ExtremeCase = std::tuple<int, double, int, bool>;   // configuration, rate, block size, oversampling

    class StageConfigurations : public ::testing::TestWithParam<ExtremeCase>
    {
    };

    std::string extremeCaseName (const ::testing::TestParamInfo<ExtremeCase>& info)
    {
        const auto& [config, rate, block, oversampling] = info.param;
        return std::string (stageConfigs[(size_t) config].name) + "At" + std::to_string ((int) rate) + "HzBlock"
             + std::to_string (block) + (oversampling ? "Oversampled" : "");
    }

    bool sectionStateIsZero (const std::array<double, 4>& s)
    {
        return s[0] == 0.0 && s[1] == 0.0 && s[2] == 0.0 && s[3] == 0.0;
    }
} // namespace

TEST_P (StageConfigurations, OutputAndMetersStayFiniteAndBounded)
{
    const auto& [configIndex, rate, blockSize, oversampling] = GetParam();
    const auto& config = stageConfigs[(size_t) configIndex];
    constexpr int totalSamples = 8192;

    for (const auto& signal : signalCases)
    {
        SCOPED_TRACE (signal.name);

        auto p = makeProcessor (2, rate, blockSize, oversampling);

        if (config.everyParameterAtTop)
            setEveryParameterToItsTop (*p);

        apply (*p, config.settings);

        juce::AudioBuffer<float> input (2, blockSize), output (2, blockSize);

        for (int start = 0; start < totalSamples; start += blockSize)
        {
            fillSignal (input, signal.signal, rate, start);
            output.makeCopyOf (input, true);
            process (*p, output);

            const auto peak = peakOf (output);
            const auto bound = signal.loud ? config.loudBound : quietBound;

            ASSERT_TRUE (isFiniteAndBounded (output, bound)) << "sample " << start << ": peak " << peak << ", bound " << bound;
            ASSERT_TRUE (metersAreFinite (*p)) << "sample " << start << ": " << meterText (*p);

            if (signal.signal == Signal::denormals)
            {
                // With every stage off, no oversampling and both gains at unity, nothing
                // computes the even samples of a block (the offset goes to the odd ones).
                const bool copiesEvenSamples = ! oversampling && ! p->isEqEnabled() && ! p->isGateEnabled() && ! p->isCompEnabled();

                // The flush-to-zero mode of the block leaves no subnormal result; only a
                // sample that no stage touches can come back as one.
                if (copiesEvenSamples)
                {
                    for (int ch = 0; ch < 2; ++ch)
                        for (int i = 0; i < blockSize; i += 2)
                            ASSERT_EQ (std::memcmp (input.getReadPointer (ch, i), output.getReadPointer (ch, i), sizeof (float)), 0)
                                << "channel " << ch << " sample " << start + i;
                }
                else
                {
                    ASSERT_EQ (countSubnormals (output), 0) << "sample " << start;
                }
            }

            // The reset of non-finite state must never fire on finite input, however large:
            // it would zero the memory of every section it cleared. A periodic or noisy
            // signal keeps every section's memory away from exactly zero.
            if (signal.loud && signal.periodic)
            {
                for (int ch = 0; ch < 2; ++ch)
                {
                    for (int section = 0; section < EqDesign::numSections && config.everySectionRuns; ++section)
                    {
                        ASSERT_FALSE (sectionStateIsZero (p->getEqEngine().getSignalPath().getSectionState (ch, section)))
                            << "channel " << ch << " section " << section << " at sample " << start;
                    }

                    ASSERT_TRUE (! oversampling || ! (p->getUpsampler (ch).getState() == HalfBandFilter::State {})) << "channel " << ch;
                    ASSERT_TRUE (! oversampling || ! (p->getDownsampler (ch).getState() == HalfBandFilter::State {})) << "channel " << ch;
                }

                ASSERT_TRUE (! p->isCompEnabled() || p->getCompressorEngine().getEnvelope() > 0.0f) << "sample " << start;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P (ExtremeSignals, StageConfigurations,
                          ::testing::Combine (::testing::Range (0, (int) stageConfigs.size()),
                                              ::testing::Values (8000.0, 44100.0, 192000.0),
                                              ::testing::Values (1, 37, 512),
                                              ::testing::Bool()),
                          extremeCaseName);

//==============================================================================
// One non-number or infinity, on either channel, through each stage alone and all of them.
namespace
{
    enum class Bad { quietNaN, plusInfinity, minusInfinity };
    enum class Layout { mono, stereoLeft, stereoRight };

    struct StageSet
    {
        const char* name;
        std::vector<Setting> settings;
        bool gate;
    };

    // The compressor threshold at -32 dB: the music is compressed all the time.
    const std::vector<StageSet> stageSets {
        { "NoStage", { { "eqOn", 0.0f } }, false },
        { "Equaliser", {}, false },
        { "Gate", { { "eqOn", 0.0f }, { "gateOn", 1.0f } }, true },
        { "Compressor", { { "eqOn", 0.0f }, { "compOn", 1.0f }, { "compThreshold", 0.2f } }, false },
        { "EveryStage", { { "gateOn", 1.0f }, { "compOn", 1.0f }, { "compThreshold", 0.2f } }, true },
        { "EveryStageCompressorFirst", { { "gateOn", 1.0f }, { "compOn", 1.0f }, { "compThreshold", 0.2f }, { "compBeforeEq", 1.0f } }, true },
    };

    using BadCase = std::tuple<Bad, Layout, int, bool>;   // value, where, stage set, oversampling

    class BadSample : public ::testing::TestWithParam<BadCase>
    {
    protected:
        float badValue() const
        {
            switch (std::get<0> (GetParam()))
            {
                case Bad::quietNaN:    return notANumber;
                case Bad::plusInfinity:  return infinity;
                case Bad::minusInfinity: return -infinity;
            }

            return 0.0f;
        }

        int numChannels() const  { return std::get<1> (GetParam()) == Layout::mono ? 1 : 2; }
        int badChannel() const   { return std::get<1> (GetParam()) == Layout::stereoRight ? 1 : 0; }
        const StageSet& stages() const { return stageSets[(size_t) std::get<2> (GetParam())]; }

        std::unique_ptr<VeloraAudioProcessor> makeStaged (int blockSize) const
        {
            auto p = makeProcessor (numChannels(), 48000.0, blockSize, std::get<3> (GetParam()));
            apply (*p, stages().settings);
            return p;
        }
    };

    const char* nameOf (Bad bad)
    {
        const char* const names[] = { "NaN", "PlusInfinity", "MinusInfinity" };
        return names[(int) bad];
    }

    const char* nameOf (Layout layout)
    {
        const char* const names[] = { "Mono", "StereoLeft", "StereoRight" };
        return names[(int) layout];
    }

    void PrintTo (Bad bad, std::ostream* os)        { *os << nameOf (bad); }
    void PrintTo (Layout layout, std::ostream* os)  { *os << nameOf (layout); }

    std::string badCaseName (const ::testing::TestParamInfo<BadCase>& info)
    {
        const auto& [bad, layout, stageSet, oversampling] = info.param;
        return std::string (nameOf (bad)) + nameOf (layout) + stageSets[(size_t) stageSet].name + (oversampling ? "Oversampled" : "");
    }
} // namespace

TEST_P (BadSample, LeavesNoTraceOnceItsBlockIsOver)
{
    // A block of one sample gets no anti-denormal offset, so apart from the bad value every
    // stage sees exact zeros: whatever the value poisoned is reset to its start, and the rest
    // is still at its start. The equaliser's colouring draws go on from where they were.
    constexpr int blockSize = 256;
    auto used = makeStaged (blockSize);

    juce::AudioBuffer<float> bad (numChannels(), 1);
    bad.clear();
    bad.setSample (badChannel(), 0, badValue());
    process (*used, bad);

    auto fresh = makeStaged (blockSize);
    fresh->setRandomSeed (used->getEqEngine().getRandomState());

    // An infinity is a loud sample to the gate, which then opens by one step as it would for
    // any; a non-number never moves it. That step is the one difference allowed.
    const bool gateMoved = used->getGateGain() != 0.0f;

    EXPECT_TRUE (! gateMoved || (stages().gate && std::isinf (badValue()))) << "gate gain " << used->getGateGain();

    juce::AudioBuffer<float> a (numChannels(), blockSize), b (numChannels(), blockSize);

    for (int block = 0; block < 8; ++block)
    {
        fillMusic (a, block * blockSize);
        b.makeCopyOf (a);
        process (*used, a);
        process (*fresh, b);

        ASSERT_TRUE (isFiniteAndBounded (a, 2.0f)) << "block " << block << " peak " << peakOf (a);

        ASSERT_TRUE (gateMoved || bitIdentical (a, b)) << "block " << block;
    }

    if (! gateMoved)
    {
        EXPECT_EQ (used->getGateGain(), fresh->getGateGain());
        EXPECT_EQ (used->getCompressorEngine().getEnvelope(), fresh->getCompressorEngine().getEnvelope());
        EXPECT_EQ (used->getCompressorEngine().getCurrentGain(), fresh->getCompressorEngine().getCurrentGain());
    }
}

TEST_P (BadSample, IsGoneByTheNextBlockInTheMiddleOfMusic)
{
    // In running music the stages the value poisoned start again and the others carry on:
    // from the next block on the output is finite, the meters are numbers again, and after a
    // few blocks the channel is as loud as one that never saw the value.
    constexpr int blockSize = 512;
    auto used = makeStaged (blockSize);
    auto clean = makeStaged (blockSize);

    juce::AudioBuffer<float> a (numChannels(), blockSize), b (numChannels(), blockSize);
    constexpr int badBlock = 4;
    constexpr int numBlocks = 24;

    for (int block = 0; block < numBlocks; ++block)
    {
        fillMusic (a, block * blockSize);
        b.makeCopyOf (a);

        if (block == badBlock)
            a.setSample (badChannel(), 301, badValue());

        process (*used, a);
        process (*clean, b);

        if (block > badBlock)
        {
            ASSERT_TRUE (isFiniteAndBounded (a, 2.0f)) << "block " << block << " peak " << peakOf (a);
            ASSERT_TRUE (metersAreFinite (*used)) << "block " << block << ": " << meterText (*used);
        }
    }

    for (int ch = 0; ch < numChannels(); ++ch)
    {
        const auto level = a.getRMSLevel (ch, 0, blockSize), expected = b.getRMSLevel (ch, 0, blockSize);
        EXPECT_GT (expected, 0.05f) << "channel " << ch;
        EXPECT_NEAR (20.0f * std::log10 (level / expected), 0.0f, 0.5f) << "channel " << ch;
    }
}

INSTANTIATE_TEST_SUITE_P (ExtremeValues, BadSample,
                          ::testing::Combine (::testing::Values (Bad::quietNaN, Bad::plusInfinity, Bad::minusInfinity),
                                              ::testing::Values (Layout::mono, Layout::stereoLeft, Layout::stereoRight),
                                              ::testing::Range (0, (int) stageSets.size()),
                                              ::testing::Bool()),
                          badCaseName);

//==============================================================================
// What the editor makes of meter values that are not ordinary numbers. A slider clamps a
// value outside its range but passes a NaN on, and the frame choice turns the slider's
// proportion into an int: there a NaN or an out-of-range value would be undefined.
namespace
{
    const float extremes[] = { notANumber, infinity, -infinity, std::numeric_limits<float>::max(),
                               -std::numeric_limits<float>::max(), 1.0e30f, -1.0f, 2.0f, 0.0f,
                               std::numeric_limits<float>::denorm_min() };

    struct StripSize
    {
        FrameStrip::Kind kind;
        int width, height, frames;
    };

    const StripSize strips[] = {
        { FrameStrip::Kind::vuNeedle, 162, 85 * 100, 100 },
        { FrameStrip::Kind::displayGrid, 15 * 13, 120, 13 },
        { FrameStrip::Kind::meterColumn, 14, 104 * 7, 7 },
        { FrameStrip::Kind::knobGrey, 60, 60 * 101, 101 },
        { FrameStrip::Kind::knobRed, 60, 60 * 101, 101 },
        { FrameStrip::Kind::knobBlack, 60, 60 * 101, 101 },
        { FrameStrip::Kind::knobTeal, 60, 60 * 101, 101 },
    };

    /** The proportion a meter slider (range 0..1, as in the editor) draws for a value. */
    float proportionShown (double value)
    {
        juce::Slider meter (juce::Slider::RotaryVerticalDrag, juce::Slider::NoTextBox);
        meter.setRange (0.0, 1.0, 0.0);
        meter.setValue (value, juce::dontSendNotification);
        return (float) meter.valueToProportionOfLength (meter.getValue());
    }
} // namespace

TEST (ExtremeMeterReadings, EveryReadingGivesAFrameOnItsStrip)
{
    const auto& needle = strips[0];
    const auto& grid = strips[1];
    const auto& column = strips[2];

    struct Reading
    {
        const char* name;
        double value;
        const StripSize& strip;
    };

    for (const auto v : extremes)
    {
        SCOPED_TRACE (v);

        const Reading readings[] = {
            { "output column now", MeterValues::outputColumn ({ v, 1000 }, 1000), grid },
            { "output column later", MeterValues::outputColumn ({ v, 1000 }, 3000), grid },
            { "gate column", MeterValues::gateColumn (true, v), column },
            { "needle for the gain", MeterValues::needleTarget (true, v, 1.0f), needle },
            { "needle for the make-up", MeterValues::needleTarget (true, 0.5f, v), needle },
            { "needle step", MeterValues::needleStep (0.5, MeterValues::needleTarget (true, v, v)), needle },
        };

        for (const auto& reading : readings)
        {
            // No reading is a NaN, which the slider could not clamp.
            EXPECT_FALSE (std::isnan (reading.value)) << reading.name;

            const auto p = proportionShown (reading.value);
            const auto frame = FrameStrip::frameIndex (reading.strip.kind, reading.strip.width, reading.strip.height, p);
            EXPECT_TRUE (p >= 0.0f && p <= 1.0f) << reading.name << ": " << p;
            EXPECT_TRUE (frame >= 0 && frame < reading.strip.frames) << reading.name << ": " << frame;
        }
    }
}

TEST (ExtremeFrames, AProportionOffTheTravelStaysOnTheStripAndANonNumberRests)
{
    // A knob's proportion comes from its parameter, which a host may set to anything a float
    // holds; the meters' from the sliders above. NaN shows the frame of proportion 0, a value
    // beyond either end the frame of that end.
    for (const auto& strip : strips)
    {
        const auto frameAt = [&] (float p) { return FrameStrip::frameIndex (strip.kind, strip.width, strip.height, p); };
        const auto rest = frameAt (0.0f), top = frameAt (1.0f);

        for (const auto p : extremes)
        {
            const auto frame = frameAt (p);
            const auto expected = std::isnan (p) || p <= 0.0f ? rest : p >= 1.0f ? top : frame;
            EXPECT_EQ (frame, expected) << "kind " << (int) strip.kind << " proportion " << p;

            const auto area = FrameStrip::sourceArea (strip.kind, strip.width, strip.height, p, { 0, 0, 60, 60 });
            EXPECT_TRUE (juce::Rectangle<int> (0, 0, strip.width, strip.height).contains (area.withSize (1, 1)))
                << "kind " << (int) strip.kind << " proportion " << p << " area " << area.toString();
        }
    }
}

TEST (ExtremeFrames, AFaderAtANonNumberDrawsItsCapAtTheBottom)
{
    // The output fader's parameter can be a NaN from the host too; the thumb position JUCE
    // computes from it is then a NaN.
    VeloraLookAndFeel lf;
    juce::Slider fader (juce::Slider::LinearVertical, juce::Slider::NoTextBox);
    fader.setLookAndFeel (&lf);
    fader.setRange (0.0, 1.0, 0.0);
    fader.setSize (19, 138);

    const auto draw = [&] (float position)
    {
        juce::Image image (juce::Image::ARGB, 19, 138, true);
        juce::Graphics g (image);
        lf.drawLinearSliderThumb (g, 0, 0, 19, 138, position, 0.0f, 0.0f, juce::Slider::LinearVertical, fader);
        return image;
    };

    const auto atNaN = draw (notANumber);
    const auto atBottom = draw (fader.getPositionOfValue (fader.getMinimum()));
    fader.setLookAndFeel (nullptr);

    bool same = true, drawn = false;

    for (int y = 0; y < 138; ++y)
        for (int x = 0; x < 19; ++x)
        {
            same = same && atNaN.getPixelAt (x, y) == atBottom.getPixelAt (x, y);
            drawn = drawn || atBottom.getPixelAt (x, y).getAlpha() != 0;
        }

    EXPECT_TRUE (drawn);
    EXPECT_TRUE (same);
}
