// Runs a WAV file, or a generated demo signal, through the channel at its defaults.

#include "processor/VeloraAudioProcessor.h"

#include <juce_audio_formats/juce_audio_formats.h>

#include <iostream>

namespace
{
    constexpr double demoSampleRate = 48000.0;
    constexpr int blockSize = 512;

    /** Three seconds of stereo material: a slow sweep on the left, chords with noise on the right. */
    juce::AudioBuffer<float> makeDemoSignal()
    {
        const int numSamples = (int) (3.0 * demoSampleRate);
        juce::AudioBuffer<float> signal (2, numSamples);
        juce::Random noise (1234);
        double sweepPhase = 0.0;

        for (int i = 0; i < numSamples; ++i)
        {
            const double t = i / demoSampleRate;
            const double sweepFrequency = 40.0 * std::pow (300.0, t / 3.0);
            sweepPhase += juce::MathConstants<double>::twoPi * sweepFrequency / demoSampleRate;

            const double envelope = 0.5 * (1.0 - std::cos (juce::MathConstants<double>::twoPi * std::fmod (t, 0.75) / 0.75));
            const double chord = std::sin (juce::MathConstants<double>::twoPi * 110.0 * t)
                               + 0.5 * std::sin (juce::MathConstants<double>::twoPi * 220.0 * 1.2599 * t)
                               + 0.25 * std::sin (juce::MathConstants<double>::twoPi * 330.0 * 1.4983 * t);

            signal.setSample (0, i, (float) (0.5 * std::sin (sweepPhase)));
            signal.setSample (1, i, (float) (0.25 * envelope * chord + 0.05 * (noise.nextFloat() * 2.0f - 1.0f)));
        }

        return signal;
    }

    bool readWav (const juce::File& file, juce::AudioBuffer<float>& signal, double& sampleRate)
    {
        juce::WavAudioFormat wav;
        std::unique_ptr<juce::AudioFormatReader> reader (wav.createReaderFor (file.createInputStream().release(), true));

        if (reader == nullptr || reader->numChannels < 1 || reader->lengthInSamples > std::numeric_limits<int>::max())
            return false;

        signal.setSize (juce::jmin (2, (int) reader->numChannels), (int) reader->lengthInSamples);
        reader->read (&signal, 0, signal.getNumSamples(), 0, true, signal.getNumChannels() > 1);
        sampleRate = reader->sampleRate;
        return true;
    }

    void render (juce::AudioBuffer<float>& signal, double sampleRate)
    {
        VeloraAudioProcessor processor;
        const int numChannels = signal.getNumChannels();

        processor.setPlayConfigDetails (numChannels, numChannels, sampleRate, blockSize);
        processor.prepareToPlay (sampleRate, blockSize);

        juce::MidiBuffer midi;

        for (int start = 0; start < signal.getNumSamples(); start += blockSize)
        {
            const int length = juce::jmin (blockSize, signal.getNumSamples() - start);
            juce::AudioBuffer<float> block (signal.getArrayOfWritePointers(), numChannels, start, length);
            processor.processBlock (block, midi);
        }

        processor.releaseResources();
    }

    bool writeWav (const juce::File& file, const juce::AudioBuffer<float>& signal, double sampleRate)
    {
        file.deleteFile();
        auto stream = file.createOutputStream();

        if (stream == nullptr)
            return false;

        juce::WavAudioFormat wav;
        std::unique_ptr<juce::AudioFormatWriter> writer (wav.createWriterFor (stream.get(), sampleRate,
                                                                              (unsigned int) signal.getNumChannels(),
                                                                              24, {}, 0));
        if (writer == nullptr)
            return false;

        stream.release(); // the writer owns it now
        return writer->writeFromAudioSampleBuffer (signal, 0, signal.getNumSamples());
    }
}

int main (int argc, char* argv[])
{
    juce::ScopedJuceInitialiser_GUI juce;

    juce::String inputPath, outputPath = "velora-demo.wav";

    for (int i = 1; i < argc; ++i)
    {
        const juce::String arg (argv[i]);

        if ((arg == "-o" || arg == "--output") && i + 1 < argc)
            outputPath = argv[++i];
        else if (arg == "-h" || arg == "--help")
        {
            std::cout << "usage: velora-render [INPUT.wav] [-o OUTPUT.wav]\n"
                         "Renders INPUT (or a generated demo signal) through Velora at its defaults.\n";
            return 0;
        }
        else if (inputPath.isEmpty())
            inputPath = arg;
        else
        {
            std::cerr << "velora-render: unexpected argument '" << arg << "'\n";
            return 2;
        }
    }

    juce::AudioBuffer<float> signal;
    double sampleRate = demoSampleRate;

    if (inputPath.isEmpty())
    {
        signal = makeDemoSignal();
    }
    else
    {
        const auto inputFile = juce::File::getCurrentWorkingDirectory().getChildFile (inputPath);

        if (! inputFile.existsAsFile() || ! readWav (inputFile, signal, sampleRate))
        {
            std::cerr << "velora-render: cannot read WAV file '" << inputPath << "'\n";
            return 1;
        }
    }

    render (signal, sampleRate);

    const auto outputFile = juce::File::getCurrentWorkingDirectory().getChildFile (outputPath);

    if (! writeWav (outputFile, signal, sampleRate))
    {
        std::cerr << "velora-render: cannot write '" << outputFile.getFullPathName() << "'\n";
        return 1;
    }

    std::cout << "Rendered " << signal.getNumSamples() << " samples at " << sampleRate << " Hz to "
              << outputFile.getFullPathName() << "\n";
    return 0;
}
