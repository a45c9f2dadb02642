// The report's measurements: levels over many blocks, and the gain reduction's direction.

#include "RenderReport.h"

#include <gtest/gtest.h>

TEST (RenderReport, MeterAccumulatesPeakAndRmsAcrossBlocks)
{
    // A full-cycle sine of amplitude 0.5 on channel 1 and silence on channel 2, fed in
    // blocks of uneven length.
    const int period = 480, numSamples = 100 * period;
    juce::AudioBuffer<float> signal (2, numSamples);
    signal.clear();

    for (int i = 0; i < numSamples; ++i)
        signal.setSample (0, i, 0.5f * (float) std::sin (2.0 * 3.141592653589793 * i / period));

    SignalMeter meter;
    meter.reset (2);

    for (int start = 0; start < numSamples; start += 1000)
    {
        const int length = juce::jmin (1000, numSamples - start);
        meter.add (juce::AudioBuffer<float> (signal.getArrayOfWritePointers(), 2, start, length));
    }

    EXPECT_NEAR (meter.getPeak (0), 0.5f, 1e-6f);
    EXPECT_NEAR (meter.getRms (0), 0.5 / std::sqrt (2.0), 1e-6);
    EXPECT_EQ (meter.getPeak (1), 0.0f);
    EXPECT_EQ (meter.getRms (1), 0.0);

    RenderReport report;
    report.input = meter;
    report.output = meter;
    report.sampleRate = 48000.0;
    report.numSamples = numSamples;
    report.outputFile = juce::File ("/tmp/out.wav");
    const auto text = report.format();

    EXPECT_TRUE (text.contains ("input  channel 1  peak   -6.02 dBFS  RMS   -9.03 dBFS")) << text;
    EXPECT_TRUE (text.contains ("output channel 2  peak    -inf dBFS  RMS    -inf dBFS")) << text;
    EXPECT_TRUE (text.contains ("output: /tmp/out.wav")) << text;
}

TEST (RenderReport, GainReductionIsTheRestingGainOverTheCurrentOne)
{
    EXPECT_NEAR (RenderReport::gainReductionDb (0.5f, 1.0f), 6.0206, 1e-4);
    EXPECT_NEAR (RenderReport::gainReductionDb (1.0f, 2.0f), 6.0206, 1e-4);   // against the resting gain, make-up included
    EXPECT_EQ (RenderReport::gainReductionDb (1.0f, 1.0f), 0.0);
    EXPECT_EQ (RenderReport::gainReductionDb (2.0f, 1.0f), 0.0);
    EXPECT_EQ (RenderReport::gainReductionDb (0.0f, 1.0f), 0.0);
    EXPECT_EQ (RenderReport::gainReductionDb (1.0f, 0.0f), 0.0);
}
